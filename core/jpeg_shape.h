#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tama05 {

// What a JPEG stream's markers say about it, read without decoding.
struct JpegShape {
    uint32_t width = 0;
    uint32_t height = 0;
    int components = 0;
    bool progressive = false;
    bool arithmetic = false;
    // 8 × 8 blocks of all components of the frame, without the padding of interleaved scans.
    uint64_t blocks = 0;
    // Blocks of the components coded by at least one scan.
    uint64_t codedBlocks = 0;
    // Blocks visited by all scans together (each scan visits every block of its components).
    uint64_t scanBlocks = 0;
    int scans = 0;
    // Bytes after the first scan header up to the end marker: the coded data (scan headers and
    // tables between scans included).
    uint64_t entropyBytes = 0;
    // Whether the end marker was found.
    bool ended = false;
};

// Walks the markers of the JPEG stream at the start of bytes up to its end marker (or the end of
// bytes). Returns nothing when the bytes do not start with SOI or a segment is cut short before
// the frame header is known.
std::optional<JpegShape> InspectJpegShape(std::span<const uint8_t> bytes);

// Progressive work allowed: the blocks visited by all scans, per block of the frame.
inline constexpr uint64_t kMaxJpegScanBlocksPerBlock = 64;

// Whether the stream at the start of bytes could be a whole picture worth decoding: with
// Huffman coding every block of every component costs at least one bit in the first scan that
// codes it, so fewer than codedBlocks ÷ 8 bytes of coded data cannot be a whole picture (the
// decoder would pad the rest: a few hundred bytes could claim gigabytes); and a progressive
// stream may not visit more than kMaxJpegScanBlocksPerBlock × blocks blocks in all its scans.
// Streams whose frame cannot be found are left to the decoder to refuse.
bool JpegWorkAcceptable(std::span<const uint8_t> bytes);

}  // namespace tama05
