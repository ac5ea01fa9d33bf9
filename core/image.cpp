#include "core/image.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/limits.h"

namespace tama05 {

namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

}  // namespace

std::array<uint8_t, 40> BitmapInfoHeader::Bytes() const {
    std::array<uint8_t, 40> b{};
    Put32(&b[0], biSize);
    Put32(&b[4], static_cast<uint32_t>(biWidth));
    Put32(&b[8], static_cast<uint32_t>(biHeight));
    Put16(&b[12], biPlanes);
    Put16(&b[14], biBitCount);
    Put32(&b[16], biCompression);
    Put32(&b[20], biSizeImage);
    Put32(&b[24], static_cast<uint32_t>(biXPelsPerMeter));
    Put32(&b[28], static_cast<uint32_t>(biYPelsPerMeter));
    Put32(&b[32], biClrUsed);
    Put32(&b[36], biClrImportant);
    return b;
}

std::array<uint8_t, 14> BitmapFileHeader::Bytes() const {
    std::array<uint8_t, 14> b{};
    Put16(&b[0], bfType);
    Put32(&b[2], bfSize);
    Put16(&b[6], bfReserved1);
    Put16(&b[8], bfReserved2);
    Put32(&b[10], bfOffBits);
    return b;
}

int Image::Create(int32_t width, int32_t height) {
    const auto size = CheckPictureSize(width, height);
    if (!size) {
        Clear();
        return -1;
    }
    m_width = width;
    m_height = height;
    m_stride = size->stride;
    if (!m_pixels.Allocate(static_cast<int32_t>(size->bytes))) {
        Clear();
        return -1;
    }
    return 0;
}

int Image::CreateFilled(int32_t width, int32_t height, uint8_t value) {
    if (Create(width, height) != 0) {
        return -1;
    }
    if (!m_pixels.empty()) {
        std::memset(m_pixels.data(), value, byteCount());
    }
    return 0;
}

int Image::CopyFrom(const Image& source) {
    if (this == &source) {
        return SetHeaders();
    }
    if (Create(source.m_width, source.m_height) != 0) {
        return -1;
    }
    if (!m_pixels.empty()) {
        std::memcpy(m_pixels.data(), source.data(), byteCount());
    }
    return SetHeaders();
}

int Image::SetHeaders() {
    const uint32_t imageBytes = static_cast<uint32_t>(m_stride) * static_cast<uint32_t>(m_height);
    info = BitmapInfoHeader{};
    info.biSize = 40;
    info.biWidth = m_width;
    info.biHeight = m_height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = 0;
    info.biSizeImage = imageBytes;
    fileHeader = BitmapFileHeader{};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = imageBytes + 54;
    fileHeader.bfOffBits = 54;
    return 0;
}

void Image::Clear() {
    m_pixels.Release();
    m_width = 0;
    m_height = 0;
    m_stride = 0;
}

int ScaleImage(const Image& source, Image& destination, int32_t width, int32_t height) {
    if (&source == &destination) {
        Image copy;
        if (copy.CopyFrom(source) != 0) {
            return -2;
        }
        return ScaleImage(copy, destination, width, height);
    }
    if (destination.Create(width, height) != 0) {
        return -2;
    }
    destination.SetHeaders();
    if (source.width() <= 0 || source.height() <= 0 || source.empty()) {
        return -1;
    }
    if (width <= 0 || height <= 0) {
        return 0;
    }
    const float rx = static_cast<float>(static_cast<double>(source.width()) / width);
    const float ry = static_cast<float>(static_cast<double>(source.height()) / height);
    const int32_t lastColumn = source.width() - 1;
    const int32_t lastRow = source.height() - 1;

    // The column map is the same for every row: compute its byte offsets once.
    std::vector<int32_t> columnOffset(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x) {
        int64_t sx = static_cast<int64_t>(x * static_cast<double>(rx));
        columnOffset[static_cast<size_t>(x)] = static_cast<int32_t>(std::min<int64_t>(sx, lastColumn) * 3);
    }
    for (int32_t y = 0; y < height; ++y) {
        int64_t sy = static_cast<int64_t>(y * static_cast<double>(ry));
        const uint8_t* from = source.row(static_cast<int32_t>(std::min<int64_t>(sy, lastRow)));
        uint8_t* to = destination.row(y);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = from + columnOffset[static_cast<size_t>(x)];
            to[0] = p[0];
            to[1] = p[1];
            to[2] = p[2];
            to += 3;
        }
    }
    return 0;
}

}  // namespace tama05
