// Feeds arbitrary bytes to the PNG and JPEG stream readers: the first byte picks the reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/alpha_plane.h"
#include "core/byte_reader.h"
#include "core/image.h"
#include "core/jpeg_file.h"
#include "core/png_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    tama05::ByteReader reader(std::span<const uint8_t>(data + 1, size - 1));
    tama05::Image image;
    if (data[0] & 1) {
        tama05::AlphaPlane plane;
        tama05::PictureReadState state;
        if (tama05::ReadPngStream(reader, image, &plane, &state) == 0 &&
            !plane.Matches(image.width(), image.height())) {
            __builtin_trap();
        }
    } else {
        tama05::ReadJpegStream(reader, image);
    }
    if (reader.position() > size - 1) {
        __builtin_trap();
    }
    return 0;
}
