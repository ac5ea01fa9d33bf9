#include "core/photo_read.h"

#include <cstring>
#include <utility>

namespace tama05 {

namespace {

uint8_t Sample(const uint8_t* row, int32_t index, int bitDepth, uint32_t maxValue) {
    if (bitDepth == 8) {
        return row[index];
    }
    uint16_t value;
    std::memcpy(&value, row + 2 * static_cast<size_t>(index), 2);
    if (value >= maxValue) {
        return 255;
    }
    return static_cast<uint8_t>((uint32_t{value} * 255 + maxValue / 2) / maxValue);
}

}  // namespace

bool HasFileTypeBrand(std::span<const uint8_t> head, std::string_view brand) {
    if (head.size() < 12 || brand.size() != 4 || std::memcmp(head.data() + 4, "ftyp", 4) != 0) {
        return false;
    }
    const uint64_t boxSize =
        (uint64_t{head[0]} << 24) | (uint64_t{head[1]} << 16) | (uint64_t{head[2]} << 8) | head[3];
    if (boxSize < 16) {
        return false;
    }
    if (std::memcmp(head.data() + 8, brand.data(), 4) == 0) {
        return true;
    }
    // Compatible brands follow the major brand and the 4-byte minor version.
    const size_t end = boxSize < head.size() ? static_cast<size_t>(boxSize) : head.size();
    for (size_t at = 16; at + 4 <= end; at += 4) {
        if (std::memcmp(head.data() + at, brand.data(), 4) == 0) {
            return true;
        }
    }
    return false;
}

int StoreDecodedRows(const DecodedRows& rows, Image& image, AlphaPlane* alphaPlane,
                     PictureReadState* state, int64_t maxPixels) {
    if (rows.width <= 0 || rows.height <= 0 || rows.data == nullptr ||
        (rows.channels != 3 && rows.channels != 4) || rows.bitDepth < 8 || rows.bitDepth > 16 ||
        !CheckPictureSize(rows.width, rows.height, maxPixels)) {
        return kPhotoSizeRefused;
    }
    Image read;
    if (read.CreateFilled(rows.width, rows.height, 0) != 0) {
        return kPhotoSizeRefused;
    }
    read.SetHeaders();
    const bool hasAlpha = rows.channels == 4 && rows.hasAlpha;
    AlphaPlane plane;
    if (alphaPlane != nullptr) {
        if (!plane.FillOpaque(rows.width, rows.height)) {
            return kPhotoSizeRefused;
        }
        plane.fromFile = hasAlpha;
    }
    const uint32_t maxValue = (uint32_t{1} << rows.bitDepth) - 1;
    for (int32_t y = 0; y < rows.height; ++y) {
        const uint8_t* from = rows.data + static_cast<size_t>(y) * rows.rowBytes;
        const int32_t memoryRow = rows.height - 1 - y;
        uint8_t* to = read.row(memoryRow);
        uint8_t* alpha = alphaPlane != nullptr && hasAlpha
                             ? plane.values.data() + static_cast<size_t>(memoryRow) * rows.width
                             : nullptr;
        for (int32_t x = 0; x < rows.width; ++x) {
            const int32_t at = x * rows.channels;
            to[3 * x] = Sample(from, at + 2, rows.bitDepth, maxValue);
            to[3 * x + 1] = Sample(from, at + 1, rows.bitDepth, maxValue);
            to[3 * x + 2] = Sample(from, at, rows.bitDepth, maxValue);
            if (alpha != nullptr) {
                alpha[x] = Sample(from, at + 3, rows.bitDepth, maxValue);
            }
        }
    }
    image = std::move(read);
    if (alphaPlane != nullptr) {
        *alphaPlane = std::move(plane);
    }
    if (hasAlpha && state != nullptr) {
        state->PictureHasAlpha = true;
    }
    return kPhotoOk;
}

}  // namespace tama05
