#pragma once

#include <ostream>
#include <span>
#include <string>

#include "core/message_sink.h"

namespace tama05 {

// `tama05-cli mosaic ANSWER TILES... (--piece WxH | --divisions AxB) -o OUT.{png,jpg,bmp,tgr}
// [--seed N] [--json]`: a whole photomosaic in one process, with no intermediate file. TILES are
// picture files or folders; a folder stands for its pictures (ScanPictureFolder). With T the
// tiles in that order, the result is exactly that of
//   new ANSWER FOLDER --piece … -o P.tgr   (FOLDER holding copies of T[0..9] under their names)
//   drop P.tgr T[10..265] --seed N; drop P.tgr T[266..521] --seed N; …   (at most 256 a drop)
//   export P.tgr OUT --blend 255           (or P.tgr itself for OUT.tgr)
// The fill therefore takes those of the first ten tiles that a piece folder lists, in its
// order; each drop starts its random generator from the same seed (the time when none is
// given). args are the words after "mosaic". Returns 0, 1 on failure (messages shown), 2 on a
// usage error.
int RunMosaicCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages);

}  // namespace tama05
