// Feeds arbitrary bytes to the EXIF orientation readers, as a JPEG file and as EXIF data, and
// turns a small picture and its alpha by what they find.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/orientation.h"
#include "fuzz_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    const std::span<const uint8_t> bytes(data, size);
    const int jpegTag = ReadJpegOrientation(bytes);
    const int exifTag = ReadExifOrientation(bytes);
    fuzz::Require(jpegTag >= 1 && jpegTag <= 8 && exifTag >= 1 && exifTag <= 8);
    Image image;
    image.CreateFilled(3, 2, 7);
    AlphaPlane plane;
    plane.FillOpaque(3, 2);
    fuzz::Require(ApplyOrientation(image, &plane, jpegTag) == 0);
    fuzz::Require(plane.Matches(image.width(), image.height()));
    fuzz::Require(image.width() * image.height() == 6);
    return 0;
}
