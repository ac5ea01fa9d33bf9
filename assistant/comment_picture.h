#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "core/alpha_plane.h"
#include "core/image.h"

namespace tama05 {

// Reads a picture file into an Image without showing any message. Returns 0 when the image
// holds the picture, non-zero otherwise. When the alpha pointer is set, the loader stores
// the picture's alpha values there (a PNG with an alpha channel) or leaves the plane empty
// (no alpha channel, or another format); an empty plane, or one of another size than the
// picture, counts as opaque. The game passes its silent source-file reader here, with the
// side effects that reader has (the alpha flag and the painter name); tests pass a fake.
using PictureLoader =
    std::function<int(const std::filesystem::path& file, Image& target, AlphaPlane* alpha)>;

// The single-precision value nearest to 1/255 (0.003921569): alpha bytes are weighed with
// it, so that 255 gives 1.0000000591, which is then limited to 1.
inline constexpr float kAlphaScale = 1.0f / 255.0f;

// Blends picture over background in place: for every pixel of the area that the two share,
// with a = alpha byte × kAlphaScale (in double precision, limited to 0..1), each of the three
// bytes becomes trunc((1 − a) × background byte + a × picture byte), limited to 0..255.
// Both pictures are aligned at their first memory row and first column (the bottom-left
// corner, where the panel shows a picture). Pixels outside the shared area, and the whole
// picture when alpha does not have the picture's size, keep the picture's own bytes (they
// count as opaque). Padding bytes are left alone.
void BlendOverBackground(Image& picture, const AlphaPlane& alpha, const Image& background);

// Reads folder/fileName with the loader (silently) into target and blends it over the
// background (a panel's picture base). Returns 0 when target holds the blended picture; on
// any failure target is left empty and -1 is returned. No current directory is involved:
// the folder is passed in.
int LoadCommentPicture(const PictureLoader& loader, const std::filesystem::path& folder,
                       std::string_view fileName, Image& target, const Image& background);

}  // namespace tama05
