#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <utility>
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

// A file opened once and read on as far as its reader needs: the first bytes for recognition,
// then as many more as the chosen reader asks for, never more than the file holds.
class OpenedFile {
  public:
    OpenedFile() = default;
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;
    ~OpenedFile();

    // Opens the regular file at path without blocking and reads up to headBytes from its start.
    // Returns 0, or -1 when it cannot be opened, is not a regular file or cannot be read.
    int Open(const std::filesystem::path& path, size_t headBytes);

    bool isOpen() const { return m_fd >= 0; }
    // The file's size when it was opened.
    uint64_t size() const { return m_size; }
    // The bytes read so far, from the start of the file.
    std::span<const uint8_t> bytes() const { return m_bytes; }
    bool whole() const { return m_bytes.size() == m_size; }

    // Reads on until count bytes (or the whole file, when it is shorter) are in. Returns 0, or -3
    // when reading fails.
    int ReadTo(uint64_t count);
    // Reads the whole file when it is at most maxBytes. Returns 0, -1 when the file is not open,
    // -2 when it is larger, -3 when
    // reading fails or the file shrinks while it is read.
    int ReadWhole(uint64_t maxBytes);
    // Hands the bytes read over to the caller.
    std::vector<uint8_t> TakeBytes() { return std::move(m_bytes); }

  private:
    int m_fd = -1;
    uint64_t m_size = 0;
    std::vector<uint8_t> m_bytes;
};

}  // namespace tama05
