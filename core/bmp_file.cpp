// BMP layout read here (all little-endian): a 14-byte file header ("BM", u32 file size,
// two u16 reserved, u32 pixel offset) followed by a 40-byte information header (u32 size,
// i32 width, i32 height — negative for top-down rows, u16 planes, u16 bits a pixel,
// u32 compression, u32 image size, i32 × 2 resolution, u32 colours used, u32 important).
// Only 24 bits a pixel without compression is accepted; the pixel rows are read from
// offset 54, each padded to a multiple of 4 bytes, exactly as the picture keeps them.
#include "core/bmp_file.h"

#include <array>
#include <cstdio>
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

File OpenForReading(const std::filesystem::path& path) {
    return File(std::fopen(path.c_str(), "rb"));
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

}  // namespace

int ReadBmpFile(Image& image, const std::filesystem::path& path) {
    {
        File check = OpenForReading(path);
        if (!check) {
            return kBmpCannotOpenForSignature;
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
    std::array<uint8_t, 14> fileBytes{};
    if (std::fread(fileBytes.data(), 1, fileBytes.size(), file.get()) != fileBytes.size()) {
        return kBmpNoFileHeader;
    }
    std::array<uint8_t, 40> infoBytes{};
    if (std::fread(infoBytes.data(), 1, infoBytes.size(), file.get()) != infoBytes.size()) {
        return kBmpNoInfoHeader;
    }
    const BitmapFileHeader fileHeader = ParseFileHeader(fileBytes);
    const BitmapInfoHeader info = ParseInfoHeader(infoBytes);

    const int64_t width = info.biWidth;
    const int64_t height = info.biHeight < 0 ? -int64_t{info.biHeight} : int64_t{info.biHeight};
    if (info.biCompression != 0) {
        return kBmpCompressed;
    }
    if (info.biBitCount != 24) {
        return kBmpNot24Bit;
    }
    if (!CheckPictureSize(width, height)) {
        return kBmpSizeRefused;
    }
    Image read;
    if (read.Create(static_cast<int32_t>(width), static_cast<int32_t>(height)) != 0) {
        return kBmpSizeRefused;
    }
    // The pixels always start right after the two headers; the offset field is not used.
    if (std::fseek(file.get(), 54, SEEK_SET) != 0) {
        return kBmpSeekFailed;
    }
    if (read.byteCount() != 0 &&
        std::fread(read.data(), 1, read.byteCount(), file.get()) != read.byteCount()) {
        return kBmpNoPixels;
    }
    read.info = info;
    read.fileHeader = fileHeader;
    read.path = path.string();
    image = std::move(read);
    // bfSize − 14, kept non-negative so that a wrong size field never reads as a failure code.
    const int64_t result = int64_t{fileHeader.bfSize} - 14;
    if (result < 0) {
        return 0;
    }
    return static_cast<int>(std::min<int64_t>(result, std::numeric_limits<int32_t>::max()));
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
