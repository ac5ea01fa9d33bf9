#pragma once

#include <cstdint>
#include <filesystem>
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

}  // namespace tama05
