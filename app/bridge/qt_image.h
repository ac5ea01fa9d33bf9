#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

#include "core/image.h"

namespace tama05 {

// The one way pictures cross into Qt.

// A copy of a picture as a 32-bit screen image, top row first, drawn 1:1 in device pixels:
// its device pixel ratio is the screen's. An empty picture gives a null image.
QImage ToScreenImage(const Image& picture, qreal devicePixelRatio = 1.0);

// Writes count pixels of one picture row (blue, green, red bytes) into a 32-bit screen image
// at (x, y), clipped at the image's edges.
void PutPixels(QImage& target, int x, int y, const uint8_t* bgr, int count);

// A colour value red + green × 256 + blue × 65536.
QColor ColorFromValue(uint32_t value);

}  // namespace tama05
