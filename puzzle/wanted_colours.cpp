#include "puzzle/wanted_colours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "puzzle/cell_score.h"
#include "puzzle/grid.h"

namespace tama05 {

namespace {

// Rounds of k-means after the median cut: enough to settle the groups of a photo's cells.
constexpr int kRefineRounds = 4;

using detail::WantedCell;

// The part of a cell inside the picture.
struct CellArea {
    int32_t x;
    int32_t y;
    int32_t columns;
    int32_t rows;
};

CellArea AreaOf(int32_t cell, const Grid& grid, const Image& answer, int32_t pw, int32_t ph) {
    CellArea area;
    area.x = (cell % grid.columns) * pw;
    area.y = (cell / grid.columns) * ph;
    area.columns = std::min(pw, answer.width() - area.x);
    area.rows = std::min(ph, answer.height() - area.y);
    return area;
}

// sRGB byte to linear light, and linear light to OKLab (L, a, b).
struct OkLab {
    OkLab() {
        for (int v = 0; v < 256; ++v) {
            const double c = v / 255.0;
            linear[static_cast<size_t>(v)] =
                static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
    }
    std::array<float, 3> FromBgr(uint8_t blue, uint8_t green, uint8_t red) const {
        const float r = linear[red];
        const float g = linear[green];
        const float b = linear[blue];
        const float l = std::cbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
        const float m = std::cbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
        const float s = std::cbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
        return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
                1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
                0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
    }
    std::array<float, 256> linear{};
};

uint8_t MeanByte(uint64_t sum, int64_t count) {
    return static_cast<uint8_t>((sum + static_cast<uint64_t>(count) / 2) /
                                static_cast<uint64_t>(count));
}

// The sums of the picture's rows y … y + rows − 1 (from the top), byte column by byte column.
// Up to 256 rows at a time are added in 16 bits, four at a time, which keeps the loop to a few
// vector operations for 16 bytes.
void SumRows(const Image& answer, int32_t y, int32_t rows, std::vector<uint32_t>& sums,
             std::vector<uint16_t>& partial) {
    std::fill(sums.begin(), sums.end(), 0u);
    const size_t bytes = sums.size();
    uint16_t* part = partial.data();
    for (int32_t top = 0; top < rows; top += 256) {
        const int32_t end = std::min(rows, top + 256);
        std::fill(partial.begin(), partial.end(), uint16_t{0});
        int32_t j = top;
        for (; j + 4 <= end; j += 4) {
            const uint8_t* r0 = answer.rowFromTop(y + j);
            const uint8_t* r1 = answer.rowFromTop(y + j + 1);
            const uint8_t* r2 = answer.rowFromTop(y + j + 2);
            const uint8_t* r3 = answer.rowFromTop(y + j + 3);
            for (size_t i = 0; i < bytes; ++i) {
                part[i] = static_cast<uint16_t>(part[i] + r0[i] + r1[i] + r2[i] + r3[i]);
            }
        }
        for (; j < end; ++j) {
            const uint8_t* row = answer.rowFromTop(y + j);
            for (size_t i = 0; i < bytes; ++i) {
                part[i] = static_cast<uint16_t>(part[i] + row[i]);
            }
        }
        for (size_t i = 0; i < bytes; ++i) {
            sums[i] += part[i];
        }
    }
}

// The cells below the wanted score, with their colour sums, in cell order, into cells.
void CollectCells(const Image& answer, std::span<const int32_t> scores, const Grid& grid,
                  int32_t pw, int32_t ph, WantedScratch& scratch) {
    const OkLab oklab;
    std::vector<WantedCell>& cells = scratch.cells;
    cells.clear();
    cells.reserve(static_cast<size_t>(std::count_if(
        scores.begin(), scores.end(), [](int32_t s) { return s < kWantedBelowScore; })));
    const size_t rowBytes = static_cast<size_t>(answer.width()) * 3;
    scratch.columnSums.resize(rowBytes);
    scratch.partialSums.resize(rowBytes);
    for (int32_t m = 0; m < grid.rows; ++m) {
        const size_t first = static_cast<size_t>(m) * static_cast<size_t>(grid.columns);
        const auto wanted = [&](int32_t n) {
            return scores[first + static_cast<size_t>(n)] < kWantedBelowScore;
        };
        int32_t n = 0;
        while (n < grid.columns && !wanted(n)) {
            ++n;
        }
        if (n == grid.columns) {
            continue;
        }
        const int32_t y = m * ph;
        const int32_t rows = std::min(ph, answer.height() - y);
        SumRows(answer, y, rows, scratch.columnSums, scratch.partialSums);
        const uint32_t* sums = scratch.columnSums.data();
        for (; n < grid.columns; ++n) {
            if (!wanted(n)) {
                continue;
            }
            const int32_t x = n * pw;
            const int32_t columns = std::min(pw, answer.width() - x);
            WantedCell cell{};
            cell.cell = static_cast<int32_t>(first) + n;
            const uint32_t* column = sums + static_cast<size_t>(x) * 3;
            for (int32_t i = 0; i < columns; ++i) {
                cell.sums[0] += column[3 * i];
                cell.sums[1] += column[3 * i + 1];
                cell.sums[2] += column[3 * i + 2];
            }
            const int64_t pixels = int64_t{columns} * rows;
            cell.lab = oklab.FromBgr(MeanByte(cell.sums[0], pixels), MeanByte(cell.sums[1], pixels),
                                     MeanByte(cell.sums[2], pixels));
            cells.push_back(cell);
        }
    }
}

float Distance2(const std::array<float, 3>& a, const std::array<float, 3>& b) {
    const float d0 = a[0] - b[0];
    const float d1 = a[1] - b[1];
    const float d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

// A box of the median cut: a range of the ordered cells, with its spread.
struct Box {
    size_t begin;
    size_t end;
    double spread = 0.0;  // summed squared distance from the box's mean
    int axis = 0;         // the axis of the largest variance
};

void Measure(Box& box, const std::vector<WantedCell>& cells, const std::vector<uint32_t>& order) {
    std::array<double, 3> sum{};
    std::array<double, 3> square{};
    for (size_t k = box.begin; k < box.end; ++k) {
        for (int a = 0; a < 3; ++a) {
            const double v = cells[order[k]].lab[static_cast<size_t>(a)];
            sum[static_cast<size_t>(a)] += v;
            square[static_cast<size_t>(a)] += v * v;
        }
    }
    const auto n = static_cast<double>(box.end - box.begin);
    box.spread = 0.0;
    double largest = -1.0;
    for (int a = 0; a < 3; ++a) {
        const auto i = static_cast<size_t>(a);
        const double spread = std::max(0.0, square[i] - sum[i] * sum[i] / n);
        box.spread += spread;
        if (spread > largest) {
            largest = spread;
            box.axis = a;
        }
    }
}

// Splits the colour space into at most groups boxes of cells, always the box of the largest
// spread at the median of its widest axis, never between two cells of the same value there.
// Returns the mean colour (OKLab) of each box.
std::vector<std::array<float, 3>> MedianCut(const std::vector<WantedCell>& cells, size_t groups,
                                            std::vector<uint32_t>& order) {
    order.resize(cells.size());
    for (size_t k = 0; k < order.size(); ++k) {
        order[k] = static_cast<uint32_t>(k);
    }
    std::vector<Box> boxes{{0, cells.size()}};
    Measure(boxes[0], cells, order);
    while (boxes.size() < groups) {
        size_t widest = 0;
        for (size_t b = 1; b < boxes.size(); ++b) {
            if (boxes[b].spread > boxes[widest].spread) {
                widest = b;
            }
        }
        Box& box = boxes[widest];
        if (box.spread <= 0.0) {
            break;
        }
        // The median along the axis, then the cut at the nearest change of value below it
        // (or above it, when everything below it is equal to it).
        const auto axis = static_cast<size_t>(box.axis);
        const auto first = order.begin() + static_cast<ptrdiff_t>(box.begin);
        const auto last = order.begin() + static_cast<ptrdiff_t>(box.end);
        const auto middle = first + (last - first) / 2;
        std::nth_element(first, middle, last, [&](uint32_t x, uint32_t y) {
            return cells[x].lab[axis] != cells[y].lab[axis]
                       ? cells[x].lab[axis] < cells[y].lab[axis]
                       : x < y;
        });
        const float median = cells[*middle].lab[axis];
        auto cut =
            std::partition(first, last, [&](uint32_t k) { return cells[k].lab[axis] < median; });
        if (cut == first) {
            cut = std::partition(first, last,
                                 [&](uint32_t k) { return cells[k].lab[axis] <= median; });
        }
        if (cut == last) {
            box.spread = 0.0;  // all equal along the axis after all: leave it whole
            continue;
        }
        const auto split = static_cast<size_t>(cut - order.begin());
        Box upper{split, box.end};
        box.end = split;
        Measure(box, cells, order);
        Measure(upper, cells, order);
        boxes.push_back(upper);
    }
    std::vector<std::array<float, 3>> centres;
    for (const Box& box : boxes) {
        std::array<double, 3> sum{};
        for (size_t k = box.begin; k < box.end; ++k) {
            for (size_t a = 0; a < 3; ++a) {
                sum[a] += cells[order[k]].lab[a];
            }
        }
        const auto n = static_cast<double>(box.end - box.begin);
        centres.push_back({static_cast<float>(sum[0] / n), static_cast<float>(sum[1] / n),
                           static_cast<float>(sum[2] / n)});
    }
    return centres;
}

// Gives every cell the nearest centre (the first among equals) and moves each centre to the
// mean of its cells, a few times; centres left without cells are dropped. group receives each
// cell's group.
void Refine(const std::vector<WantedCell>& cells, std::vector<std::array<float, 3>>& centres,
            std::vector<uint32_t>& group) {
    group.assign(cells.size(), 0);
    for (int round = 0; round <= kRefineRounds; ++round) {
        bool moved = false;
        for (size_t k = 0; k < cells.size(); ++k) {
            uint32_t best = 0;
            float bestDistance = std::numeric_limits<float>::max();
            for (size_t g = 0; g < centres.size(); ++g) {
                const float d = Distance2(cells[k].lab, centres[g]);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<uint32_t>(g);
                }
            }
            moved = moved || best != group[k];
            group[k] = best;
        }
        // Renumber the groups that have cells and put their centres at their means.
        std::vector<std::array<double, 3>> sums(centres.size(), {0.0, 0.0, 0.0});
        std::vector<size_t> counts(centres.size(), 0);
        for (size_t k = 0; k < cells.size(); ++k) {
            for (size_t a = 0; a < 3; ++a) {
                sums[group[k]][a] += cells[k].lab[a];
            }
            ++counts[group[k]];
        }
        std::vector<uint32_t> renumber(centres.size(), 0);
        std::vector<std::array<float, 3>> kept;
        for (size_t g = 0; g < centres.size(); ++g) {
            if (counts[g] == 0) {
                continue;
            }
            renumber[g] = static_cast<uint32_t>(kept.size());
            const auto n = static_cast<double>(counts[g]);
            kept.push_back({static_cast<float>(sums[g][0] / n), static_cast<float>(sums[g][1] / n),
                            static_cast<float>(sums[g][2] / n)});
        }
        for (uint32_t& g : group) {
            g = renumber[g];
        }
        centres = std::move(kept);
        if (round > 0 && !moved) {
            break;
        }
    }
}

// The distance of a piece of one colour to the answer in a cell: one pass over the cell's bytes
// against a row of the colour repeated.
int64_t FlatDistance(const Image& answer, const CellArea& area, const std::vector<uint8_t>& flat) {
    const size_t rowBytes = static_cast<size_t>(area.columns) * 3;
    int64_t distance = 0;
    for (int32_t j = 0; j < area.rows; ++j) {
        const uint8_t* row = answer.rowFromTop(area.y + j) + static_cast<size_t>(area.x) * 3;
        uint32_t sum = 0;
        for (size_t i = 0; i < rowBytes; ++i) {
            sum += static_cast<uint32_t>(std::abs(int{row[i]} - int{flat[i]}));
        }
        distance += sum;
    }
    return distance;
}

}  // namespace

std::vector<WantedColour> FindWantedColours(const Image& answer, std::span<const int32_t> scores,
                                            int32_t pieceWidth, int32_t pieceHeight, int32_t count,
                                            WantedScratch* scratch) {
    const Grid grid = GridFor(answer.width(), answer.height(), pieceWidth, pieceHeight);
    if (count <= 0 || answer.empty() || pieceWidth > answer.width() ||
        pieceHeight > answer.height() || grid.cellCount() == 0 ||
        static_cast<int64_t>(scores.size()) != grid.cellCount()) {
        return {};
    }
    WantedScratch local;
    WantedScratch& work = scratch != nullptr ? *scratch : local;
    CollectCells(answer, scores, grid, pieceWidth, pieceHeight, work);
    const std::vector<WantedCell>& cells = work.cells;
    if (cells.empty()) {
        return {};
    }
    // Twice as many groups as asked for, so that the best ones can be chosen among them.
    const auto groups = static_cast<size_t>(std::clamp(2 * count, 16, 2 * kMostWantedColours));
    std::vector<std::array<float, 3>> centres = MedianCut(cells, groups, work.order);
    Refine(cells, centres, work.groups);
    const std::vector<uint32_t>& group = work.groups;

    std::vector<WantedColour> wanted(centres.size());
    std::vector<std::array<uint64_t, 3>> sums(centres.size(), {0, 0, 0});
    std::vector<int64_t> pixels(centres.size(), 0);
    for (size_t k = 0; k < cells.size(); ++k) {
        const uint32_t g = group[k];
        wanted[g].cells.push_back(cells[k].cell);
        for (size_t a = 0; a < 3; ++a) {
            sums[g][a] += cells[k].sums[a];
        }
        const CellArea area = AreaOf(cells[k].cell, grid, answer, pieceWidth, pieceHeight);
        pixels[g] += int64_t{area.columns} * area.rows;
    }
    std::vector<std::vector<uint8_t>> flats(centres.size());
    for (size_t g = 0; g < wanted.size(); ++g) {
        const uint8_t blue = MeanByte(sums[g][0], pixels[g]);
        const uint8_t green = MeanByte(sums[g][1], pixels[g]);
        const uint8_t red = MeanByte(sums[g][2], pixels[g]);
        wanted[g].colour = red + green * 256u + blue * 65536u;
        flats[g].resize(static_cast<size_t>(pieceWidth) * 3);
        for (size_t i = 0; i < flats[g].size(); i += 3) {
            flats[g][i] = blue;
            flats[g][i + 1] = green;
            flats[g][i + 2] = red;
        }
    }
    for (size_t k = 0; k < cells.size(); ++k) {
        const uint32_t g = group[k];
        const CellArea area = AreaOf(cells[k].cell, grid, answer, pieceWidth, pieceHeight);
        const int score = CellScore(FlatDistance(answer, area, flats[g]), pieceWidth, pieceHeight);
        const int32_t stored = scores[static_cast<size_t>(cells[k].cell)];
        if (score > stored) {
            wanted[g].points += score - stored;
        }
    }

    std::erase_if(wanted, [](const WantedColour& w) { return w.points <= 0; });
    std::sort(wanted.begin(), wanted.end(), [](const WantedColour& a, const WantedColour& b) {
        if (a.points != b.points) {
            return a.points > b.points;
        }
        if (a.cells.size() != b.cells.size()) {
            return a.cells.size() > b.cells.size();
        }
        if (a.colour != b.colour) {
            return a.colour < b.colour;
        }
        return a.cells.front() < b.cells.front();
    });
    if (wanted.size() > static_cast<size_t>(count)) {
        wanted.resize(static_cast<size_t>(count));
    }
    for (WantedColour& w : wanted) {
        w.gain = static_cast<double>(w.points) / static_cast<double>(grid.cellCount());
    }
    return wanted;
}

}  // namespace tama05
