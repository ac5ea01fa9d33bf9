#pragma once

// Writers of HEIF, WebP, AVIF and JPEG XL files for the tests and the fuzz seeds, each through
// the encoder of the library that reads the format. Pictures are given top row first.
#include <avif/avif.h>
#include <jxl/encode.h>
#include <libheif/heif.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace tama05::test {

using PhotoBytes = std::vector<uint8_t>;

// A picture to encode: red, green, blue, alpha samples of depth bits (8 to 16), top row first.
struct RgbaPicture {
    int32_t width = 0;
    int32_t height = 0;
    int depth = 8;
    std::vector<uint16_t> samples;  // width × height × 4

    const uint16_t* At(int32_t x, int32_t y) const {
        return samples.data() + (static_cast<size_t>(y) * width + x) * 4;
    }
    std::vector<uint8_t> Bytes8() const {
        return std::vector<uint8_t>(samples.begin(), samples.end());
    }
};

// Random samples; alpha from 1 to the largest value, so lossless encoders keep every colour.
inline RgbaPicture RandomRgba(int32_t width, int32_t height, std::mt19937& rng, int depth = 8) {
    RgbaPicture picture{width, height, depth, {}};
    const uint32_t top = (1u << depth) - 1;
    std::uniform_int_distribution<uint32_t> sample(0, top);
    std::uniform_int_distribution<uint32_t> alpha(1, top);
    picture.samples.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < picture.samples.size(); ++i) {
        picture.samples[i] = static_cast<uint16_t>(i % 4 == 3 ? alpha(rng) : sample(rng));
    }
    return picture;
}

// Smooth colour ramps (opaque), which lossy encoders keep close.
inline RgbaPicture RampRgba(int32_t width, int32_t height) {
    RgbaPicture picture{width, height, 8, {}};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture.samples.push_back(static_cast<uint16_t>(40 + 160 * x / width));
            picture.samples.push_back(static_cast<uint16_t>(40 + 160 * y / height));
            picture.samples.push_back(static_cast<uint16_t>(120));
            picture.samples.push_back(static_cast<uint16_t>(255));
        }
    }
    return picture;
}

// EXIF data (a little TIFF file, "II" or "MM") whose first directory holds a resolution unit
// and then the orientation tag.
inline PhotoBytes ExifTiff(int tag, bool bigEndian) {
    PhotoBytes tiff;
    auto put16 = [&tiff, bigEndian](uint16_t v) {
        tiff.push_back(static_cast<uint8_t>(bigEndian ? v >> 8 : v));
        tiff.push_back(static_cast<uint8_t>(bigEndian ? v : v >> 8));
    };
    auto put32 = [&put16, bigEndian](uint32_t v) {
        put16(static_cast<uint16_t>(bigEndian ? v >> 16 : v));
        put16(static_cast<uint16_t>(bigEndian ? v : v >> 16));
    };
    const uint8_t order = bigEndian ? 'M' : 'I';
    tiff.push_back(order);
    tiff.push_back(order);
    put16(42);
    put32(8);
    put16(2);       // entries
    put16(0x0128);  // resolution unit: SHORT 2, in the first half of the value field
    put16(3);
    put32(1);
    put16(2);
    put16(0);
    put16(0x0112);  // orientation
    put16(3);
    put32(1);
    put16(static_cast<uint16_t>(tag));
    put16(0);
    put32(0);  // no next directory
    return tiff;
}

// --- WebP ---

inline PhotoBytes MakeWebp(const RgbaPicture& picture, bool alpha, bool lossless,
                           float quality = 90) {
    std::vector<uint8_t> samples;
    for (size_t i = 0; i < picture.samples.size(); ++i) {
        if (alpha || i % 4 != 3) {
            samples.push_back(static_cast<uint8_t>(picture.samples[i]));
        }
    }
    const int stride = picture.width * (alpha ? 4 : 3);
    uint8_t* out = nullptr;
    size_t size = 0;
    if (alpha) {
        size = lossless ? WebPEncodeLosslessRGBA(samples.data(), picture.width, picture.height,
                                                 stride, &out)
                        : WebPEncodeRGBA(samples.data(), picture.width, picture.height, stride,
                                         quality, &out);
    } else {
        size = lossless ? WebPEncodeLosslessRGB(samples.data(), picture.width, picture.height,
                                                stride, &out)
                        : WebPEncodeRGB(samples.data(), picture.width, picture.height, stride,
                                        quality, &out);
    }
    PhotoBytes bytes(out, out + size);
    WebPFree(out);
    return bytes;
}

