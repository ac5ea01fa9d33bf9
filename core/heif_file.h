#pragma once

#include <cstdint>
#include <span>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/photo_read.h"
#include "core/picture_read_state.h"

namespace tama05 {

// True when head (the file's first 12 bytes or more; the whole file-type box, usually under 40
// bytes, makes it surer) is an ISO media file of a HEIF brand (heic, heix, heim, heis, hevc,
// hevx, hevm, hevs, mif1, msf1) that is not an AVIF file (see LooksLikeAvif).
bool LooksLikeHeif(std::span<const uint8_t> head);

// Decodes the primary picture of a HEIF file held in bytes (HEVC through libde265, AV1, and
// what else libheif decodes) into image, its alpha into alphaPlane as ReadPngStream does, and
// sets state->PictureHasAlpha for a picture with alpha. The file's crop, rotation and mirroring
// are applied unless options.keepOrientation is set; samples of more than 8 bits are rounded
// to 8. Returns a kPhoto code; on failure image keeps its contents and alphaPlane is cleared.
int ReadHeifBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                  PictureReadState* state, const PhotoReadOptions& options = {});

}  // namespace tama05
