// A PNG is the 8-byte signature and then chunks: a big-endian u32 data length, a 4-byte type,
// the data and a 4-byte CRC. Bit 5 of the type's first byte marks an ancillary chunk.
#include "core/png_chunks.h"

#include <cstring>

namespace tama05 {

namespace {

constexpr size_t kSignatureBytes = 8;
constexpr size_t kChunkOverhead = 12;  // length, type, CRC
// Lengths above 2^31 - 1 are not valid PNG lengths.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

std::optional<PngDeclaredSize> PeekPngSize(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kSignature[kSignatureBytes] = {0x89, 'P',  'N',  'G',
                                                            '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < kSignatureBytes + 8 + 8 ||
        std::memcmp(bytes.data(), kSignature, kSignatureBytes) != 0 ||
        BigEndian32(bytes.data() + 8) != 13 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    return PngDeclaredSize{BigEndian32(bytes.data() + 16), BigEndian32(bytes.data() + 20)};
}

bool PngChunksFit(std::span<const uint8_t> bytes, uint32_t maxAncillaryBytes) {
    size_t at = kSignatureBytes;
    while (at <= bytes.size() && bytes.size() - at >= kChunkOverhead) {
        const uint32_t length = BigEndian32(bytes.data() + at);
        const uint8_t* type = bytes.data() + at + 4;
        if (length > kMaxChunkLength || length > bytes.size() - at - kChunkOverhead) {
            return false;
        }
        if ((type[0] & 0x20) != 0 && length > maxAncillaryBytes) {
            return false;
        }
        if (std::memcmp(type, "IEND", 4) == 0) {
            return true;
        }
        at += kChunkOverhead + length;
    }
    return false;
}

}  // namespace tama05
