#pragma once

// Small files that claim far more than they hold ("bombs"), built from scratch for the tests,
// the fuzz seeds and bench/bomb-bench: a PNG chunk claiming two gigabytes, JPEGs whose frame
// claims 16384 × 16384 with a few bytes of coded data (baseline, progressive, progressive with
// hundreds of repeated scans), and a PNG of zeros that inflates to a huge picture.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "picture_writers.h"

namespace tama05::test {

inline void PutBig32(Bytes& out, uint32_t v) {
    for (int i = 3; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// Appends a PNG chunk with its CRC; length is what the chunk claims (data may be shorter).
inline void PutPngChunk(Bytes& out, const char* type, const Bytes& data, uint32_t length) {
    PutBig32(out, length);
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, static_cast<uint32_t>(
                      crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt))));
}

inline Bytes PngIhdr(uint32_t width, uint32_t height, uint8_t colourType) {
    Bytes ihdr;
    PutBig32(ihdr, width);
    PutBig32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, colourType, 0, 0, 0});
    return ihdr;
}

// A 1 × 1 RGB PNG whose chunk of the given type (tEXt, zTXt, iTXt, sPLT…) claims claimed bytes
// right after IHDR, followed by a few bytes of it and nothing else.
inline Bytes PngChunkBomb(const char* type, uint32_t claimed = 0x7fffff00) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PutPngChunk(out, "IHDR", PngIhdr(1, 1, 2), 13);
    PutPngChunk(out, type, Bytes(46, 'a'), claimed);
    return out;
}

// An 8-bit grey, RGB or RGBA PNG of width × height whose rows are all zero, deflated at the
// highest level (about 1 byte of file per kilobyte of picture).
inline Bytes PngZeroBomb(uint32_t width, uint32_t height, uint8_t colourType = 2) {
    const int channels = colourType == 0 ? 1 : colourType == 6 ? 4 : 3;
    const size_t rowBytes = size_t{width} * channels + 1;
    Bytes zeros(rowBytes * 64, 0);
    Bytes data;
    z_stream stream{};
    deflateInit(&stream, 9);
    Bytes chunk(1 << 16);
    for (uint32_t y = 0; y < height; y += 64) {
        const uint32_t rows = std::min<uint32_t>(64, height - y);
        stream.next_in = zeros.data();
        stream.avail_in = static_cast<uInt>(rows * rowBytes);
        const int flush = y + rows >= height ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = chunk.data();
            stream.avail_out = static_cast<uInt>(chunk.size());
            deflate(&stream, flush);
            data.insert(data.end(), chunk.data(), chunk.data() + (chunk.size() - stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PutPngChunk(out, "IHDR", PngIhdr(width, height, colourType), 13);
    PutPngChunk(out, "IDAT", data, static_cast<uint32_t>(data.size()));
    PutPngChunk(out, "IEND", {}, 0);
    return out;
}

// Where the last PNG signature in bytes starts (a puzzle file's stacked picture), or the size.
inline size_t FindPngStart(const Bytes& bytes) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (size_t i = bytes.size() >= 8 ? bytes.size() - 8 : 0; i-- > 0;) {
        if (std::memcmp(bytes.data() + i, kSignature, 8) == 0) {
            return i;
        }
    }
    return bytes.size();
}

// Position of the first marker FF code at or after from, or the size.
inline size_t FindMarker(const Bytes& bytes, uint8_t code, size_t from = 2) {
    for (size_t i = from; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == code) {
            return i;
        }
    }
    return bytes.size();
}

// An 8 × 8 colour JPEG (4:4:4, baseline or progressive) whose frame header is changed to claim
// width × height; the coded data stays that of the 8 × 8 picture, so the decoder finds its end
// almost at once and pads the rest. extraScans repeats the last scan (with its data) that many
// times before the end marker.
inline Bytes JpegBomb(bool progressive, uint16_t width = 16384, uint16_t height = 16384,
                      int extraScans = 0) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 8;
    cinfo.image_height = 8;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    for (int c = 0; c < 3; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_set_quality(&cinfo, 50, TRUE);
    if (progressive) {
        jpeg_simple_progression(&cinfo);
    }
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row(8 * 3);
    for (int x = 0; x < 24; ++x) {
        row[x] = static_cast<uint8_t>(x * 10);
    }
    while (cinfo.next_scanline < 8) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    const size_t sof = FindMarker(out, progressive ? 0xC2 : 0xC0);
    out[sof + 5] = static_cast<uint8_t>(height >> 8);
    out[sof + 6] = static_cast<uint8_t>(height);
    out[sof + 7] = static_cast<uint8_t>(width >> 8);
    out[sof + 8] = static_cast<uint8_t>(width);
    if (extraScans > 0) {
        size_t last = 0;
        for (size_t at = FindMarker(out, 0xDA); at < out.size();
             at = FindMarker(out, 0xDA, at + 2)) {
            last = at;
        }
        const size_t end = out.size() - 2;  // the end marker
        const Bytes scan(out.begin() + static_cast<ptrdiff_t>(last),
                         out.begin() + static_cast<ptrdiff_t>(end));
        Bytes repeated(out.begin(), out.begin() + static_cast<ptrdiff_t>(end));
        for (int i = 0; i < extraScans; ++i) {
            repeated.insert(repeated.end(), scan.begin(), scan.end());
        }
        repeated.push_back(0xFF);
        repeated.push_back(0xD9);
        out = std::move(repeated);
    }
    return out;
}

}  // namespace tama05::test
