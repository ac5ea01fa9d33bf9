// BMP layout read here (all little-endian): a 14-byte file header ("BM", u32 file size,
// two u16 reserved, u32 pixel offset) followed by a 40-byte information header (u32 size,
// i32 width, i32 height — negative for top-down rows, u16 planes, u16 bits a pixel,
// u32 compression, u32 image size, i32 × 2 resolution, u32 colours used, u32 important).
// Only 24 bits a pixel without compression is accepted; the pixel rows are read from
// offset 54, each padded to a multiple of 4 bytes, exactly as the picture keeps them.
#include "core/bmp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <span>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/limits.h"

namespace tama05 {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens path for reading without blocking (a named pipe would otherwise wait for a writer).
// Only a regular file is handed back.
File OpenForReading(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    return File(file);
}

// Whether the path can be opened at all (whatever it is).
bool Openable(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

BitmapFileHeader ParseFileHeader(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    BitmapFileHeader h;
    reader.ReadU16(h.bfType);
    reader.ReadU32(h.bfSize);
    reader.ReadU16(h.bfReserved1);
    reader.ReadU16(h.bfReserved2);
    reader.ReadU32(h.bfOffBits);
    return h;
}

BitmapInfoHeader ParseInfoHeader(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    BitmapInfoHeader h;
    reader.ReadU32(h.biSize);
    reader.ReadI32(h.biWidth);
    reader.ReadI32(h.biHeight);
    reader.ReadU16(h.biPlanes);
    reader.ReadU16(h.biBitCount);
    reader.ReadU32(h.biCompression);
    reader.ReadU32(h.biSizeImage);
    reader.ReadI32(h.biXPelsPerMeter);
    reader.ReadI32(h.biYPelsPerMeter);
    reader.ReadU32(h.biClrUsed);
    reader.ReadU32(h.biClrImportant);
    return h;
}

// The headers judged before any pixel is allocated: the failure code, or 0 with the picture's
// width, height and block size.
struct ParsedHeaders {
    BitmapFileHeader fileHeader;
    BitmapInfoHeader info;
    int32_t width = 0;
    int32_t height = 0;
    uint64_t pixelBytes = 0;
};

int ParseHeaders(std::span<const uint8_t> headerBytes, ParsedHeaders& parsed) {
    parsed.fileHeader = ParseFileHeader(headerBytes.first(14));
    parsed.info = ParseInfoHeader(headerBytes.subspan(14, 40));
    const BitmapInfoHeader& info = parsed.info;
    const int64_t width = info.biWidth;
    const int64_t height = info.biHeight < 0 ? -int64_t{info.biHeight} : int64_t{info.biHeight};
    if (info.biCompression != 0) {
        return kBmpCompressed;
    }
    if (info.biBitCount != 24) {
        return kBmpNot24Bit;
    }
    const auto size = CheckPictureSize(width, height);
    if (!size) {
        return kBmpSizeRefused;
    }
    parsed.width = static_cast<int32_t>(width);
    parsed.height = static_cast<int32_t>(height);
    parsed.pixelBytes = static_cast<uint64_t>(size->bytes);
    return 0;
}

// bfSize − 14, kept non-negative so that a wrong size field never reads as a failure code.
int SuccessCode(const BitmapFileHeader& fileHeader) {
    const int64_t result = int64_t{fileHeader.bfSize} - 14;
    if (result < 0) {
        return 0;
    }
    return static_cast<int>(std::min<int64_t>(result, std::numeric_limits<int32_t>::max()));
}

}  // namespace

int DecodeBmp(std::span<const uint8_t> bytes, Image& image) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return kBmpNotBm;
    }
    if (bytes.size() < 14) {
        return kBmpNoFileHeader;
    }
    if (bytes.size() < kBmpHeaderBytes) {
        return kBmpNoInfoHeader;
    }
    ParsedHeaders parsed;
    if (const int code = ParseHeaders(bytes.first(kBmpHeaderBytes), parsed); code != 0) {
        return code;
    }
    // The pixels always start right after the two headers; the offset field is not used.
    if (bytes.size() - kBmpHeaderBytes < parsed.pixelBytes) {
        return kBmpNoPixels;
    }
    Image read;
    if (read.Create(parsed.width, parsed.height) != 0) {
        return kBmpSizeRefused;
    }
    if (read.byteCount() != 0) {
        std::memcpy(read.data(), bytes.data() + kBmpHeaderBytes, read.byteCount());
    }
    read.info = parsed.info;
    read.fileHeader = parsed.fileHeader;
    image = std::move(read);
    return SuccessCode(parsed.fileHeader);
}

