// PNG layout checked here before the decoder runs: the 8-byte signature 89 50 4E 47 0D 0A 1A 0A,
// then chunks of a big-endian u32 data length, a 4-byte type, the data and a CRC. The first
// chunk must be IHDR: u32 width, u32 height, u8 bit depth, u8 colour type, u8 compression,
// u8 filter, u8 interlace (all big-endian). Only 8-bit grey (0), RGB (2), grey+alpha (4) and
// RGBA (6) pictures are decoded; libpng reads the chunks, their CRCs and the image data.
#include "core/png_file.h"

#include <png.h>

#include <cstring>
#include <optional>
#include <span>

#include "core/atomic_file.h"
#include "core/file_bytes.h"
#include "core/limits.h"
#include "core/png_chunks.h"

namespace tama05 {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
// Neither side of a picture may exceed the pixel bound; libpng refuses larger headers itself.
constexpr png_uint_32 kDimensionLimit = static_cast<png_uint_32>(kMaxPicturePixels);
// Ancillary chunks (text, profiles) beyond this are refused rather than buffered.
constexpr png_alloc_size_t kChunkLimit = png_alloc_size_t{8} << 20;

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    size_t rowBytes = 0;
};

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The IHDR fields of a PNG that starts with the signature and an IHDR chunk.
std::optional<PngHeader> PeekHeader(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    uint8_t head[8 + 8 + 13];
    if (!reader.ReadBytes(head) || !HasPngSignature(bytes) || BigEndian32(head + 8) != 13 ||
        std::memcmp(head + 12, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    PngHeader header;
    header.width = BigEndian32(head + 16);
    header.height = BigEndian32(head + 20);
    header.bitDepth = head[24];
    header.colourType = head[25];
    return header;
}

// The tests of the supported forms, in their order: palette, other colour types, depth.
int CheckForm(const PngHeader& header) {
    if (header.colourType == 3) {
        return kPngPalette;
    }
    if (header.colourType != 0 && header.colourType != 2 && header.colourType != 4 &&
        header.colourType != 6) {
        return kPngUnsupportedColourType;
    }
    if (header.bitDepth != 8) {
        return kPngNot8Bit;
    }
    return kPngOk;
}

int ChannelsOf(int colourType) {
    switch (colourType) {
        case 0:
            return 1;
        case 4:
            return 2;
        case 2:
            return 3;
        default:
            return 4;
    }
}

// Deflate codes at most 258 bytes in a length and distance pair of two bits, so no stream
// inflates to more than 1032 times its size; the margin covers the zlib header and checksum.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateMargin = 1024;

// Whether a stream of dataBytes could hold the filtered rows of the picture (one filter byte a
// row ahead of its samples; interlaced pictures need more, never less).
bool CouldHoldRows(const PngHeader& header, size_t dataBytes) {
    const uint64_t filtered = (uint64_t{header.rowBytes} + 1) * header.height;
    return filtered <= uint64_t{dataBytes} * kMaxInflateRatio + kInflateMargin;
}

struct PngInput {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
};

void ReadData(png_structp png, png_bytep out, size_t count) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (count > input->size - input->position) {
        png_error(png, "PNG data ends early");
    }
    std::memcpy(out, input->data + input->position, count);
    input->position += count;
}

bool AppendBytes(std::vector<uint8_t>* out, const uint8_t* data, size_t count) noexcept {
    try {
        out->insert(out->end(), data, data + count);
        return true;
    } catch (...) {
        return false;
    }
}

void WriteData(png_structp png, png_bytep data, size_t count) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    if (!AppendBytes(out, data, count)) {
        png_error(png, "out of memory");
    }
}

void FlushData(png_structp) {}

// Errors end the current operation through the jump buffer; nothing is printed.
void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// The library calls below report errors by a long jump back to these small functions; no C++
// object lives in them.
bool ReadInfo(png_structp png, png_infop info, PngHeader* header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->bitDepth = png_get_bit_depth(png, info);
    header->colourType = png_get_color_type(png, info);
    header->rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool WriteRows(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
               int colourType, bool bgr, png_bytepp rows, int zlibLevel, int filters) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    if (zlibLevel >= 0) {
        png_set_compression_level(png, zlibLevel);
    }
    if (filters >= 0) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    }
    png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (bgr) {
        png_set_bgr(png);  // libpng swaps each row in its own copy
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

class ReadStructs {
  public:
    ReadStructs() {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (m_png != nullptr) {
            m_info = png_create_info_struct(m_png);
        }
    }
    ReadStructs(const ReadStructs&) = delete;
    ReadStructs& operator=(const ReadStructs&) = delete;
    ~ReadStructs() { png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr); }
    bool ok() const { return m_png != nullptr && m_info != nullptr; }
    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }

  private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

