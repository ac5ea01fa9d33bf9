#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/command_line.h"
#include "core/message_sink.h"
#include "core/png_file.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using namespace std::chrono_literals;

TEST(ProgressLine, TextCountsRateAndTimeLeft) {
    EXPECT_EQ(ProgressLine::Format(0, 10, 0.0), "0/10 files");
    EXPECT_EQ(ProgressLine::Format(0, 10, 3.0), "0/10 files");
    EXPECT_EQ(ProgressLine::Format(5, 10, 2.0), "5/10 files  2.5 files/s  0:02 left");
    EXPECT_EQ(ProgressLine::Format(1, 7201, 1.0), "1/7201 files  1.0 files/s  2:00:00 left");
    EXPECT_EQ(ProgressLine::Format(3, 100, 10.0), "3/100 files  0.3 files/s  5:24 left");
    EXPECT_EQ(ProgressLine::Format(10, 10, 4.0), "10/10 files  2.5 files/s");
}

TEST(ProgressLine, RedrawsInPlaceAtMostTenTimesASecondAndEndsTheLine) {
    std::ostringstream terminal;
    const auto start = ProgressLine::Clock::time_point{} + 1h;
    {
        ProgressLine line(&terminal, start);
        line.Update(0, 4, start);
        line.Update(1, 4, start + 50ms);  // too soon: not drawn
        line.Update(2, 4, start + 1s);
        line.Update(4, 4, start + 1s + 10ms);  // the last file is always drawn
    }                                          // the destructor ends the line
    EXPECT_EQ(terminal.str(),
              "\r0/4 files\x1b[K"
              "\r2/4 files  2.0 files/s  0:01 left\x1b[K"
              "\r4/4 files  4.0 files/s\x1b[K\n");

    ProgressLine silent(nullptr);
    silent.Update(1, 2);
    silent.Finish();
}

// drop and new draw on the progress stream they are given, unless --quiet; a lone file
// is not worth a line.
TEST(ProgressLine, DropAndNewShowItUnlessQuiet) {
    test::TempFolder folder;
    NullMessageSink quiet;
    std::filesystem::create_directory(folder.path() / "pieces");
    const auto path = [&](const char* name) { return (folder.path() / name).string(); };
    ASSERT_EQ(WritePngFile(quiet, path("answer.png"), test::SolidImage(8, 8, 1, 2, 3), nullptr), 0);
    for (const char* name : {"pieces/a.png", "pieces/b.png"}) {
        ASSERT_EQ(WritePngFile(quiet, path(name), test::SolidImage(4, 4, 9, 9, 9), nullptr), 0);
    }
    const auto run = [&](std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream progress;
        std::ostringstream err;
        RecordingMessageSink messages;
        VerbContext context{out, messages, &progress};
        EXPECT_EQ(RunCommandLine(args, context, err), 0) << err.str();
        return progress.str();
    };
    const std::string made =
        run({"new", path("answer.png"), path("pieces"), "--piece", "4x4", "-o", path("a.tgr")});
    EXPECT_TRUE(made.starts_with("\r0/2 files")) << made;
    EXPECT_TRUE(made.ends_with("\n")) << made;
    EXPECT_NE(made.find("\r2/2 files"), std::string::npos) << made;

    const std::string dropped = run({"drop", path("a.tgr"), path("answer.png"),
                                     path("pieces/a.png"), path("pieces/b.png"), "--json"});
    EXPECT_NE(dropped.find("\r3/3 files"), std::string::npos) << dropped;
    EXPECT_EQ(run({"drop", path("a.tgr"), path("answer.png"), path("pieces/a.png"), "--quiet"}),
              "");
    EXPECT_EQ(run({"drop", path("a.tgr"), path("answer.png")}), "");
    EXPECT_EQ(run({"new", path("answer.png"), path("pieces"), "--piece", "4x4", "-o", path("b.tgr"),
                   "-q"}),
              "");
}

}  // namespace
}  // namespace tama05
