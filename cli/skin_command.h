#pragma once

#include <ostream>
#include <span>
#include <string>

#include "core/message_sink.h"

namespace tama05 {

// `tama05-cli skin DIR... [--json]`: scans the skin.txt of each folder in turn, starting from
// the default layout as successive skin changes would, and prints the layout in force and
// which keys of the last file were taken and which failed. args are the words after "skin".
// Returns 0, 1 when a folder has no skin.txt (its message goes to messages), 2 on a usage
// error.
int RunSkinCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages);

}  // namespace tama05
