#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "text_files.h"

namespace tama05 {
namespace {

struct CommandRun {
    int status;
    std::string out;
    RecordingMessageSink messages;
};

CommandRun RunSkin(std::vector<std::string> args) {
    CommandRun run;
    std::ostringstream out;
    std::ostringstream err;
    args.insert(args.begin(), "skin");
    VerbContext context{out, run.messages};
    run.status = RunCommandLine(args, context, err);
    run.out = out.str();
    return run;
}

TEST(SkinCommand, JsonHasEveryKeyTheColoursAndTheScanLists) {
    test::TempFolder folder;
    test::WriteFile(folder.path() / "skin.txt",
                    "VERSION=3\r\nCLOSE_L=\r\nCLOSE_T=7\r\nCLOSE_W=10\r\nCLOSE_H=12\r\n"
                    "MINIMIZE_L=272\r\nMINIMIZE_T=3\r\nMINIMIZE_W=10\r\nMINIMIZE_H=12\r\n"
                    "MENU0_L=9\r\nMENU0_T=5\r\nMENU0_W=35\r\nMENU0_H=12\r\n"
                    "NEW_L=9\r\nNEW_T=5\r\nNEW_W=35\r\nNEW_H=12\r\n"
                    "OPEN_L=9\r\nOPEN_T=5\r\nOPEN_W=35\r\nOPEN_H=12\r\n"
                    "SAVE_L=9\r\nSAVE_T=5\r\nSAVE_W=35\r\nSAVE_H=12\r\n"
                    "ASSISTANT_DISP_L=9\r\nASSISTANT_DISP_T=5\r\nASSISTANT_DISP_W=35\r\n"
                    "ASSISTANT_DISP_H=12\r\nPOINT_DISP_L=9\r\nPOINT_DISP_T=5\r\n"
                    "POINT_DISP_W=35\r\nPOINT_DISP_H=12\r\nPOINT_DISP_X=0\r\nPOINT_DISP_Y=0\r\n"
                    "POINT_DISP_FONT_SIZE=32\r\nPOINT_DISP_COLOR_R=300\r\n");
    const CommandRun run = RunSkin({folder.path().string(), "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.messages.messages.empty());
    const std::string& out = run.out;
    EXPECT_EQ(out.rfind("{\"values\":{\"VERSION\":3,\"CLOSE_L\":285,\"CLOSE_T\":7,", 0), 0u) << out;
    EXPECT_NE(out.find("\"POINT_DISP_COLOR_R\":300,"), std::string::npos);
    EXPECT_NE(out.find("\"WAIT_METER_COLOR_B\":0}"), std::string::npos);
    // 44 red + 255 × 256 green + 255 × 65536 blue.
    EXPECT_NE(out.find("\"colours\":{\"POINT_DISP_COLOR\":" +
                       std::to_string(44 + 255 * 256 + 255 * 65536) + ","),
              std::string::npos);
    EXPECT_NE(out.find("\"SUB_CTRL_BG_COLOR\":255,\"WAIT_METER_COLOR\":255}"), std::string::npos);
    EXPECT_NE(out.find("\"taken\":[\"VERSION\",\"CLOSE_T\","), std::string::npos);
    EXPECT_NE(out.find("\"failed\":[\"CLOSE_L\",\"POINT_DISP_COLOR_G\","), std::string::npos);
    EXPECT_EQ(out.back(), '\n');
}

TEST(SkinCommand, VersionIsNullUntilTaken) {
    test::TempFolder folder;
    test::WriteFile(folder.path() / "skin.txt", "CLOSE_L=1\n");
    const CommandRun run = RunSkin({"--json", folder.path().string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"VERSION\":null"), std::string::npos);
}

TEST(SkinCommand, FoldersAreScannedInTurnFromTheDefaults) {
    test::TempFolder first;
    test::TempFolder second;
    test::WriteFile(first.path() / "skin.txt", "VERSION=1\nCLOSE_L=50\nCLOSE_T=60\n");
    test::WriteFile(second.path() / "skin.txt", "VERSION=2\nCLOSE_L=70\n");
    const CommandRun run = RunSkin({first.path().string(), second.path().string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("VERSION=2\nCLOSE_L=70\nCLOSE_T=60\nCLOSE_W=10\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("taken: VERSION CLOSE_L\nfailed: CLOSE_T CLOSE_W"), std::string::npos);
}

TEST(SkinCommand, FolderWithoutSkinTextFails) {
    test::TempFolder folder;
    const CommandRun run = RunSkin({folder.path().string()});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.messages.messages.size(), 1u);
    EXPECT_EQ(run.messages.messages[0].text, "「skin.txt」が見つかりません。");
    EXPECT_EQ(run.messages.messages[0].caption, "エラー(ToT)");
    EXPECT_TRUE(run.out.empty());
}

TEST(SkinCommand, UsageErrorsExitWith2) {
    EXPECT_EQ(RunSkin({}).status, 2);
    EXPECT_EQ(RunSkin({"--json"}).status, 2);
    EXPECT_EQ(RunSkin({"--yaml", "x"}).status, 2);
}

TEST(SkinCommand, ProgramPrintsCaptionAndTextOnStderr) {
    const std::filesystem::path program = std::filesystem::path(TAMA05_PROGRAM_DIR) / "tama05-cli";
    if (!std::filesystem::exists(program)) {
        GTEST_SKIP() << "tama05-cli not built";
    }
    test::TempFolder folder;
    std::string command = "'";
    command.append(program.string()).append("' skin '").append(folder.path().string());
    command.append("' 2>'").append((folder.path() / "err").string()).append("'");
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(test::ReadFile(folder.path() / "err"),
              "エラー(ToT): 「skin.txt」が見つかりません。\n");
    std::string usageCommand = "'";
    usageCommand.append(program.string()).append("' skin 2>/dev/null");
    const int usage = std::system(usageCommand.c_str());
    EXPECT_EQ(WEXITSTATUS(usage), 2);
}

}  // namespace
}  // namespace tama05
