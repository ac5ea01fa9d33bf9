#pragma once

#include "skin/skin_pictures.h"

namespace tama05 {

// The picture readers as the skin code takes them.
// PNG files with their alpha plane (the state sheets); shows nothing.
PictureLoader PngPictureLoader();
// Any picture file the program reads, with every message off (backgrounds, the wait meter).
PictureLoader SilentPictureLoader();

}  // namespace tama05
