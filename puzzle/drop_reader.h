#pragma once

#include "puzzle/piece_pipeline.h"

namespace tama05 {

// The reader of dropped files: painter and canvas files by their first bytes, pictures by
// LoadImageFile without its optional messages. Each call keeps what the file leaves behind
// (painter name and paths) in a state of its own, so that files can be read on several threads
// at once; nothing a drop shows depends on it.
PictureSourceReader DropPictureReader();

}  // namespace tama05
