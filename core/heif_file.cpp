// HEIF files are ISO media files: a file-type box ("ftyp") naming the brands, then boxes that
// describe the pictures (items), their properties (size, crop, rotation, mirroring) and where
// their coded data lies. libheif reads them and decodes through its coding plugins; they are
// registered when the library is loaded, so heif_init (which is not thread-safe) is not used.
#include "core/heif_file.h"

#include <libheif/heif.h>

#include <algorithm>
#include <bit>

#include "core/avif_file.h"

namespace tama05 {

namespace {

// The 16-bit interleaved layouts libheif gives are little-endian; rows are handed on as
// native 16-bit samples.
static_assert(std::endian::native == std::endian::little);

constexpr std::string_view kHeifBrands[] = {"heic", "heix", "heim", "heis", "hevc",
                                            "hevx", "hevm", "hevs", "mif1", "msf1"};

class Context {
  public:
    Context() : m_context(heif_context_alloc()) {}
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    ~Context() {
        heif_image_release(m_image);
        heif_image_handle_release(m_handle);
        heif_context_free(m_context);
    }
    heif_context* context() const { return m_context; }
    heif_image_handle*& handle() { return m_handle; }
    heif_image*& image() { return m_image; }

  private:
    heif_context* m_context = nullptr;
    heif_image_handle* m_handle = nullptr;
    heif_image* m_image = nullptr;
};

class DecodingOptions {
  public:
    DecodingOptions() : m_options(heif_decoding_options_alloc()) {}
    DecodingOptions(const DecodingOptions&) = delete;
    DecodingOptions& operator=(const DecodingOptions&) = delete;
    ~DecodingOptions() { heif_decoding_options_free(m_options); }
    heif_decoding_options* get() const { return m_options; }

  private:
    heif_decoding_options* m_options;
};

int CodeOf(const heif_error& error) {
    if (error.code == heif_error_Memory_allocation_error ||
        error.subcode == heif_suberror_Security_limit_exceeded) {
        return kPhotoSizeRefused;
    }
    if (error.code == heif_error_Unsupported_feature ||
        error.code == heif_error_Unsupported_filetype) {
        return kPhotoUnsupported;
    }
    return kPhotoCorrupt;
}

}  // namespace

bool LooksLikeHeif(std::span<const uint8_t> head) {
    if (LooksLikeAvif(head)) {
        return false;
    }
    return std::any_of(std::begin(kHeifBrands), std::end(kHeifBrands),
                       [head](std::string_view brand) { return HasFileTypeBrand(head, brand); });
}

int ReadHeifBytes(std::span<const uint8_t> bytes, Image& image, AlphaPlane* alphaPlane,
                  PictureReadState* state, const PhotoReadOptions& options) {
    if (alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    if (!LooksLikeHeif(bytes)) {
        return kPhotoNotRecognised;
    }
    Context heif;
    if (heif.context() == nullptr) {
        return kPhotoSizeRefused;
    }
    heif_error error = heif_context_read_from_memory_without_copy(heif.context(), bytes.data(),
                                                                  bytes.size(), nullptr);
    if (error.code != heif_error_Ok) {
        return CodeOf(error);
    }
    error = heif_context_get_primary_image_handle(heif.context(), &heif.handle());
    if (error.code != heif_error_Ok) {
        return CodeOf(error);
    }
    // The library keeps each side within its own limit (32768); the picture bound is checked
    // here on both the coded size and the size after the transformations. A picture without a
    // declared size (its spatial-extent property is required) is refused: a grid would be
    // decoded at whatever size its own description claims.
    const int width = heif_image_handle_get_width(heif.handle());
    const int height = heif_image_handle_get_height(heif.handle());
    if (width <= 0 || height <= 0) {
        return kPhotoCorrupt;
    }
    if (!CheckPictureSize(width, height, options.maxPixels) ||
        !CheckPictureSize(heif_image_handle_get_ispe_width(heif.handle()),
                          heif_image_handle_get_ispe_height(heif.handle()), options.maxPixels)) {
        return kPhotoSizeRefused;
    }
    const bool hasAlpha = heif_image_handle_has_alpha_channel(heif.handle()) != 0;
    const bool deep = heif_image_handle_get_luma_bits_per_pixel(heif.handle()) > 8;
    const heif_chroma chroma =
        deep ? (hasAlpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
             : (hasAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    DecodingOptions decoding;
    if (decoding.get() == nullptr) {
        return kPhotoSizeRefused;
    }
    decoding.get()->ignore_transformations = options.keepOrientation ? 1 : 0;
    error = heif_decode_image(heif.handle(), &heif.image(), heif_colorspace_RGB, chroma,
                              decoding.get());
    if (error.code != heif_error_Ok) {
        return CodeOf(error);
    }
    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(heif.image(), heif_channel_interleaved, &stride);
    const int bits = heif_image_get_bits_per_pixel_range(heif.image(), heif_channel_interleaved);
    if (plane == nullptr || stride <= 0 || bits < 8 || bits > 16 || (bits > 8) != deep) {
        return kPhotoCorrupt;
    }
    DecodedRows rows;
    rows.data = plane;
    rows.rowBytes = static_cast<size_t>(stride);
    rows.width = heif_image_get_width(heif.image(), heif_channel_interleaved);
    rows.height = heif_image_get_height(heif.image(), heif_channel_interleaved);
    rows.channels = hasAlpha ? 4 : 3;
    rows.hasAlpha = hasAlpha;
    rows.bitDepth = bits;
    const size_t sampleBytes = deep ? 2 : 1;
    if (rows.width <= 0 || rows.height <= 0 ||
        rows.rowBytes < static_cast<size_t>(rows.width) * rows.channels * sampleBytes) {
        return kPhotoCorrupt;
    }
    return StoreDecodedRows(rows, image, alphaPlane, state, options.maxPixels);
}

}  // namespace tama05
