#pragma once

#include "app/dialogs/save_as_dialog.h"
#include "core/alpha_plane.h"
#include "core/message_sink.h"
#include "puzzle/puzzle.h"

namespace tama05 {

// Saves or exports the puzzle as chosen in the save-as dialog. A puzzle file that was written
// becomes the puzzle's file name and marks the puzzle saved; a failed save changes neither.
// The pictures (the mosaic blended with the answer by the blend value) change nothing in the
// puzzle. answerAlpha is the answer picture's own alpha for the PNG export, or null. A puzzle
// that is not ready shows "保存すべきものが読み込まれていません。" (caption "保存できません。").
// Returns 0, or the negative result of the save or export after its message.
int SaveChosenFile(Puzzle& puzzle, const SaveChoice& choice, MessageSink& messages,
                   const AlphaPlane* answerAlpha);

}  // namespace tama05
