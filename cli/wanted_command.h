#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "core/message_sink.h"
#include "puzzle/wanted_colours.h"

namespace tama05 {

// wanted PUZZLE.tgr [--count N] [--json]: the colours the puzzle wants most, best first.
// Returns the exit status: 0 success, 1 failure, 2 usage.
int RunWantedCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages);

// {"wanted":[{"colour":"#rrggbb","cells":n,"gain":x},...],"score":s}
void WriteWantedJson(std::ostream& out, const std::vector<WantedColour>& wanted, int32_t score);

}  // namespace tama05
