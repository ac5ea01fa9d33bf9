// JPEG markers: FF followed by a code; FF bytes may pad before a marker. SOI (D8), EOI (D9),
// RST0-7 (D0-D7) and TEM (01) stand alone; every other marker starts a segment with a
// big-endian u16 length that counts itself. A frame header SOFn (C0-CF except C4 DHT, C8 JPG
// and CC DAC) holds precision, height, width, the component count and per component its id,
// sampling factors (H high nibble, V low) and table. A scan header SOS (DA) names its components
// by id; its coded data follows, where FF is followed by 00 (a stuffed byte) or a restart
// marker, until the next other marker.
#include "core/jpeg_shape.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tama05 {

namespace {

struct Component {
    int id = 0;
    int h = 1;
    int v = 1;
    uint64_t blocks = 0;
    bool coded = false;
};

uint32_t Big16(const uint8_t* p) {
    return (uint32_t{p[0]} << 8) | p[1];
}

bool IsFrameMarker(uint8_t code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

uint64_t CeilDiv(uint64_t a, uint64_t b) {
    return (a + b - 1) / b;
}

// The end of the coded data that starts at from: the position of the first marker other than
// a stuffed byte or a restart marker.
size_t SkipCodedData(std::span<const uint8_t> bytes, size_t from) {
    size_t at = from;
    while (at < bytes.size()) {
        const void* found = std::memchr(bytes.data() + at, 0xFF, bytes.size() - at);
        if (found == nullptr) {
            return bytes.size();
        }
        at = static_cast<size_t>(static_cast<const uint8_t*>(found) - bytes.data());
        size_t next = at + 1;
        while (next < bytes.size() && bytes[next] == 0xFF) {
            ++next;
        }
        if (next >= bytes.size()) {
            return bytes.size();
        }
        const uint8_t code = bytes[next];
        if (code != 0x00 && !(code >= 0xD0 && code <= 0xD7)) {
            return at;
        }
        at = next + 1;
    }
    return bytes.size();
}

}  // namespace

std::optional<JpegShape> InspectJpegShape(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        return std::nullopt;
    }
    JpegShape shape;
    std::array<Component, 4> components{};
    bool haveFrame = false;
    size_t firstScanData = 0;
    size_t at = 2;
    while (at < bytes.size()) {
        if (bytes[at] != 0xFF) {
            // Stray bytes between segments: the decoder skips them, and so do we.
            at = SkipCodedData(bytes, at);
            continue;
        }
        while (at < bytes.size() && bytes[at] == 0xFF) {
            ++at;
        }
        if (at >= bytes.size()) {
            break;
        }
        const uint8_t code = bytes[at++];
        if (code == 0xD9) {
            shape.ended = true;
            break;
        }
        if (code == 0xD8 || code == 0x01 || (code >= 0xD0 && code <= 0xD7) || code == 0x00) {
            continue;
        }
        if (bytes.size() - at < 2) {
            break;
        }
        const size_t length = Big16(bytes.data() + at);
        if (length < 2 || bytes.size() - at < length) {
            break;
        }
        const uint8_t* segment = bytes.data() + at + 2;
        const size_t segmentBytes = length - 2;
        at += length;
        if (IsFrameMarker(code) && !haveFrame) {
            if (segmentBytes < 6) {
                break;
            }
            shape.height = Big16(segment + 1);
            shape.width = Big16(segment + 3);
            shape.components = segment[5];
            shape.progressive = code == 0xC2 || code == 0xC6 || code == 0xCA || code == 0xCE;
            shape.arithmetic = code >= 0xC9;
            if (shape.components < 1 || shape.components > 4 ||
                segmentBytes < 6 + 3 * static_cast<size_t>(shape.components)) {
                return std::nullopt;
            }
            int hMax = 1;
            int vMax = 1;
            for (int c = 0; c < shape.components; ++c) {
                Component& component = components[c];
                component.id = segment[6 + 3 * c];
                component.h = std::max(1, segment[7 + 3 * c] >> 4);
                component.v = std::max(1, segment[7 + 3 * c] & 0x0F);
                hMax = std::max(hMax, component.h);
                vMax = std::max(vMax, component.v);
            }
            for (int c = 0; c < shape.components; ++c) {
                Component& component = components[c];
                const uint64_t w = CeilDiv(uint64_t{shape.width} * component.h, hMax);
                const uint64_t h = CeilDiv(uint64_t{shape.height} * component.v, vMax);
                component.blocks = CeilDiv(w, 8) * CeilDiv(h, 8);
                shape.blocks += component.blocks;
            }
            haveFrame = true;
        } else if (code == 0xDA) {
            if (!haveFrame || segmentBytes < 1) {
                break;
            }
            const size_t count = segment[0];
            if (segmentBytes < 1 + 2 * count) {
                break;
            }
            for (size_t i = 0; i < count; ++i) {
                for (int c = 0; c < shape.components; ++c) {
                    if (components[c].id == segment[1 + 2 * i]) {
                        shape.scanBlocks += components[c].blocks;
                        components[c].coded = true;
                    }
                }
            }
            ++shape.scans;
            if (firstScanData == 0) {
                firstScanData = at;
            }
            at = SkipCodedData(bytes, at);
        }
    }
    if (!haveFrame) {
        return std::nullopt;
    }
    for (int c = 0; c < shape.components; ++c) {
        if (components[c].coded) {
            shape.codedBlocks += components[c].blocks;
        }
    }
    if (firstScanData != 0) {
        shape.entropyBytes = std::min(at, bytes.size()) - firstScanData;
    }
    return shape;
}

bool JpegWorkAcceptable(std::span<const uint8_t> bytes) {
    const std::optional<JpegShape> shape = InspectJpegShape(bytes);
    if (!shape) {
        return true;
    }
    if (!shape->arithmetic && shape->entropyBytes * 8 < shape->codedBlocks) {
        return false;
    }
    return !shape->progressive || shape->scanBlocks <= kMaxJpegScanBlocksPerBlock * shape->blocks;
}

}  // namespace tama05
