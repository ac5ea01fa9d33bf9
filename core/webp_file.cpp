// WebP files are RIFF containers ("RIFF", size, "WEBP") holding a lossy (VP8), lossless (VP8L)
// or extended (VP8X: alpha, animation, metadata) picture. libwebp reads the features and
// decodes; libwebpdemux composes the first frame of an animation on its canvas.
#include "core/webp_file.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <new>
#include <vector>

namespace tama05 {

namespace {

class AnimationDecoder {
  public:
    explicit AnimationDecoder(std::span<const uint8_t> bytes) {
        WebPAnimDecoderOptions options;
        if (!WebPAnimDecoderOptionsInit(&options)) {
            return;
        }
        options.color_mode = MODE_RGBA;
        options.use_threads = 0;
        const WebPData data{bytes.data(), bytes.size()};
        m_decoder = WebPAnimDecoderNew(&data, &options);
    }
    AnimationDecoder(const AnimationDecoder&) = delete;
    AnimationDecoder& operator=(const AnimationDecoder&) = delete;
    ~AnimationDecoder() { WebPAnimDecoderDelete(m_decoder); }
    WebPAnimDecoder* get() const { return m_decoder; }

  private:
    WebPAnimDecoder* m_decoder = nullptr;
};

int ReadAnimation(std::span<const uint8_t> bytes, bool hasAlpha, Image& image,
                  AlphaPlane* alphaPlane, PictureReadState* state, int64_t maxPixels) {
    AnimationDecoder decoder(bytes);
    WebPAnimInfo info;
    if (decoder.get() == nullptr || !WebPAnimDecoderGetInfo(decoder.get(), &info)) {
        return kPhotoCorrupt;
    }
    if (!CheckPictureSize(info.canvas_width, info.canvas_height, maxPixels)) {
        return kPhotoSizeRefused;
    }
    uint8_t* frame = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &frame, &timestamp) || frame == nullptr) {
        return kPhotoCorrupt;
    }
    DecodedRows rows;
    rows.data = frame;
    rows.width = static_cast<int32_t>(info.canvas_width);
    rows.height = static_cast<int32_t>(info.canvas_height);
    rows.rowBytes = static_cast<size_t>(rows.width) * 4;
    rows.channels = 4;
    rows.hasAlpha = hasAlpha;
    return StoreDecodedRows(rows, image, alphaPlane, state, maxPixels);
}

}  // namespace

bool LooksLikeWebp(std::span<const uint8_t> head) {
    return head.size() >= 12 && std::memcmp(head.data(), "RIFF", 4) == 0 &&
           std::memcmp(head.data() + 8, "WEBP", 4) == 0;
}

int ReadWebpBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                  PictureReadState* state, const PhotoReadOptions& options) {
    if (alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    if (!LooksLikeWebp(bytes)) {
        return kPhotoNotRecognised;
    }
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) {
        return kPhotoCorrupt;
    }
    // For an extended file these are the canvas's size, which every frame lies within.
    if (!CheckPictureSize(features.width, features.height, options.maxPixels)) {
        return kPhotoSizeRefused;
    }
    const bool hasAlpha = features.has_alpha != 0;
    if (features.has_animation) {
        return ReadAnimation(bytes, hasAlpha, image, alphaPlane, state, options.maxPixels);
    }
    const int channels = hasAlpha ? 4 : 3;
    const size_t rowBytes = static_cast<size_t>(features.width) * channels;
    std::vector<uint8_t> pixels;
    try {
        pixels.resize(rowBytes * static_cast<size_t>(features.height));
    } catch (const std::bad_alloc&) {
        return kPhotoSizeRefused;
    }
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) {
        return kPhotoCorrupt;
    }
    config.output.colorspace = hasAlpha ? MODE_RGBA : MODE_RGB;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = pixels.data();
    config.output.u.RGBA.stride = static_cast<int>(rowBytes);
    config.output.u.RGBA.size = pixels.size();
    const VP8StatusCode status = WebPDecode(bytes.data(), bytes.size(), &config);
    WebPFreeDecBuffer(&config.output);
    if (status == VP8_STATUS_OUT_OF_MEMORY) {
        return kPhotoSizeRefused;
    }
    if (status != VP8_STATUS_OK) {
        return kPhotoCorrupt;
    }
    DecodedRows rows;
    rows.data = pixels.data();
    rows.rowBytes = rowBytes;
    rows.width = features.width;
    rows.height = features.height;
    rows.channels = channels;
    rows.hasAlpha = hasAlpha;
    return StoreDecodedRows(rows, image, alphaPlane, state, options.maxPixels);
}

}  // namespace tama05
