#pragma once

#include <cstdint>
#include <span>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/photo_read.h"
#include "core/picture_read_state.h"

namespace tama05 {

// True when head (the file's first 12 bytes or more) starts like a JPEG XL file: a bare code
// stream (FF 0A) or the container's signature box (00 00 00 0C "JXL " 0D 0A 87 0A).
bool LooksLikeJxl(std::span<const uint8_t> head);

// Decodes a JPEG XL file held in bytes (an animation gives its first frame) into image, its
// alpha into alphaPlane as ReadPngStream does, and sets state->PictureHasAlpha for a picture
// with alpha. The file's orientation is applied unless options.keepOrientation is set; samples
// of more than 8 bits are rounded to 8. Returns a kPhoto code; on failure image keeps its
// contents and alphaPlane is cleared.
int ReadJxlBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                 PictureReadState* state, const PhotoReadOptions& options = {});

}  // namespace tama05