// An animation of the given frames (all of the first frame's size), lossless.
inline PhotoBytes MakeAnimatedWebp(const std::vector<RgbaPicture>& frames) {
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(frames[0].width, frames[0].height, &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = 1;
    int timestamp = 0;
    for (const RgbaPicture& frame : frames) {
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = frame.width;
        picture.height = frame.height;
        const std::vector<uint8_t> samples = frame.Bytes8();
        WebPPictureImportRGBA(&picture, samples.data(), frame.width * 4);
        WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += 100;
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData data;
    WebPDataInit(&data);
    WebPAnimEncoderAssemble(encoder, &data);
    PhotoBytes bytes(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

// --- HEIF ---

struct HeifForm {
    bool alpha = false;
    bool lossless = false;
    int quality = 90;
    heif_compression_format compression = heif_compression_HEVC;
    int orientation = 1;  // EXIF value, stored as rotation and mirroring
};

inline heif_error WriteHeifBytes(heif_context*, const void* data, size_t size, void* userdata) {
    auto* out = static_cast<PhotoBytes*>(userdata);
    const auto* p = static_cast<const uint8_t*>(data);
    out->insert(out->end(), p, p + size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

inline PhotoBytes MakeHeif(const RgbaPicture& picture, const HeifForm& form) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, form.compression, &encoder);
    heif_image* image = nullptr;
    heif_image_create(picture.width, picture.height, heif_colorspace_RGB,
                      form.alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                      &image);
    heif_image_add_plane(image, heif_channel_interleaved, picture.width, picture.height, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const int channels = form.alpha ? 4 : 3;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            for (int c = 0; c < channels; ++c) {
                plane[y * stride + x * channels + c] = static_cast<uint8_t>(picture.At(x, y)[c]);
            }
        }
    }
    heif_encoder_set_lossy_quality(encoder, form.quality);
    heif_encoder_set_lossless(encoder, form.lossless ? 1 : 0);
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = static_cast<heif_orientation>(form.orientation);
    heif_color_profile_nclx* nclx = nullptr;
    if (form.lossless) {
        // Lossless only when the colours are coded as they are: full chroma, no YCbCr matrix.
        nclx = heif_nclx_color_profile_alloc();
        nclx->matrix_coefficients = heif_matrix_coefficients_RGB_GBR;
        nclx->full_range_flag = 1;
        options->output_nclx_profile = nclx;
        heif_encoder_set_parameter_string(encoder, "chroma", "444");
    }
    heif_context_encode_image(context, image, encoder, options, nullptr);
    PhotoBytes bytes;
    heif_writer writer{1, WriteHeifBytes};
    heif_context_write(context, &writer, &bytes);
    heif_nclx_color_profile_free(nclx);
    heif_encoding_options_free(options);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

// --- AVIF ---

struct AvifForm {
    bool alpha = false;
    bool lossless = false;
    int quality = 90;  // mapped to the quantizer for lossy files
    PhotoBytes exif;   // EXIF data; libavif sets the rotation and mirroring from its orientation
    // A crop (clean aperture) of x, y, width, height when width > 0.
    uint32_t crop[4] = {0, 0, 0, 0};
};

// An AVIF of the frames (one picture, or a sequence), at the first frame's depth.
inline PhotoBytes MakeAvif(const std::vector<RgbaPicture>& frames, const AvifForm& form) {
    avifEncoder* encoder = avifEncoderCreate();
    encoder->speed = 10;
    encoder->maxThreads = 1;
    const int quantizer = form.lossless ? AVIF_QUANTIZER_LOSSLESS : (100 - form.quality) * 63 / 100;
    encoder->minQuantizer = encoder->maxQuantizer = quantizer;
    encoder->minQuantizerAlpha = encoder->maxQuantizerAlpha = form.lossless ? 0 : quantizer;
    std::vector<avifImage*> images;
    for (const RgbaPicture& frame : frames) {
        avifImage* image =
            avifImageCreate(static_cast<uint32_t>(frame.width), static_cast<uint32_t>(frame.height),
                            static_cast<uint32_t>(frame.depth),
                            form.lossless ? AVIF_PIXEL_FORMAT_YUV444 : AVIF_PIXEL_FORMAT_YUV420);
        if (form.lossless) {
            image->matrixCoefficients = AVIF_MATRIX_COEFFICIENTS_IDENTITY;
            image->yuvRange = AVIF_RANGE_FULL;
        }
        if (!form.exif.empty()) {
            avifImageSetMetadataExif(image, form.exif.data(), form.exif.size());
        }
        if (form.crop[2] > 0) {
            const avifCropRect rect{form.crop[0], form.crop[1], form.crop[2], form.crop[3]};
            avifDiagnostics diagnostics;
            avifCleanApertureBoxConvertCropRect(&image->clap, &rect, image->width, image->height,
                                                image->yuvFormat, &diagnostics);
            image->transformFlags |= AVIF_TRANSFORM_CLAP;
        }
        avifRGBImage rgb;
        avifRGBImageSetDefaults(&rgb, image);
        rgb.format = form.alpha ? AVIF_RGB_FORMAT_RGBA : AVIF_RGB_FORMAT_RGB;
        rgb.depth = static_cast<uint32_t>(frame.depth);
        avifRGBImageAllocatePixels(&rgb);
        const int channels = form.alpha ? 4 : 3;
        for (int32_t y = 0; y < frame.height; ++y) {
            for (int32_t x = 0; x < frame.width; ++x) {
                for (int c = 0; c < channels; ++c) {
                    const size_t at = static_cast<size_t>(x) * channels + c;
                    if (frame.depth > 8) {
                        reinterpret_cast<uint16_t*>(rgb.pixels + y * rgb.rowBytes)[at] =
                            frame.At(x, y)[c];
                    } else {
                        rgb.pixels[y * rgb.rowBytes + at] = static_cast<uint8_t>(frame.At(x, y)[c]);
                    }
                }
            }
        }
        avifImageRGBToYUV(image, &rgb);
        avifRGBImageFreePixels(&rgb);
        images.push_back(image);
    }
    for (avifImage* image : images) {
        avifEncoderAddImage(
            encoder, image, 1,
            images.size() == 1 ? AVIF_ADD_IMAGE_FLAG_SINGLE : AVIF_ADD_IMAGE_FLAG_NONE);
    }
    avifRWData output = AVIF_DATA_EMPTY;
    avifEncoderFinish(encoder, &output);
    PhotoBytes bytes(output.data, output.data + output.size);
    avifRWDataFree(&output);
    for (avifImage* image : images) {
        avifImageDestroy(image);
    }
    avifEncoderDestroy(encoder);
    return bytes;
}

// --- JPEG XL ---

struct JxlForm {
    bool alpha = false;
    bool lossless = false;
    float distance = 1.0f;  // lossy quality: 0 best
    int orientation = 1;
};

// A JPEG XL file of the frames (one picture, or an animation), 8 or 16 bits a sample as the first
// frame's depth says (16 for any depth above 8).
inline PhotoBytes MakeJxl(const std::vector<RgbaPicture>& frames, const JxlForm& form) {
    JxlEncoder* encoder = JxlEncoderCreate(nullptr);
    const RgbaPicture& first = frames[0];
    const bool deep = first.depth > 8;
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<uint32_t>(first.width);
    info.ysize = static_cast<uint32_t>(first.height);
    info.bits_per_sample = deep ? 16 : 8;
    info.num_color_channels = 3;
    info.alpha_bits = form.alpha ? info.bits_per_sample : 0;
    info.num_extra_channels = form.alpha ? 1 : 0;
    info.uses_original_profile = form.lossless ? JXL_TRUE : JXL_FALSE;
    info.orientation = static_cast<JxlOrientation>(form.orientation);
    if (frames.size() > 1) {
        info.have_animation = JXL_TRUE;
        info.animation.tps_numerator = 10;
        info.animation.tps_denominator = 1;
    }
    JxlEncoderSetBasicInfo(encoder, &info);
    JxlColorEncoding colour;
    JxlColorEncodingSetToSRGB(&colour, JXL_FALSE);
    JxlEncoderSetColorEncoding(encoder, &colour);
    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    if (form.lossless) {
        JxlEncoderSetFrameLossless(settings, JXL_TRUE);
    } else {
        JxlEncoderSetFrameDistance(settings, form.distance);
    }
    JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, 3);
    const uint32_t channels = form.alpha ? 4 : 3;
    JxlPixelFormat format{channels, deep ? JXL_TYPE_UINT16 : JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    for (const RgbaPicture& frame : frames) {
        if (frames.size() > 1) {
            JxlFrameHeader header;
            JxlEncoderInitFrameHeader(&header);
            header.duration = 1;
            JxlEncoderSetFrameHeader(settings, &header);
        }
        std::vector<uint8_t> samples;
        for (size_t i = 0; i < frame.samples.size(); ++i) {
            if (i % 4 == 3 && !form.alpha) {
                continue;
            }
            const uint16_t v = frame.samples[i];
            if (deep) {
                uint8_t two[2];
                std::memcpy(two, &v, 2);
                samples.insert(samples.end(), two, two + 2);
            } else {
                samples.push_back(static_cast<uint8_t>(v));
            }
        }
        JxlEncoderAddImageFrame(settings, &format, samples.data(), samples.size());
    }
    JxlEncoderCloseInput(encoder);
    PhotoBytes bytes(64);
    uint8_t* next = bytes.data();
    size_t available = bytes.size();
    while (JxlEncoderProcessOutput(encoder, &next, &available) == JXL_ENC_NEED_MORE_OUTPUT) {
        const size_t used = static_cast<size_t>(next - bytes.data());
        bytes.resize(bytes.size() * 2);
        next = bytes.data() + used;
        available = bytes.size() - used;
    }
    bytes.resize(static_cast<size_t>(next - bytes.data()));
    JxlEncoderDestroy(encoder);
    return bytes;
}

}  // namespace tama05::test
