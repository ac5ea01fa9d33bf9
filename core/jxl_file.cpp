// JPEG XL files are a code stream, bare or inside ISO-style boxes. libjxl decodes them event by
// event: the basic information (size, orientation, alpha, sample depth) comes before any pixel
// buffer is asked for, so the size is judged before anything large is allocated.
#include "core/jxl_file.h"

#include <jxl/decode.h>

#include <cstring>
#include <new>
#include <vector>

namespace tama05 {

namespace {

constexpr uint8_t kCodeStream[2] = {0xFF, 0x0A};
constexpr uint8_t kContainer[12] = {0, 0, 0, 0x0C, 'J', 'X', 'L', ' ', 0x0D, 0x0A, 0x87, 0x0A};

class Decoder {
  public:
    Decoder() : m_decoder(JxlDecoderCreate(nullptr)) {}
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() { JxlDecoderDestroy(m_decoder); }
    JxlDecoder* get() const { return m_decoder; }

  private:
    JxlDecoder* m_decoder;
};

}  // namespace

bool LooksLikeJxl(std::span<const uint8_t> head) {
    return (head.size() >= 2 && std::memcmp(head.data(), kCodeStream, 2) == 0) ||
           (head.size() >= 12 && std::memcmp(head.data(), kContainer, 12) == 0);
}

int ReadJxlBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                 PictureReadState* state, const PhotoReadOptions& options) {
    if (alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    if (!LooksLikeJxl(bytes)) {
        return kPhotoNotRecognised;
    }
    Decoder decoder;
    JxlDecoder* d = decoder.get();
    if (d == nullptr) {
        return kPhotoSizeRefused;
    }
    if (JxlDecoderSubscribeEvents(d, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetKeepOrientation(d, options.keepOrientation ? JXL_TRUE : JXL_FALSE) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(d, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(d, bytes.data(), bytes.size()) != JXL_DEC_SUCCESS) {
        return kPhotoCorrupt;
    }
    JxlDecoderCloseInput(d);

    JxlBasicInfo info;
    bool haveInfo = false;
    JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    std::vector<uint8_t> pixels;
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(d);
        if (status == JXL_DEC_BASIC_INFO) {
            if (JxlDecoderGetBasicInfo(d, &info) != JXL_DEC_SUCCESS) {
                return kPhotoCorrupt;
            }
            // Without orientation kept, the sizes are those of the upright picture.
            if (!CheckPictureSize(info.xsize, info.ysize, options.maxPixels)) {
                return kPhotoSizeRefused;
            }
            haveInfo = true;
            format.num_channels = info.alpha_bits > 0 ? 4 : 3;
            format.data_type = info.bits_per_sample > 8 ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8;
        } else if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            size_t size = 0;
            const size_t sampleBytes = format.data_type == JXL_TYPE_UINT16 ? 2 : 1;
            if (!haveInfo || JxlDecoderImageOutBufferSize(d, &format, &size) != JXL_DEC_SUCCESS ||
                size != size_t{info.xsize} * info.ysize * format.num_channels * sampleBytes) {
                return kPhotoCorrupt;
            }
            try {
                pixels.resize(size);
            } catch (const std::bad_alloc&) {
                return kPhotoSizeRefused;
            }
            if (JxlDecoderSetImageOutBuffer(d, &format, pixels.data(), pixels.size()) !=
                JXL_DEC_SUCCESS) {
                return kPhotoCorrupt;
            }
        } else if (status == JXL_DEC_FULL_IMAGE) {
            break;  // the first frame is the picture
        } else {
            // An error, data that ends early, or the end without any frame.
            return kPhotoCorrupt;
        }
    }
    if (pixels.empty()) {
        return kPhotoCorrupt;
    }
    DecodedRows rows;
    rows.data = pixels.data();
    rows.width = static_cast<int32_t>(info.xsize);
    rows.height = static_cast<int32_t>(info.ysize);
    rows.channels = static_cast<int>(format.num_channels);
    rows.hasAlpha = format.num_channels == 4;
    rows.bitDepth = format.data_type == JXL_TYPE_UINT16 ? 16 : 8;
    rows.rowBytes = static_cast<size_t>(rows.width) * rows.channels * (rows.bitDepth / 8);
    return StoreDecodedRows(rows, image, alphaPlane, state, options.maxPixels);
}

}  // namespace tama05
