// Feeds arbitrary bytes to the Huffman image stream decoder.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_reader.h"
#include "core/image.h"
#include "fuzz_limits.h"
#include "puzzlefile/huffman_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    ByteReader reader(std::span<const uint8_t>(data, size));
    Image image;
    const int code = HuffDecodeImg(image, reader);
    if (code == kHuffOk) {
        // Every block byte costs at least one bit of code.
        fuzz::Require(image.byteCount() <= size * 8);
        fuzz::Require(reader.ok() && reader.position() <= size);
    } else {
        fuzz::Require(image.empty());
    }
    return 0;
}
