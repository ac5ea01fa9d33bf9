// The wanted verb and the drop report's JSON, run through the real program.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "core/png_file.h"
#include "puzzle/puzzle.h"
#include "puzzle/puzzle_io.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

void PaintCell(Image& answer, int32_t c, uint8_t b, uint8_t g, uint8_t r, bool checks = false) {
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            uint8_t* p = answer.rowFromTop((c / 8) * 4 + y) + 3 * ((c % 8) * 4 + x);
            const bool white = (x + y) % 2 == 0;
            p[0] = checks ? (white ? 255 : 0) : b;
            p[1] = checks ? (white ? 255 : 0) : g;
            p[2] = checks ? (white ? 255 : 0) : r;
        }
    }
}

class WantedVerbTest : public ::testing::Test {
  protected:
    // A 32 × 16 grey answer in 4 × 4 cells: six red cells at score 10, three blue at 50, four
    // checkerboard cells at 40, the rest at 100; the stored score 77.
    void SetUp() override {
        Puzzle puzzle;
        puzzle.AnswerImage = test::SolidImage(32, 16, 128, 128, 128);
        puzzle.MosaicCanvas = test::SolidImage(32, 16, 0, 0, 0);
        puzzle.pieceWidth = 4;
        puzzle.pieceHeight = 4;
        puzzle.PieceScores.AllocateFilled(32, 100);
        for (int32_t c : {0, 1, 2, 9, 10, 17}) {
            PaintCell(puzzle.AnswerImage, c, 0, 0, 255);
            puzzle.PieceScores[static_cast<size_t>(c)] = 10;
        }
        for (int32_t c : {5, 14, 31}) {
            PaintCell(puzzle.AnswerImage, c, 255, 0, 0);
            puzzle.PieceScores[static_cast<size_t>(c)] = 50;
        }
        for (int32_t c : {20, 21, 28, 29}) {
            PaintCell(puzzle.AnswerImage, c, 0, 0, 0, true);
            puzzle.PieceScores[static_cast<size_t>(c)] = 40;
        }
        puzzle.PuzzleScore = 77;
        puzzle.state = PuzzleState::kReady;
        NullMessageSink quiet;
        ASSERT_EQ(SavePuzzle(puzzle, Path("a.tgr"), quiet), 0);
    }

    std::string Path(const std::string& name) const { return (folder.path() / name).string(); }

    int Run(const char* verb, std::vector<std::string> args, std::string& out) {
        args.insert(args.begin(), verb);
        const test::CliRun run = test::RunCli(args, folder.path());
        out = run.out;
        return run.status;
    }

    test::TempFolder folder;
};

TEST_F(WantedVerbTest, JsonContract) {
    std::string out;
    ASSERT_EQ(Run("wanted", {Path("a.tgr"), "--json", "--count", "2"}, out), 0);
    // Red: 6 cells × 90 points over 32 cells; blue: 3 × 50 over 32.
    EXPECT_EQ(out,
              "{\"wanted\":[{\"colour\":\"#ff0000\",\"cells\":6,\"gain\":16.875},"
              "{\"colour\":\"#0000ff\",\"cells\":3,\"gain\":4.6875}],\"score\":77}\n");

    ASSERT_EQ(Run("wanted", {Path("a.tgr")}, out), 0);
    EXPECT_EQ(out.rfind("#ff0000", 0), 0u) << out;
    EXPECT_NE(out.find("score 77\n"), std::string::npos) << out;

    EXPECT_EQ(Run("wanted", {Path("a.tgr"), "--count", "0"}, out), 2);
    EXPECT_EQ(Run("wanted", {Path("a.tgr"), "--count", "65"}, out), 2);
    EXPECT_EQ(Run("wanted", {Path("a.tgr"), "--count"}, out), 2);
    EXPECT_EQ(Run("wanted", {Path("a.tgr"), "--frobnicate"}, out), 2);
    EXPECT_EQ(Run("wanted", {}, out), 2);
    EXPECT_EQ(Run("wanted", {Path("missing.tgr")}, out), 1);
}

TEST_F(WantedVerbTest, DropReportsEveryFile) {
    NullMessageSink quiet;
    ASSERT_EQ(WritePngFile(quiet, Path("red.png"), test::SolidImage(4, 4, 0, 0, 255), nullptr), 0);
    std::string out;
    ASSERT_EQ(Run("drop",
                  {Path("a.tgr"), Path("red.png"), Path("gone.png"), "--seed", "1", "-o",
                   Path("b.tgr"), "--json"},
                  out),
              0);
    EXPECT_EQ(out.rfind("{\"files\":2,\"processed\":1,\"skipped\":[", 0), 0u) << out;
    // The red photo wins the six red cells (10 → 100) and the four checkerboard cells, where
    // it is off by 127.5 a byte on average (40 → 50): 580 points over 32 cells.
    EXPECT_NE(
        out.find(",\"comment\":\"CommentScoreUp\",\"report\":[{\"path\":\"" + Path("red.png") +
                 "\",\"read\":true,\"message\":null,\"cells\":10,\"gain\":18.125},"
                 "{\"path\":\"" +
                 Path("gone.png") +
                 "\",\"read\":false,\"message\":\"ファイルを開けませんでした。\","
                 "\"cells\":0,\"gain\":0}]}\n"),
        std::string::npos)
        << out;
}

}  // namespace
}  // namespace tama05
