#pragma once

// Small writers that build picture files for the reader tests: BMPs of any header, PNGs of any
// colour type and depth (through libpng), greyscale, colour and CMYK JPEGs (through libjpeg),
// plus a scratch folder that removes itself.

#include <png.h>

#include <jpeglib.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace tama05::test {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

struct BmpForm {
    int32_t width = 2;
    int32_t height = 2;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t bfSize = 0;  // 0: the true file size
    uint32_t offBits = 54;
    Bytes pixels;  // written right after the headers (and any gap up to offBits)
};

// A BMP file: file header, 40-byte information header, pixel bytes.
inline Bytes MakeBmp(const BmpForm& form) {
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    const uint32_t total = static_cast<uint32_t>(54 + form.pixels.size());
    Put32(out, form.bfSize != 0 ? form.bfSize : total);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, form.offBits);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(form.width));
    Put32(out, static_cast<uint32_t>(form.height));
    Put16(out, 1);
    Put16(out, form.bitCount);
    Put32(out, form.compression);
    Put32(out, static_cast<uint32_t>(form.pixels.size()));
    for (int i = 0; i < 4; ++i) {
        Put32(out, 0);
    }
    out.insert(out.end(), form.pixels.begin(), form.pixels.end());
    return out;
}

namespace detail {
inline void AppendPng(png_structp png, png_bytep data, size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
inline void FlushPng(png_structp) {}
}  // namespace detail

// A PNG of the given colour type and bit depth; rows are the raw sample bytes of each row
// (top first) as libpng expects them. Palette pictures get a grey palette of 2^depth entries.
inline Bytes MakePng(uint32_t width, uint32_t height, int colourType, int bitDepth,
                     std::vector<Bytes> rows, bool interlaced = false) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, detail::AppendPng, detail::FlushPng);
    png_set_IHDR(png, info, width, height, bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        const int entries = 1 << bitDepth;
        for (int i = 0; i < entries; ++i) {
            const auto v = static_cast<png_byte>(i * 255 / (entries - 1));
            palette.push_back({v, v, v});
        }
        png_set_PLTE(png, info, palette.data(), entries);
    }
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (auto& row : rows) {
        pointers.push_back(row.data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A PNG whose IHDR claims width × height but whose data stops after IHDR (no IDAT, no IEND).
inline Bytes MakePngHeaderOnly(uint32_t width, uint32_t height, int colourType, int bitDepth) {
    Bytes small = MakePng(1, 1, colourType, bitDepth, {Bytes(8, 0)});
    Bytes out(small.begin(), small.begin() + 8 + 25);
    auto putBig = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
        }
    };
    putBig(16, width);
    putBig(20, height);
    return out;
}

struct JpegForm {
    int width = 8;
    int height = 8;
    int components = 3;       // 1 grey, 3 RGB, 4 CMYK
    bool adobeMarker = true;  // for CMYK: write the Adobe APP14 marker
    int quality = 95;
    bool progressive = false;
};

// A JPEG of the given samples (top row first, components a pixel).
inline Bytes MakeJpeg(const JpegForm& form, const Bytes& samples) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(form.width);
    cinfo.image_height = static_cast<JDIMENSION>(form.height);
    cinfo.input_components = form.components;
    cinfo.in_color_space = form.components == 1   ? JCS_GRAYSCALE
                           : form.components == 4 ? JCS_CMYK
                                                  : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (form.components == 4) {
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = form.adobeMarker ? TRUE : FALSE;
    }
    jpeg_set_quality(&cinfo, form.quality, TRUE);
    if (form.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    const size_t rowBytes = static_cast<size_t>(form.width) * form.components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + cinfo.next_scanline * rowBytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Decoded facts about a JPEG, read with the library directly.
struct JpegFacts {
    bool progressive = false;
    int width = 0;
    int height = 0;
    int components = 0;
    Bytes rgb;  // top row first
};

inline JpegFacts InspectJpeg(const Bytes& bytes) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    JpegFacts facts;
    facts.progressive = cinfo.progressive_mode != 0;
    facts.components = cinfo.num_components;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    facts.width = static_cast<int>(cinfo.output_width);
    facts.height = static_cast<int>(cinfo.output_height);
    facts.rgb.resize(static_cast<size_t>(facts.width) * facts.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = facts.rgb.data() + cinfo.output_scanline * facts.width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return facts;
}

// A folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device seed;
        m_path = std::filesystem::temp_directory_path() /
                 ("tama05-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(m_path);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path Write(const std::string& name, const Bytes& bytes) const {
        const auto file = m_path / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file;
    }
    Bytes Read(const std::string& name) const {
        std::ifstream in(m_path / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Names of the entries in the folder.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

  private:
    std::filesystem::path m_path;
};

}  // namespace tama05::test
