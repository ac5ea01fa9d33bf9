#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/image.h"

namespace tama05 {

// Result codes of ReadBmpFile (a success is bfSize − 14, at least 0).
inline constexpr int kBmpCannotOpenForSignature = -100;
inline constexpr int kBmpNotBm = -101;
inline constexpr int kBmpCannotOpen = -1;
inline constexpr int kBmpNoFileHeader = -4;
inline constexpr int kBmpNoInfoHeader = -5;
inline constexpr int kBmpCompressed = -7;
inline constexpr int kBmpNot24Bit = -2;
inline constexpr int kBmpSeekFailed = -8;
inline constexpr int kBmpNoPixels = -3;
inline constexpr int kBmpSizeRefused = -9;

// Reads an uncompressed 24-bit BMP file into image. The headers are kept as they stand in
// the file (a negative height stays negative, its rows stay in file order) and the path is
// recorded. On failure image is left as it was.
int ReadBmpFile(Image& image, const std::filesystem::path& path);

// The two headers before the pixel rows.
inline constexpr size_t kBmpHeaderBytes = 54;

// ReadBmpFile on the bytes of a whole BMP file already in memory (no path is recorded).
int DecodeBmp(std::span<const uint8_t> bytes, Image& image);

// How many bytes from the file's start DecodeBmp reads at most: the two headers and, when they
// are accepted, the pixel block they describe.
uint64_t BmpBytesNeeded(std::span<const uint8_t> headers);

// The bytes of a BMP file of image: a 14-byte file header, a 40-byte information header for
// 24 bits without compression, then the pixel block as it lies in memory.
std::vector<uint8_t> EncodeBmp(const Image& image);

}  // namespace tama05
