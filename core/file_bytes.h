#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace tama05 {

// Largest picture file read into memory whole (PNG and JPEG files, embedded streams aside).
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{1} << 31;

// Reads the whole regular file at path into out (replacing its contents). Returns 0, -1 when
// the file cannot be opened or is not a regular file, -2 when it is larger than maxBytes,
// -3 when reading fails or the file shrinks while it is read.
int ReadFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& out, uint64_t maxBytes);

// Reads up to count bytes from the start of the file into out (fewer when the file is
// shorter). Returns 0, or -1 when the file cannot be opened or read.
int ReadFileHead(const std::filesystem::path& path, size_t count, std::vector<uint8_t>& out);

}  // namespace tama05