class WriteStructs {
  public:
    WriteStructs() {
        m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (m_png != nullptr) {
            m_info = png_create_info_struct(m_png);
        }
    }
    WriteStructs(const WriteStructs&) = delete;
    WriteStructs& operator=(const WriteStructs&) = delete;
    ~WriteStructs() { png_destroy_write_struct(&m_png, m_info ? &m_info : nullptr); }
    bool ok() const { return m_png != nullptr && m_info != nullptr; }
    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }

  private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

// Moves decoded PNG rows (top first) into the bottom-to-top BGR picture and the alpha plane.
void CopyRows(const std::vector<uint8_t>& data, size_t rowBytes, int colourType, Image& image,
              AlphaPlane* plane) {
    const int32_t width = image.width();
    const int32_t height = image.height();
    for (int32_t k = 0; k < height; ++k) {
        const uint8_t* from = data.data() + static_cast<size_t>(k) * rowBytes;
        const int32_t memoryRow = height - 1 - k;
        uint8_t* to = image.row(memoryRow);
        uint8_t* alpha =
            plane ? plane->values.data() + static_cast<size_t>(memoryRow) * width : nullptr;
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = to + 3 * x;
            switch (colourType) {
                case 0:
                    p[0] = p[1] = p[2] = from[x];
                    break;
                case 4:
                    p[0] = p[1] = p[2] = from[2 * x];
                    if (alpha) {
                        alpha[x] = from[2 * x + 1];
                    }
                    break;
                case 2:
                    p[0] = from[3 * x + 2];
                    p[1] = from[3 * x + 1];
                    p[2] = from[3 * x];
                    break;
                default:
                    p[0] = from[4 * x + 2];
                    p[1] = from[4 * x + 1];
                    p[2] = from[4 * x];
                    if (alpha) {
                        alpha[x] = from[4 * x + 3];
                    }
                    break;
            }
        }
    }
}

}  // namespace

