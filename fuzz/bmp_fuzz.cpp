// Feeds arbitrary bytes to the BMP decoder, as if they were a whole file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/bmp_file.h"
#include "core/image.h"
#include "fuzz_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    Image image;
    const int code = DecodeBmp(std::span<const uint8_t>(data, size), image);
    if (code >= 0) {
        // The block is exactly the one the headers describe and was backed by the bytes.
        fuzz::Require(size >= kBmpHeaderBytes + image.byteCount());
        fuzz::Require(image.byteCount() ==
                      static_cast<size_t>(image.stride()) * static_cast<size_t>(image.height()));
    } else {
        fuzz::Require(image.empty());
    }
    return 0;
}
