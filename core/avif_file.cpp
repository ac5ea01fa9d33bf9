// AVIF files are HEIF files whose pictures are AV1 frames. libavif parses the boxes and decodes
// through its AV1 decoder; it reports the crop ("clap"), rotation ("irot") and mirroring
// ("imir") without applying them, so they are applied here in that order.
#include "core/avif_file.h"

#include <avif/avif.h>

#include <algorithm>
#include <new>
#include <vector>

#include "core/orientation.h"

namespace tama05 {

namespace {

class Decoder {
  public:
    Decoder() : m_decoder(avifDecoderCreate()) {}
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() { avifDecoderDestroy(m_decoder); }
    avifDecoder* get() const { return m_decoder; }

  private:
    avifDecoder* m_decoder;
};

class RgbPixels {
  public:
    RgbPixels(const RgbPixels&) = delete;
    RgbPixels& operator=(const RgbPixels&) = delete;
    explicit RgbPixels(const avifImage* image) { avifRGBImageSetDefaults(&rgb, image); }
    ~RgbPixels() { avifRGBImageFreePixels(&rgb); }
    avifRGBImage rgb;
};

int CodeOf(avifResult result) {
    switch (result) {
        case AVIF_RESULT_OUT_OF_MEMORY:
            return kPhotoSizeRefused;
        case AVIF_RESULT_NO_CODEC_AVAILABLE:
        case AVIF_RESULT_NOT_IMPLEMENTED:
        case AVIF_RESULT_UNSUPPORTED_DEPTH:
            return kPhotoUnsupported;
        default:
            return kPhotoCorrupt;
    }
}

}  // namespace

bool LooksLikeAvif(std::span<const uint8_t> head) {
    return HasFileTypeBrand(head, "avif") || HasFileTypeBrand(head, "avis");
}

int ReadAvifBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                  PictureReadState* state, const PhotoReadOptions& options) {
    if (alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    if (!LooksLikeAvif(bytes)) {
        return kPhotoNotRecognised;
    }
    Decoder decoder;
    if (decoder.get() == nullptr) {
        return kPhotoSizeRefused;
    }
    avifDecoder* d = decoder.get();
    d->maxThreads = 1;
    d->ignoreExif = AVIF_TRUE;
    d->ignoreXMP = AVIF_TRUE;
    // Files of older encoders that leave out optional properties are read all the same.
    d->strictFlags = AVIF_STRICT_DISABLED;
    avifResult result = avifDecoderSetIOMemory(d, bytes.data(), bytes.size());
    if (result == AVIF_RESULT_OK) {
        result = avifDecoderParse(d);
    }
    if (result != AVIF_RESULT_OK) {
        return CodeOf(result);
    }
    if (!CheckPictureSize(d->image->width, d->image->height, options.maxPixels)) {
        return kPhotoSizeRefused;
    }
    // The AV1 decoder, made for the first frame, is held to the bound too.
    d->imageSizeLimit =
        static_cast<uint32_t>(std::min<int64_t>(options.maxPixels, int64_t{d->imageSizeLimit}));
    result = avifDecoderNextImage(d);
    if (result != AVIF_RESULT_OK) {
        return CodeOf(result);
    }
    const avifImage* decoded = d->image;
    if (!CheckPictureSize(decoded->width, decoded->height, options.maxPixels)) {
        return kPhotoSizeRefused;
    }
    const bool hasAlpha = decoded->alphaPlane != nullptr;
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, decoded);
    rgb.format = hasAlpha ? AVIF_RGB_FORMAT_RGBA : AVIF_RGB_FORMAT_RGB;
    rgb.depth = decoded->depth > 8 ? decoded->depth : 8;
    rgb.alphaPremultiplied = AVIF_FALSE;
    const int channels = hasAlpha ? 4 : 3;
    const size_t sampleBytes = rgb.depth > 8 ? 2 : 1;
    // Our own buffer: the library's allocator ends the process when memory runs out.
    std::vector<uint8_t> pixels;
    const size_t rowBytes = size_t{rgb.width} * channels * sampleBytes;
    try {
        pixels.resize(rowBytes * rgb.height);
    } catch (const std::bad_alloc&) {
        return kPhotoSizeRefused;
    }
    rgb.pixels = pixels.data();
    rgb.rowBytes = static_cast<uint32_t>(rowBytes);
    result = avifImageYUVToRGB(decoded, &rgb);
    if (result != AVIF_RESULT_OK) {
        return CodeOf(result);
    }
    DecodedRows rows;
    rows.data = rgb.pixels;
    rows.rowBytes = rgb.rowBytes;
    rows.width = static_cast<int32_t>(rgb.width);
    rows.height = static_cast<int32_t>(rgb.height);
    rows.channels = channels;
    rows.hasAlpha = hasAlpha;
    rows.bitDepth = static_cast<int>(rgb.depth);
    int tag = kOrientationUpright;
    if (!options.keepOrientation) {
        avifCropRect crop;
        avifDiagnostics diagnostics;
        if ((decoded->transformFlags & AVIF_TRANSFORM_CLAP) != 0 &&
            avifCropRectConvertCleanApertureBox(&crop, &decoded->clap, decoded->width,
                                                decoded->height, decoded->yuvFormat,
                                                &diagnostics) &&
            crop.width > 0 && crop.height > 0 && crop.width <= rgb.width &&
            crop.height <= rgb.height && crop.x <= rgb.width - crop.width &&
            crop.y <= rgb.height - crop.height) {
            rows.data += crop.y * rows.rowBytes + crop.x * channels * sampleBytes;
            rows.width = static_cast<int32_t>(crop.width);
            rows.height = static_cast<int32_t>(crop.height);
        }
        const int turns =
            (decoded->transformFlags & AVIF_TRANSFORM_IROT) != 0 ? decoded->irot.angle & 3 : 0;
        const int mirror = (decoded->transformFlags & AVIF_TRANSFORM_IMIR) != 0
                               ? (decoded->imir.mode == 0 ? 1 : 2)
                               : 0;
        tag = OrientationFromRotateMirror(turns, mirror);
    }
    Image read;
    AlphaPlane plane;
    PictureReadState readState;
    const int stored = StoreDecodedRows(rows, read, alphaPlane != nullptr ? &plane : nullptr,
                                        &readState, options.maxPixels);
    if (stored != kPhotoOk) {
        return stored;
    }
    if (ApplyOrientation(read, alphaPlane != nullptr ? &plane : nullptr, tag) != 0) {
        return kPhotoSizeRefused;
    }
    image = std::move(read);
    if (alphaPlane != nullptr) {
        *alphaPlane = std::move(plane);
    }
    if (readState.PictureHasAlpha && state != nullptr) {
        state->PictureHasAlpha = true;
    }
    return kPhotoOk;
}

}  // namespace tama05