bool HasPngSignature(std::span<const uint8_t> bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

int ReadPngStream(ByteReader& reader, Image& image, AlphaPlane* alphaPlane, PictureReadState* state,
                  int64_t maxPixels) {
    if (alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    const std::span<const uint8_t> bytes = reader.Rest();
    // The form and size are judged from the header before the decoder allocates anything.
    if (const auto peeked = PeekHeader(bytes)) {
        if (const int form = CheckForm(*peeked); form != kPngOk) {
            return form;
        }
        if (!CheckPictureSize(peeked->width, peeked->height, maxPixels)) {
            return kPngSizeRefused;
        }
    }
    if (!PngChunksFit(bytes)) {
        return kPngCorrupt;
    }
    ReadStructs structs;
    if (!structs.ok()) {
        return kPngCorrupt;
    }
    png_set_user_limits(structs.png(), kDimensionLimit, kDimensionLimit);
    png_set_chunk_malloc_max(structs.png(), kChunkLimit);
    PngInput input{bytes.data(), bytes.size(), 0};
    png_set_read_fn(structs.png(), &input, ReadData);

    PngHeader header;
    if (!ReadInfo(structs.png(), structs.info(), &header)) {
        return kPngCorrupt;
    }
    if (const int form = CheckForm(header); form != kPngOk) {
        return form;
    }
    if (!CheckPictureSize(header.width, header.height, maxPixels)) {
        return kPngSizeRefused;
    }
    const int channels = ChannelsOf(header.colourType);
    if (header.rowBytes != static_cast<size_t>(header.width) * channels) {
        return kPngCorrupt;
    }
    // The rows cannot all be in the data: refused before their buffer is allocated.
    if (!CouldHoldRows(header, bytes.size())) {
        return kPngCorrupt;
    }
    const int32_t width = static_cast<int32_t>(header.width);
    const int32_t height = static_cast<int32_t>(header.height);
    std::vector<uint8_t> data;
    std::vector<png_bytep> rows;
    try {
        data.resize(header.rowBytes * header.height);
        rows.resize(header.height);
    } catch (const std::bad_alloc&) {
        return kPngSizeRefused;
    }
    for (uint32_t k = 0; k < header.height; ++k) {
        rows[k] = data.data() + static_cast<size_t>(k) * header.rowBytes;
    }
    if (!ReadRows(structs.png(), rows.data())) {
        return kPngCorrupt;
    }

    Image read;
    if (read.CreateFilled(width, height, 0) != 0) {
        return kPngSizeRefused;
    }
    read.SetHeaders();
    AlphaPlane plane;
    if (alphaPlane != nullptr) {
        if (!plane.FillOpaque(width, height)) {
            return kPngSizeRefused;
        }
        plane.fromFile = header.colourType == 4 || header.colourType == 6;
    }
    CopyRows(data, header.rowBytes, header.colourType, read, alphaPlane ? &plane : nullptr);

    reader.Skip(input.position);
    image = std::move(read);
    if (alphaPlane != nullptr) {
        *alphaPlane = std::move(plane);
    }
    if (header.colourType == 6 && state != nullptr) {
        state->PictureHasAlpha = true;
    }
    return kPngOk;
}

int ReadPngFile(const std::filesystem::path& path, Image& image, AlphaPlane* alphaPlane,
                PictureReadState* state) {
    if (alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    std::vector<uint8_t> head;
    if (ReadFileHead(path, 8, head) != 0) {
        return kPngCannotOpen;
    }
    if (!HasPngSignature(head)) {
        return kPngNoSignature;
    }
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(path, bytes, kMaxPictureFileBytes) != 0) {
        return kPngCannotOpen;
    }
    ByteReader reader(bytes);
    const int result = ReadPngStream(reader, image, alphaPlane, state);
    if (result == kPngOk) {
        image.path = path.string();
    }
    return result;
}

PngWriteOptions FastPngWriteOptions() {
    return PngWriteOptions{1, PNG_FILTER_UP};
}

int WritePngStream(std::vector<uint8_t>& out, const Image& image, const AlphaPlane* alphaPlane,
                   bool useAlpha, const PngWriteOptions& options) {
    const int32_t width = image.width();
    const int32_t height = image.height();
    if (image.empty() || width <= 0 || height <= 0) {
        return -1;
    }
    const bool rgba = useAlpha && alphaPlane != nullptr && alphaPlane->Matches(width, height);
    const size_t pixelBytes = rgba ? 4 : 3;
    const size_t rowBytes = static_cast<size_t>(width) * pixelBytes;
    std::vector<uint8_t> data;
    std::vector<png_bytep> rows;
    try {
        rows.resize(static_cast<size_t>(height));
        if (rgba) {
            data.resize(rowBytes * static_cast<size_t>(height));
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }
    // RGB: the picture's own rows, top first, which libpng reads as blue, green, red without
    // changing them. RGBA: a copy with the alpha woven in.
    for (int32_t r = 0; r < height && !rgba; ++r) {
        rows[static_cast<size_t>(height - 1 - r)] = const_cast<png_bytep>(image.row(r));
    }
    for (int32_t r = 0; r < height && rgba; ++r) {
        const size_t k = static_cast<size_t>(height - 1 - r);
        uint8_t* to = data.data() + k * rowBytes;
        rows[k] = to;
        const uint8_t* from = image.row(r);
        for (int32_t x = 0; x < width; ++x) {
            to[0] = from[3 * x + 2];
            to[1] = from[3 * x + 1];
            to[2] = from[3 * x];
            to[3] = alphaPlane->At(r, x);
            to += pixelBytes;
        }
    }
    WriteStructs structs;
    if (!structs.ok()) {
        return -1;
    }
    const size_t start = out.size();
    png_set_write_fn(structs.png(), &out, WriteData, FlushData);
    if (!WriteRows(structs.png(), structs.info(), static_cast<png_uint_32>(width),
                   static_cast<png_uint_32>(height),
                   rgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, !rgba, rows.data(),
                   options.zlibLevel, options.filters)) {
        out.resize(start);
        return -1;
    }
    return 0;
}

int WritePngFile(MessageSink& messages, const std::filesystem::path& path, const Image& image,
                 const AlphaPlane* alphaPlane, const PngWriteOptions& options) {
    std::vector<uint8_t> bytes;
    if (WritePngStream(bytes, image, alphaPlane, alphaPlane != nullptr, options) != 0 ||
        WriteFileAtomically(path, bytes) != 0) {
        messages.ShowMessage("ファイルオープンに失敗しました。WRITE_PNG", "失敗");
        return -1;
    }
    return 0;
}

}  // namespace tama05
