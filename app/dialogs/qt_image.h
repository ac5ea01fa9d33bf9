#pragma once

#include <QImage>

#include "core/image.h"

namespace tama05 {

// A copy of picture for drawing with Qt: the rows turned top first, the bytes kept in
// blue, green, red order. An empty picture gives a null image.
QImage ToQImage(const Image& picture);

}  // namespace tama05