uint64_t BmpBytesNeeded(std::span<const uint8_t> headers) {
    ParsedHeaders parsed;
    if (headers.size() < kBmpHeaderBytes ||
        ParseHeaders(headers.first(kBmpHeaderBytes), parsed) != 0) {
        return kBmpHeaderBytes;
    }
    return kBmpHeaderBytes + parsed.pixelBytes;
}

int ReadBmpFile(Image& image, const std::filesystem::path& path) {
    {
        File check = OpenForReading(path);
        if (!check) {
            // What opens but is no regular file (a folder, a pipe, a device) has no "BM" to read.
            return Openable(path) ? kBmpNotBm : kBmpCannotOpenForSignature;
        }
        std::array<uint8_t, 2> magic{};
        if (std::fread(magic.data(), 1, 2, check.get()) != 2 || magic[0] != 'B' ||
            magic[1] != 'M') {
            return kBmpNotBm;
        }
    }
    File file = OpenForReading(path);
    if (!file) {
        return kBmpCannotOpen;
    }
    std::array<uint8_t, kBmpHeaderBytes> headerBytes{};
    if (std::fread(headerBytes.data(), 1, 14, file.get()) != 14) {
        return kBmpNoFileHeader;
    }
    if (std::fread(headerBytes.data() + 14, 1, 40, file.get()) != 40) {
        return kBmpNoInfoHeader;
    }
    ParsedHeaders parsed;
    if (const int code = ParseHeaders(headerBytes, parsed); code != 0) {
        return code;
    }
    // A file too short for its pixels is refused before the block is allocated, so that a
    // small file claiming a large picture costs nothing.
    struct stat st {};
    if (::fstat(::fileno(file.get()), &st) != 0 || st.st_size < 0 ||
        static_cast<uint64_t>(st.st_size) < kBmpHeaderBytes + parsed.pixelBytes) {
        return kBmpNoPixels;
    }
    Image read;
    if (read.Create(parsed.width, parsed.height) != 0) {
        return kBmpSizeRefused;
    }
    if (std::fseek(file.get(), kBmpHeaderBytes, SEEK_SET) != 0) {
        return kBmpSeekFailed;
    }
    if (read.byteCount() != 0 &&
        std::fread(read.data(), 1, read.byteCount(), file.get()) != read.byteCount()) {
        return kBmpNoPixels;
    }
    read.info = parsed.info;
    read.fileHeader = parsed.fileHeader;
    read.path = path.string();
    image = std::move(read);
    return SuccessCode(parsed.fileHeader);
}

std::vector<uint8_t> EncodeBmp(const Image& image) {
    std::vector<uint8_t> out;
    out.reserve(54 + image.byteCount());
    ByteWriter writer(out);
    const uint32_t imageBytes = static_cast<uint32_t>(image.byteCount());
    writer.WriteU16(0x4D42);
    writer.WriteU32(imageBytes + 54);
    writer.WriteU16(0);
    writer.WriteU16(0);
    writer.WriteU32(54);
    writer.WriteU32(40);
    writer.WriteI32(image.width());
    writer.WriteI32(image.height());
    writer.WriteU16(1);
    writer.WriteU16(24);
    writer.WriteU32(0);
    writer.WriteU32(imageBytes);
    writer.WriteI32(0);
    writer.WriteI32(0);
    writer.WriteU32(0);
    writer.WriteU32(0);
    if (!image.empty()) {
        writer.WriteBytes(std::span<const uint8_t>(image.data(), image.byteCount()));
    }
    return out;
}

}  // namespace tama05
