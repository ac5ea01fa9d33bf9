#include "skin/program_folder.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace tama05 {
namespace {

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
    std::filesystem::path folder;
    ASSERT_EQ(FindProgramFolder(folder), 0);
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::exists(folder / "tama05_skin_tests"));
    // Whatever the current directory is.
    EXPECT_NE(folder, std::filesystem::path("/"));
}

TEST(ProgramFolder, PuzzleArgumentDropsEveryDoubleQuote) {
    EXPECT_EQ(PuzzleArgument("\"/home/u/my puzzles/a.tgr\""), "/home/u/my puzzles/a.tgr");
    EXPECT_EQ(PuzzleArgument("/home/\"u\"/a\".tgr"), "/home/u/a.tgr");
    EXPECT_EQ(PuzzleArgument(""), "");
    EXPECT_EQ(PuzzleArgument("\"\""), "");
}

TEST(ProgramFolder, DefaultSkinFolderPrefersTheSkinSubfolder) {
    test::TempFolder program;
    EXPECT_EQ(DefaultSkinFolder(program.path()), program.path());
    std::filesystem::create_directory(program.path() / "skin");
    EXPECT_EQ(DefaultSkinFolder(program.path()), program.path() / "skin");
}

}  // namespace
}  // namespace tama05
