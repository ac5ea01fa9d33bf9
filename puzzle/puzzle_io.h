#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "core/message_sink.h"
#include "puzzle/puzzle.h"

namespace tama05 {

// Saves the puzzle as a puzzle file, reading it under its lock. The file at path is replaced
// whole or not at all. Returns 0, or -1 (messages shown; the puzzle and any old file
// unchanged). Marking the puzzle saved is the caller's, on 0 only.
int SavePuzzle(const Puzzle& puzzle, const std::filesystem::path& path, MessageSink& messages);

// What opening a puzzle shows besides the view: the answer slider set to the blend value
// (with its value box), and the score in the score panel.
struct PuzzleOpenView {
    std::function<void(int32_t blendValue)> setSlider;
    std::function<void(int32_t score)> showScore;
};

// Reads a puzzle file and, only when the whole file was read and is consistent, replaces the
// puzzle's pictures, piece size, blend value, scores and score under its lock and makes it
// ready. Returns 0, or -1 with the open puzzle exactly as it was (the caller shows
// "TGRファイルオープンに失敗しました。"). Save state and file name are the caller's. version, when
// given, receives the file's version.
int OpenPuzzleFile(Puzzle& puzzle, const std::filesystem::path& path, MessageSink& messages,
                   const PuzzleOpenView& view = {}, int32_t* version = nullptr);

}  // namespace tama05
