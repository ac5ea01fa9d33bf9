#include "painter/raw_picture.h"

#include <algorithm>
#include <cstring>

namespace tama05 {

int DecodeRunLengthStream(ByteReader& reader, std::span<uint8_t> plane) {
    size_t filled = 0;
    while (filled < plane.size()) {
        uint8_t value = 0;
        if (!reader.ReadU8(value)) {
            return 0;
        }
        const size_t room = plane.size() - filled;
        size_t zeros = 0;
        uint8_t n = 0;
        for (;;) {
            if (!reader.ReadU8(n)) {
                return 0;
            }
            if (n != 0) {
                break;
            }
            ++zeros;
            // 256 × zeros + n with n ≥ 1 already passes the plane.
            if (zeros * 256 >= room) {
                return -1;
            }
        }
        const size_t run = zeros * 256 + n;
        if (run > room) {
            return -1;
        }
        std::memset(plane.data() + filled, value, run);
        filled += run;
    }
    return 0;
}

int ReadRawPicture(ByteReader& reader, int32_t width, int32_t height, Image& image) {
    Image picture;
    if (picture.CreateFilled(width, height, 0) != 0) {
        return kRawPictureBadSize;
    }
    picture.SetHeaders();
    int32_t mode = 0;
    int32_t count = 0;
    if (!reader.ReadI32(mode) || !reader.ReadI32(count)) {
        return kRawPictureDamaged;
    }
    if (mode == 0 || mode == 1) {
        if (count < 0 || static_cast<size_t>(count) > picture.byteCount()) {
            return kRawPictureDamaged;
        }
    }
    if (mode == 0) {
        std::span<const uint8_t> bytes;
        if (!reader.ReadSpan(static_cast<size_t>(count), bytes)) {
            return kRawPictureDamaged;
        }
        std::copy(bytes.begin(), bytes.end(), picture.data());
    } else if (mode == 1) {
        const size_t planeBytes = static_cast<size_t>(count) / 3;
        std::vector<uint8_t> plane(planeBytes);
        for (size_t j = 0; j < 3; ++j) {
            std::fill(plane.begin(), plane.end(), uint8_t{0});
            if (DecodeRunLengthStream(reader, plane) != 0) {
                return kRawPictureDamaged;
            }
            uint8_t* block = picture.data();
            for (size_t k = 0; k < planeBytes; ++k) {
                block[3 * k + j] = plane[k];
            }
        }
    }
    image = std::move(picture);
    return kRawPictureOk;
}

}  // namespace tama05
