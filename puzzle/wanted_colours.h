#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/image.h"

namespace tama05 {

// Cells scoring below this still want a better piece.
inline constexpr int32_t kWantedBelowScore = 80;
// How many colours the wanted list names unless asked otherwise.
inline constexpr int32_t kWantedColourCount = 8;
// The most colours one list may name.
inline constexpr int32_t kMostWantedColours = 64;

// One colour the puzzle wants: a group of poorly matched cells whose answer looks alike.
struct WantedColour {
    // The answer's mean colour over the group's cells, as red + green × 256 + blue × 65536.
    uint32_t colour = 0;
    // The group's cells, in cell order.
    std::vector<int32_t> cells;
    // The score rises, summed over the group's cells, that a photo of exactly this colour would
    // bring where it beats the stored score; and that sum over the puzzle's cell count, the
    // rise of the mean cell score.
    int64_t points = 0;
    double gain = 0.0;
};

namespace detail {
// One poorly matched cell: its index, the sums of the answer's colour bytes over its pixels
// (blue, green, red), and its mean colour in OKLab.
struct WantedCell {
    int32_t cell;
    std::array<uint64_t, 3> sums;
    std::array<float, 3> lab;
};
}  // namespace detail

// Buffers kept from one wanted list to the next: fresh blocks the size of a large grid cost
// page faults on every call.
struct WantedScratch {
    std::vector<detail::WantedCell> cells;
    std::vector<uint32_t> order;
    std::vector<uint32_t> groups;
    std::vector<uint32_t> columnSums;
    std::vector<uint16_t> partialSums;
};

// The colours the puzzle wants most, best first: the cells scoring below 80 are grouped by the
// answer's mean colour in each cell (a median cut refined by a few k-means rounds, in the OKLab
// space, where distances follow what the eye sees), the groups are ranked by the points a photo
// of the group's colour would gain (more cells, then the smaller colour value, first among
// equals), and at most count groups that would gain anything are returned. The result depends
// on the arguments only. Nothing when the scores do not have one entry per cell of the grid or
// the piece size does not fit the answer.
//
// It reads only its arguments: a caller on another thread than the puzzle's passes copies (the
// scores change with every drop, the answer only with a new or opened puzzle).
std::vector<WantedColour> FindWantedColours(const Image& answer, std::span<const int32_t> scores,
                                            int32_t pieceWidth, int32_t pieceHeight,
                                            int32_t count = kWantedColourCount,
                                            WantedScratch* scratch = nullptr);

}  // namespace tama05
