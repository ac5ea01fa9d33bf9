#pragma once

#include <cstdint>
#include <span>

#include "core/alpha_plane.h"
#include "core/image.h"

namespace tama05 {

// The EXIF orientation values: how the stored picture is turned to be seen upright.
// 1 as stored, 2 mirrored left to right, 3 turned half round, 4 mirrored top to bottom,
// 5 turned a quarter clockwise then mirrored left to right, 6 turned a quarter clockwise,
// 7 turned a quarter clockwise then mirrored top to bottom, 8 turned a quarter anticlockwise.
inline constexpr int kOrientationUpright = 1;

// Turns image (and alphaPlane, when it has the picture's size) as orientation tag asks, so that
// it is seen upright; the path is kept and the headers describe the new size. Tags other than
// 2..8 change nothing. Returns 0, or -1 (nothing changed) when memory runs out.
int ApplyOrientation(Image& image, AlphaPlane* alphaPlane, int tag);

// The orientation tag of a HEIF/AVIF picture from its rotation (anticlockwise quarter turns,
// 0..3) followed by its mirroring (0 none, 1 top and bottom exchanged, 2 left and right).
int OrientationFromRotateMirror(int anticlockwiseQuarterTurns, int mirror);

// The orientation tag (1..8) in the first EXIF segment (APP1 "Exif") of a JPEG file, looked
// for among the segments before the first scan; 1 when there is none or it cannot be read.
// Reads only inside bytes.
int ReadJpegOrientation(std::span<const uint8_t> bytes);

// The orientation tag (1..8) in the first image directory of EXIF data that starts with its
// TIFF header ("II" or "MM"); 1 when there is none or it cannot be read.
int ReadExifOrientation(std::span<const uint8_t> tiff);

}  // namespace tama05
