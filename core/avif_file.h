#pragma once

#include <cstdint>
#include <span>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/photo_read.h"
#include "core/picture_read_state.h"

namespace tama05 {

// True when head (the file's first 12 bytes or more; the whole file-type box makes it surer) is
// an ISO media file of the brand avif or avis.
bool LooksLikeAvif(std::span<const uint8_t> head);

// Decodes an AVIF file held in bytes (a sequence gives its first frame) into image, its alpha
// into alphaPlane as ReadPngStream does, and sets state->PictureHasAlpha for a picture with
// alpha. The file's crop, rotation and mirroring are applied unless options.keepOrientation is
// set; samples of more than 8 bits are rounded to 8. Returns a kPhoto code; on failure image
// keeps its contents and alphaPlane is cleared.
int ReadAvifBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                  PictureReadState* state, const PhotoReadOptions& options = {});

}  // namespace tama05
