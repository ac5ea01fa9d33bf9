#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>

#include "cli/json_output.h"
#include "core/message_sink.h"
#include "puzzle/puzzle.h"

namespace tama05 {

// Opens a puzzle file as the game does; version receives the file's version. On failure the
// reader's message and "TGRファイルオープンに失敗しました。" go to messages.
bool LoadPuzzle(const std::filesystem::path& path, Puzzle& puzzle, int32_t& version,
                MessageSink& messages);

// A puzzle's sizes and scores, as info and new report them: the members version, width,
// height, piece_width, piece_height, columns, rows, blend, scores, score and mean.
Json PuzzleSummaryJson(const Puzzle& puzzle, int32_t version);
// The same as lines of text: "version 1", "size W x H", "piece W x H",
// "cells C x R = N", "blend B", "score S (MEAN)".
void PrintPuzzleSummary(std::ostream& out, const Puzzle& puzzle, int32_t version);

}  // namespace tama05
