#pragma once

// The promises every HEIF, WebP, AVIF and JPEG XL reader keeps on any bytes: on success a
// picture with an alpha plane of its size; on failure the image as it was (empty here) and the
// plane cleared. The picture is read upright and as stored.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/photo_read.h"
#include "core/picture_read_state.h"
#include "fuzz_limits.h"

namespace tama05::fuzz {

using PhotoReader = int (*)(std::span<const uint8_t>, Image&, AlphaPlane*, PictureReadState*,
                            const PhotoReadOptions&);

inline void CheckPhotoReader(PhotoReader read, const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (bool keepOrientation : {false, true}) {
        Image image;
        AlphaPlane plane;
        plane.FillOpaque(2, 2);
        PictureReadState state;
        PhotoReadOptions options;
        options.keepOrientation = keepOrientation;
        options.maxPixels = kFuzzMaxPixels;
        const int code = read(bytes, image, &plane, &state, options);
        if (code == kPhotoOk) {
            Require(!image.empty() && plane.Matches(image.width(), image.height()));
            Require(int64_t{image.width()} * image.height() <= kFuzzMaxPixels);
            Require(state.PictureHasAlpha == plane.fromFile);
        } else {
            Require(code == kPhotoUnsupported || code == kPhotoNotRecognised ||
                    code == kPhotoCorrupt || code == kPhotoSizeRefused);
            Require(image.empty() && plane.values.empty() && !state.PictureHasAlpha);
            return;  // the other reading fails alike; one failure is enough
        }
    }
}

}  // namespace tama05::fuzz
