#pragma once

#include <cstdint>
#include <ostream>

#include "assistant/comment_screen.h"
#include "core/random_generator.h"
#include "puzzle/score_update.h"

namespace tama05 {

// Runs the characters' comment routine as the game does, printing each line as
// "玉五郎: TEXT" or "こまお: TEXT" on out (nothing when out is null; the random choices are
// made all the same). Pictures and pauses are left out.
void SpeakComment(CommentKind kind, int32_t value, RandomGenerator& random, std::ostream* out);

}  // namespace tama05
