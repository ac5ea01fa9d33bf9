#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tama05 {

// The width and height the IHDR chunk right after the signature declares.
struct PngDeclaredSize {
    uint32_t width = 0;
    uint32_t height = 0;
};
std::optional<PngDeclaredSize> PeekPngSize(std::span<const uint8_t> bytes);

// Ancillary chunks (text, profiles, suggested palettes) longer than this are refused.
inline constexpr uint32_t kMaxPngAncillaryChunkBytes = uint32_t{8} << 20;

// Walks a PNG's chunk list (after the 8-byte signature) over the bytes in memory, before the
// decoder sees it: true when every chunk up to and including IEND fits in the bytes that remain
// after its header, and no ancillary chunk (lower-case first letter) is longer than
// maxAncillaryBytes. A chunk claiming gigabytes in a file of a hundred bytes is thus refused
// before the decoder allocates its claimed length; a stream without IEND could not be read to
// its end anyway. Bytes after IEND (an embedded PNG's followers) are not looked at.
bool PngChunksFit(std::span<const uint8_t> bytes,
                  uint32_t maxAncillaryBytes = kMaxPngAncillaryChunkBytes);

}  // namespace tama05
