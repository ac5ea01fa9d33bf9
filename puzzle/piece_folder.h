#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tama05 {

// At most this many names are collected from a piece folder.
inline constexpr int32_t kMaxPieceNames = 128;
// A new puzzle is filled from this many pictures of its folder.
inline constexpr int32_t kFillPieces = 10;

// The picture names (no folder part) of a folder, at most maxNames: first every *.bmp, then
// *.jpg, *.jpeg and *.png. Extensions match whatever their case, and "*.jpg" does not match
// ".jpeg". Within one pattern, names are ordered byte by byte with ASCII letters upper-cased, as
// the directory search of the platform the puzzles come from returns them. Sub-folders are not
// pictures. An unreadable folder gives no names. The current directory is left alone.
std::vector<std::string> ScanPieceFolder(const std::filesystem::path& folder,
                                         int32_t maxNames = kMaxPieceNames);

// The listing of ScanPieceFolder applied to names already collected: the positions in names of
// at most maxNames picture names, in the order the piece folder lists them. Names that compare
// equal keep their order.
std::vector<size_t> PieceFolderOrder(std::span<const std::string> names,
                                     int32_t maxNames = kMaxPieceNames);

// The pictures a folder stands for when it is given in place of picture files: every name
// ScanPieceFolder would list, with no limit on their number and in the same order, as paths
// inside the folder. Hidden entries (names starting with a dot), sub-folders, anything but a
// regular file, and links that lead out of the folder are left out.
std::vector<std::filesystem::path> ScanPictureFolder(const std::filesystem::path& folder);

}  // namespace tama05
