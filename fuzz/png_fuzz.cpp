// Feeds arbitrary bytes to the PNG stream reader. Before each run the chunks' CRCs are made
// right (as far as the chunk lengths let them be found), so that mutated data reaches the
// decoder instead of stopping at the first checksum.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/alpha_plane.h"
#include "core/byte_reader.h"
#include "core/image.h"
#include "core/png_chunks.h"
#include "core/png_file.h"
#include "fuzz_limits.h"

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void FixChunkChecksums(std::vector<uint8_t>& bytes) {
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const uint64_t length = BigEndian32(bytes.data() + at);
        if (length > bytes.size() - at - 12) {
            return;
        }
        const size_t crcAt = at + 8 + static_cast<size_t>(length);
        const uLong crc =
            crc32(crc32(0, nullptr, 0), bytes.data() + at + 4, static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i) {
            bytes[crcAt + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        }
        at = crcAt + 4;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    std::vector<uint8_t> bytes(data, data + size);
    FixChunkChecksums(bytes);
    ByteReader reader(bytes);
    Image image;
    AlphaPlane plane;
    PictureReadState state;
    const int code = ReadPngStream(reader, image, &plane, &state, fuzz::kFuzzMaxPixels);
    if (code == kPngOk) {
        // The chunk walk accepts whatever the decoder reads whole, and its size is the picture's.
        fuzz::Require(PngChunksFit(bytes));
        const auto declared = PeekPngSize(bytes);
        fuzz::Require(declared && declared->width == static_cast<uint32_t>(image.width()) &&
                      declared->height == static_cast<uint32_t>(image.height()));
        fuzz::Require(plane.Matches(image.width(), image.height()));
        fuzz::Require(reader.position() <= size && reader.position() > 8);
    } else {
        fuzz::Require(reader.position() == 0 && image.empty() && plane.values.empty());
    }
    return 0;
}
