// Feeds arbitrary bytes to the JPEG stream reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_reader.h"
#include "core/image.h"
#include "core/jpeg_file.h"
#include "core/jpeg_shape.h"
#include "fuzz_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    ByteReader reader(std::span<const uint8_t>(data, size));
    Image image;
    if (ReadJpegStream(reader, image, fuzz::kFuzzMaxPixels) == kJpegOk) {
        fuzz::Require(!image.empty() && reader.position() <= size);
        // A decoded stream passed the work checks, and its frame is the picture's size.
        const std::span<const uint8_t> bytes(data, size);
        fuzz::Require(JpegWorkAcceptable(bytes));
        const auto shape = InspectJpegShape(bytes);
        fuzz::Require(shape && shape->width == static_cast<uint32_t>(image.width()) &&
                      shape->height == static_cast<uint32_t>(image.height()));
    } else {
        fuzz::Require(reader.position() == 0 && image.empty());
    }
    return 0;
}
