#pragma once

#include <cstdint>

#include "puzzle/piece_pipeline.h"
#include "puzzle/read_budget.h"

namespace tama05 {

// The reader of dropped files: painter and canvas files by their first bytes, pictures by
// LoadImageFile without its optional messages. Each call keeps what the file leaves behind
// (painter name and paths) in a state of its own, so that files can be read on several threads
// at once; nothing a drop shows depends on it. All calls of one reader (and of its copies) share
// one memory budget of budgetBytes: a file waits for its share, and a file whose share alone
// exceeds the budget is skipped with "画像が大きすぎて読み込めません。" and its path (caption
// "失敗").
PictureSourceReader DropPictureReader(uint64_t budgetBytes = ReadBudget::DefaultBytes());

}  // namespace tama05
