// EXIF data is a little TIFF file: "II" (little-endian) or "MM" (big-endian), the number 42,
// the offset of the first image directory (IFD0); a directory is a 16-bit entry count and
// 12-byte entries of tag, type, count and a 4-byte value (or offset). Orientation is tag 0x0112,
// one SHORT (type 3) held in the value field. In a JPEG file the EXIF data is the body of an
// APP1 segment (FF E1, 16-bit big-endian length counting itself) after "Exif\0\0".
#include "core/orientation.h"

#include <cstring>
#include <utility>

namespace tama05 {

namespace {

struct SourcePixel {
    int32_t x;
    int32_t y;  // counted from the top
};

// The stored pixel seen at (x, y) from the top of the upright picture.
SourcePixel SourceOf(int tag, int32_t x, int32_t y, int32_t width, int32_t height) {
    switch (tag) {
        case 2:
            return {width - 1 - x, y};
        case 3:
            return {width - 1 - x, height - 1 - y};
        case 4:
            return {x, height - 1 - y};
        case 5:
            return {y, x};
        case 6:
            return {y, height - 1 - x};
        case 7:
            return {width - 1 - y, height - 1 - x};
        case 8:
            return {width - 1 - y, x};
        default:
            return {x, y};
    }
}

class ExifReader {
  public:
    ExifReader(std::span<const uint8_t> bytes, bool bigEndian)
        : m_bytes(bytes), m_bigEndian(bigEndian) {}

    bool U16(size_t at, uint16_t& out) const {
        if (at > m_bytes.size() || m_bytes.size() - at < 2) {
            return false;
        }
        const uint8_t* p = m_bytes.data() + at;
        out = m_bigEndian ? static_cast<uint16_t>((p[0] << 8) | p[1])
                          : static_cast<uint16_t>(p[0] | (p[1] << 8));
        return true;
    }
    bool U32(size_t at, uint32_t& out) const {
        uint16_t a;
        uint16_t b;
        if (!U16(at, a) || !U16(at + 2, b)) {
            return false;
        }
        out = m_bigEndian ? (uint32_t{a} << 16) | b : (uint32_t{b} << 16) | a;
        return true;
    }

  private:
    std::span<const uint8_t> m_bytes;
    bool m_bigEndian;
};

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

}  // namespace

int ApplyOrientation(Image& image, AlphaPlane* alphaPlane, int tag) {
    if (tag < 2 || tag > 8 || image.empty()) {
        return 0;
    }
    const int32_t width = image.width();
    const int32_t height = image.height();
    const bool turned = tag >= 5;
    const int32_t newWidth = turned ? height : width;
    const int32_t newHeight = turned ? width : height;
    Image upright;
    if (upright.CreateFilled(newWidth, newHeight, 0) != 0) {
        return -1;
    }
    upright.SetHeaders();
    upright.path = image.path;
    const bool withPlane = alphaPlane != nullptr && alphaPlane->Matches(width, height);
    AlphaPlane plane;
    if (withPlane) {
        if (!plane.FillOpaque(newWidth, newHeight)) {
            return -1;
        }
        plane.fromFile = alphaPlane->fromFile;
    }
    for (int32_t y = 0; y < newHeight; ++y) {
        uint8_t* to = upright.rowFromTop(y);
        const int32_t memoryRow = newHeight - 1 - y;
        for (int32_t x = 0; x < newWidth; ++x) {
            const SourcePixel from = SourceOf(tag, x, y, width, height);
            std::memcpy(to + 3 * x, image.rowFromTop(from.y) + 3 * from.x, 3);
            if (withPlane) {
                plane.values[static_cast<size_t>(memoryRow) * newWidth + x] =
                    alphaPlane->At(height - 1 - from.y, from.x);
            }
        }
    }
    image = std::move(upright);
    if (withPlane) {
        *alphaPlane = std::move(plane);
    }
    return 0;
}

int OrientationFromRotateMirror(int anticlockwiseQuarterTurns, int mirror) {
    // Rows: quarter turns 0..3; columns: no mirror, top and bottom exchanged, left and right.
    static constexpr int kTags[4][3] = {{1, 4, 2}, {8, 5, 7}, {3, 2, 4}, {6, 7, 5}};
    if (anticlockwiseQuarterTurns < 0 || anticlockwiseQuarterTurns > 3 || mirror < 0 ||
        mirror > 2) {
        return kOrientationUpright;
    }
    return kTags[anticlockwiseQuarterTurns][mirror];
}

int ReadExifOrientation(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) {
        return kOrientationUpright;
    }
    bool bigEndian;
    if (tiff[0] == 'I' && tiff[1] == 'I') {
        bigEndian = false;
    } else if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else {
        return kOrientationUpright;
    }
    const ExifReader exif(tiff, bigEndian);
    uint16_t magic;
    uint32_t directory;
    uint16_t entries;
    if (!exif.U16(2, magic) || magic != 42 || !exif.U32(4, directory) ||
        !exif.U16(directory, entries)) {
        return kOrientationUpright;
    }
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = size_t{directory} + 2 + size_t{i} * 12;
        uint16_t tag;
        uint16_t type;
        uint32_t count;
        uint16_t value;
        if (!exif.U16(at, tag) || !exif.U16(at + 2, type) || !exif.U32(at + 4, count) ||
            !exif.U16(at + 8, value)) {
            return kOrientationUpright;
        }
        if (tag == kOrientationTag) {
            return type == kShortType && count == 1 && value >= 1 && value <= 8
                       ? value
                       : kOrientationUpright;
        }
    }
    return kOrientationUpright;
}

int ReadJpegOrientation(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        return kOrientationUpright;
    }
    size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF) {
            return kOrientationUpright;
        }
        const uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) {  // end of picture, start of scan
            return kOrientationUpright;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        const size_t length = (size_t{bytes[at + 2]} << 8) | bytes[at + 3];
        if (length < 2 || length > bytes.size() - at - 2) {
            return kOrientationUpright;
        }
        const std::span<const uint8_t> body = bytes.subspan(at + 4, length - 2);
        static constexpr uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == 0xE1 && body.size() >= 6 && std::memcmp(body.data(), kExif, 6) == 0) {
            return ReadExifOrientation(body.subspan(6));
        }
        at += 2 + length;
    }
    return kOrientationUpright;
}

}  // namespace tama05
