#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/owned_array.h"

namespace tama05 {

// The 40-byte BITMAPINFOHEADER that describes a 24-bit picture.
struct BitmapInfoHeader {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;

    std::array<uint8_t, 40> Bytes() const;
};

// The 14-byte BITMAPFILEHEADER a BMP file of the picture starts with.
struct BitmapFileHeader {
    uint16_t bfType = 0;
    uint32_t bfSize = 0;
    uint16_t bfReserved1 = 0;
    uint16_t bfReserved2 = 0;
    uint32_t bfOffBits = 0;

    std::array<uint8_t, 14> Bytes() const;
};

// A 24-bit raster laid out like the pixel array of an uncompressed 24-bit BMP: three bytes a
// pixel in the order blue, green, red; rows stored bottom to top; each row padded to a stride
// that is a multiple of 4. The padding belongs to the block and is copied with it.
// Drawing surfaces are the window layer's business and are not part of the picture.
class Image {
public:
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    Image(Image&&) noexcept = default;
    Image& operator=(Image&&) noexcept = default;

    // Sets the size and stride and allocates stride × height bytes (contents unset); the
    // headers are left as they were. Returns 0, or -1 (the image left empty) when the size
    // is negative, beyond the picture bound, or memory runs out.
    int Create(int32_t width, int32_t height);
    // As Create, with every byte of the block, padding included, set to value.
    int CreateFilled(int32_t width, int32_t height, uint8_t value);
    // A copy of source's size and bytes, with fresh headers.
    int CopyFrom(const Image& source);
    // Fills the info and file headers for the current size.
    int SetHeaders();
    // Drops the pixels and the size.
    void Clear();

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    int32_t stride() const { return m_stride; }
    bool empty() const { return m_pixels.empty(); }
    // Byte count of the block (stride × height).
    size_t byteCount() const { return static_cast<size_t>(m_pixels.count()); }

    uint8_t* data() { return m_pixels.data(); }
    const uint8_t* data() const { return m_pixels.data(); }
    // Memory row r: r = 0 is the bottom row of the picture.
    uint8_t* row(int32_t r) { return m_pixels.data() + static_cast<size_t>(r) * m_stride; }
    const uint8_t* row(int32_t r) const {
        return m_pixels.data() + static_cast<size_t>(r) * m_stride;
    }
    // Picture row y counted from the top.
    uint8_t* rowFromTop(int32_t y) { return row(m_height - 1 - y); }
    const uint8_t* rowFromTop(int32_t y) const { return row(m_height - 1 - y); }

    ByteArray& pixels() { return m_pixels; }
    const ByteArray& pixels() const { return m_pixels; }

    BitmapInfoHeader info;
    BitmapFileHeader fileHeader;
    // The file the picture was last read from; empty when none.
    std::string path;

private:
    ByteArray m_pixels;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_stride = 0;
};

// Nearest-neighbour resampling of source into a width × height destination. The ratios are
// held as 32-bit floats and each product is formed in double precision and truncated, so a
// ratio whose float lies just below its exact value picks the column below an exact multiple
// (14 → 20 columns takes column 6 for x = 10). Rows count in memory order, from the bottom.
// The destination is re-created (with headers) before anything is checked. Returns 0, -1 when
// the source has no pixels, -2 when the destination size is refused.
int ScaleImage(const Image& source, Image& destination, int32_t width, int32_t height);

}  // namespace tama05
