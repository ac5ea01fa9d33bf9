#pragma once

#include <ostream>
#include <span>
#include <string>

#include "core/message_sink.h"

namespace tama05 {

// The puzzle verbs of tama05-cli. Each returns the exit status: 0 success, 1 failure, 2 usage.
//   new ANSWER PIECE_DIR (--piece WxH | --divisions AxB) [--max-pieces N] -o OUT.tgr [--json]
//   drop PUZZLE.tgr FILE... [-o OUT.tgr] [--seed N] [--json]
//   info PUZZLE.tgr [--json]
//   export PUZZLE.tgr OUT.{jpg,jpeg,png,bmp} [--blend N]
//   thumbnail PUZZLE.tgr OUT.{png,bmp}
int RunNewCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages);
int RunDropCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages);
int RunInfoCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages);
int RunExportCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages);
int RunThumbnailCommand(std::span<const std::string> args, std::ostream& out,
                        MessageSink& messages);

}  // namespace tama05
