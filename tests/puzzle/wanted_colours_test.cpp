#include "puzzle/wanted_colours.h"

#include <gtest/gtest.h>

#include <vector>

#include "puzzle/cell_score.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

// Paints cell (m, n) of 4 × 4 pixels in one colour (blue, green, red), or in a black and white
// checkerboard.
void PaintCell(Image& answer, int32_t m, int32_t n, uint8_t b, uint8_t g, uint8_t r) {
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            uint8_t* p = answer.rowFromTop(m * 4 + y) + 3 * (n * 4 + x);
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
}

void PaintChecks(Image& answer, int32_t m, int32_t n) {
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            uint8_t* p = answer.rowFromTop(m * 4 + y) + 3 * (n * 4 + x);
            p[0] = p[1] = p[2] = (x + y) % 2 == 0 ? 255 : 0;
        }
    }
}

// An 8 × 4 grid of 4 × 4 cells over a grey answer whose missing colours are known: six red
// cells at score 10, three blue cells at 50, four checkerboard cells at 40, two green cells at
// 90 (good enough already) and grey everywhere else at 100.
struct KnownPuzzle {
    KnownPuzzle() : answer(test::SolidImage(32, 16, 128, 128, 128)), scores(32, 100) {
        for (int32_t c : {0, 1, 2, 9, 10, 17}) {
            PaintCell(answer, c / 8, c % 8, 0, 0, 255);
            scores[static_cast<size_t>(c)] = 10;
        }
        for (int32_t c : {5, 14, 31}) {
            PaintCell(answer, c / 8, c % 8, 255, 0, 0);
            scores[static_cast<size_t>(c)] = 50;
        }
        for (int32_t c : {20, 21, 28, 29}) {
            PaintChecks(answer, c / 8, c % 8);
            scores[static_cast<size_t>(c)] = 40;
        }
        for (int32_t c : {7, 24}) {
            PaintCell(answer, c / 8, c % 8, 0, 255, 0);
            scores[static_cast<size_t>(c)] = 90;
        }
    }
    Image answer;
    std::vector<int32_t> scores;
};

TEST(WantedColoursTest, GroupsTheMissingColoursAndRanksThemByWhatAPhotoWouldGain) {
    const KnownPuzzle puzzle;
    const std::vector<WantedColour> wanted = FindWantedColours(puzzle.answer, puzzle.scores, 4, 4);
    ASSERT_EQ(wanted.size(), 3u);

    // A red photo scores 100 in each red cell: 6 × 90 points.
    EXPECT_EQ(wanted[0].colour, 0x0000FFu);
    EXPECT_EQ(wanted[0].cells, (std::vector<int32_t>{0, 1, 2, 9, 10, 17}));
    EXPECT_EQ(wanted[0].points, 540);
    EXPECT_DOUBLE_EQ(wanted[0].gain, 540.0 / 32);

    // Blue: 3 × 50.
    EXPECT_EQ(wanted[1].colour, 0xFF0000u);
    EXPECT_EQ(wanted[1].cells, (std::vector<int32_t>{5, 14, 31}));
    EXPECT_EQ(wanted[1].points, 150);

    // The checkerboard's mean is grey 128 (127.5 rounded), and a grey photo is off by 127 or 128
    // in every byte: it scores no more than that distance allows over the stored 40.
    EXPECT_EQ(wanted[2].colour, 0x808080u);
    EXPECT_EQ(wanted[2].cells, (std::vector<int32_t>{20, 21, 28, 29}));
    const int grey = CellScore(int64_t{8 * 3 * 128 + 8 * 3 * 127}, 4, 4);
    EXPECT_EQ(wanted[2].points, 4 * (grey - 40));

    // Fewer asked for: the best ones; the same list every time.
    const auto best = FindWantedColours(puzzle.answer, puzzle.scores, 4, 4, 1);
    ASSERT_EQ(best.size(), 1u);
    EXPECT_EQ(best[0].cells, wanted[0].cells);
    const auto again = FindWantedColours(puzzle.answer, puzzle.scores, 4, 4);
    ASSERT_EQ(again.size(), wanted.size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].colour, wanted[i].colour);
        EXPECT_EQ(again[i].cells, wanted[i].cells);
    }
}

TEST(WantedColoursTest, NothingWantedOrNothingToGoOn) {
    KnownPuzzle puzzle;
    // Every cell at 80 or more: nothing is wanted.
    std::vector<int32_t> good(32, 80);
    EXPECT_TRUE(FindWantedColours(puzzle.answer, good, 4, 4).empty());
    // Scores that do not fit the grid, or a piece larger than the answer.
    EXPECT_TRUE(FindWantedColours(puzzle.answer, std::vector<int32_t>(31, 0), 4, 4).empty());
    EXPECT_TRUE(FindWantedColours(puzzle.answer, std::vector<int32_t>(1, 0), 33, 16).empty());
    EXPECT_TRUE(FindWantedColours(Image(), {}, 4, 4).empty());
    // Cells cut off by the edge (a 30 × 15 answer with 4 × 4 pieces) are grouped from the part
    // that exists.
    Image cut = test::SolidImage(30, 15, 0, 0, 255);
    const auto edge = FindWantedColours(cut, std::vector<int32_t>(32, 0), 4, 4);
    ASSERT_EQ(edge.size(), 1u);
    EXPECT_EQ(edge[0].colour, 0x0000FFu);
    EXPECT_EQ(edge[0].cells.size(), 32u);
}

}  // namespace
}  // namespace tama05
