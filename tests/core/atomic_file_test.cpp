#include "core/atomic_file.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "picture_writers.h"

namespace tama05 {
namespace {

using test::Bytes;

TEST(AtomicFileTest, WritesAndReplacesWholeFiles) {
    test::ScratchFolder folder;
    const auto target = folder.path() / "out.bin";
    ASSERT_EQ(WriteFileAtomically(target, Bytes{1, 2, 3, 4}), 0);
    EXPECT_EQ(folder.Read("out.bin"), (Bytes{1, 2, 3, 4}));
    ASSERT_EQ(WriteFileAtomically(target, Bytes{9}), 0);
    EXPECT_EQ(folder.Read("out.bin"), Bytes{9});
    ASSERT_EQ(WriteFileAtomically(target, Bytes{}), 0);
    EXPECT_TRUE(folder.Read("out.bin").empty());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.bin"});
}

TEST(AtomicFileTest, FailuresLeaveNothingBehind) {
    test::ScratchFolder folder;
    EXPECT_EQ(WriteFileAtomically(folder.path() / "missing" / "x.bin", Bytes{1}), -1);
    // A folder in the way cannot be replaced by a file: the temporary file is removed.
    std::filesystem::create_directory(folder.path() / "taken");
    std::filesystem::create_directory(folder.path() / "taken" / "inner");
    EXPECT_EQ(WriteFileAtomically(folder.path() / "taken", Bytes{1}), -3);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken"});
}

// A save removes the temporaries that killed saves left in its folder (their process is gone),
// and nothing else: not those of running processes, not names that only look alike.
TEST(AtomicFileTest, ASaveRemovesTheTemporariesOfGoneWritersFromItsFolder) {
    test::ScratchFolder folder;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);  // its id now names no process
    const std::string gone = std::to_string(child);
    const std::string alive = std::to_string(::getpid());
    std::vector<std::string> kept = {".a.tgr.tmp" + alive + "-7", ".a.tgr.tmp" + gone + "-x",
                                     "a.tgr.tmp" + gone + "-7", ".tmp" + gone + "-7",
                                     ".a.tgr.tmp" + gone + "-"};
    for (const std::string& name : kept) {
        folder.Write(name, Bytes{1});
    }
    folder.Write(".a.tgr.tmp" + gone + "-12345", Bytes{2});
    folder.Write(".other.png.tmp" + gone + "-9", Bytes{3});
    std::filesystem::create_directory(folder.path() / (".dir.tmp" + gone + "-1"));
    kept.push_back(".dir.tmp" + gone + "-1");

    ASSERT_EQ(WriteFileAtomically(folder.path() / "b.bin", Bytes{4}), 0);
    kept.push_back("b.bin");
    std::vector<std::string> entries = folder.Entries();
    std::sort(entries.begin(), entries.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(entries, kept);
}

}  // namespace
}  // namespace tama05
