#pragma once

#include <cstdint>
#include <span>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/photo_read.h"
#include "core/picture_read_state.h"

namespace tama05 {

// True when head (the file's first 12 bytes or more) starts like a WebP file: "RIFF", a
// 4-byte size, "WEBP".
bool LooksLikeWebp(std::span<const uint8_t> head);

// Decodes a WebP file held in bytes (lossy or lossless, with or without alpha; an animation
// gives its first frame) into image, its alpha into alphaPlane as ReadPngStream does, and sets
// state->PictureHasAlpha for a picture with alpha. WebP pictures carry no orientation. Returns
// a kPhoto code; on failure image keeps its contents and alphaPlane is cleared.
int ReadWebpBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                  PictureReadState* state, const PhotoReadOptions& options = {});

}  // namespace tama05
