// JPEG data is decoded and encoded by libjpeg (version 62 interface). A JPEG stream is a
// sequence of markers (FF xx) starting with SOI (FF D8) and ending with EOI (FF D9); the
// decoder is fed from memory and, when the stream is embedded in a larger file, reports how
// far it read so that the caller can go on right after the end marker.
#include "core/jpeg_file.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "core/file_bytes.h"
#include "core/jpeg_shape.h"
#include "core/limits.h"

namespace tama05 {

namespace {

// The standard error manager with an exit that jumps back to the reader or writer. Messages
// are formatted into the buffer instead of being printed.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void OutputMessage(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
}

void InstallErrors(ErrorManager* errors) {
    jpeg_std_error(&errors->base);
    errors->base.error_exit = ErrorExit;
    errors->base.output_message = OutputMessage;
    errors->message[0] = '\0';
}

// A source over bytes that are all in memory from the start: needing more means the data
// ended before the end marker, which is an error (not a warning padded with a fake marker).
void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) {
        return;
    }
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) {
        ERREXIT(cinfo, JERR_INPUT_EOF);
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void AttachMemorySource(jpeg_decompress_struct* cinfo, jpeg_source_mgr* source, const uint8_t* data,
                        size_t size) {
    source->init_source = InitSource;
    source->fill_input_buffer = FillInputBuffer;
    source->skip_input_data = SkipInputData;
    source->resync_to_restart = jpeg_resync_to_restart;
    source->term_source = TermSource;
    source->next_input_byte = data;
    source->bytes_in_buffer = size;
    cinfo->src = source;
}

// Destination that collects the coded bytes in fixed chunks handed to a callback.
constexpr size_t kChunkBytes = 64 * 1024;

struct ChunkDestination {
    jpeg_destination_mgr base;
    std::vector<uint8_t>* out;
    JOCTET chunk[kChunkBytes];
};

bool AppendBytes(std::vector<uint8_t>* out, const uint8_t* data, size_t count) noexcept {
    try {
        out->insert(out->end(), data, data + count);
        return true;
    } catch (...) {
        return false;
    }
}

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ChunkDestination*>(cinfo->dest);
    dest->base.next_output_byte = dest->chunk;
    dest->base.free_in_buffer = kChunkBytes;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ChunkDestination*>(cinfo->dest);
    if (!AppendBytes(dest->out, dest->chunk, kChunkBytes)) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    }
    dest->base.next_output_byte = dest->chunk;
    dest->base.free_in_buffer = kChunkBytes;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<ChunkDestination*>(cinfo->dest);
    const size_t used = kChunkBytes - dest->base.free_in_buffer;
    if (!AppendBytes(dest->out, dest->chunk, used)) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    }
}

// Writes one decoded scanline (top first) into the picture's memory row, as B, G, R.
void StoreScanline(const JSAMPLE* from, int components, bool invertedCmyk, uint8_t* to,
                   int32_t width) {
    if (components == 3) {
        for (int32_t x = 0; x < width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
        return;
    }
    // CMYK: red = (255 − C)(255 − K) / 255 and so on; Adobe files store the values inverted.
    for (int32_t x = 0; x < width; ++x) {
        int c = from[4 * x];
        int m = from[4 * x + 1];
        int y = from[4 * x + 2];
        int k = from[4 * x + 3];
        if (!invertedCmyk) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        to[3 * x] = static_cast<uint8_t>((y * k + 127) / 255);
        to[3 * x + 1] = static_cast<uint8_t>((m * k + 127) / 255);
        to[3 * x + 2] = static_cast<uint8_t>((c * k + 127) / 255);
    }
}

// A progressive stream may repeat scans without end, each one a pass over the whole picture;
// real encoders use a few dozen at most, so a stream with more is refused as hostile.
constexpr int kMaxJpegScans = 1000;

void CountScans(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxJpegScans) {
        ERREXIT1(cinfo, JERR_NOTIMPL, decompress->input_scan_number);
    }
}

struct DecodeJob {
    const uint8_t* data;
    size_t size;
    int64_t maxPixels;
    Image* image;     // created here once the size is known and accepted
    size_t consumed;  // bytes up to and including the end marker
};

// The whole decode under one jump buffer; only C structures live in this frame.
bool Decode(DecodeJob* job) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress{};
    cinfo.err = &errors.base;
    InstallErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    AttachMemorySource(&cinfo, &source, job->data, job->size);
    progress.progress_monitor = CountScans;
    cinfo.progress = &progress;
    jpeg_read_header(&cinfo, TRUE);
    if (!CheckPictureSize(cinfo.image_width, cinfo.image_height, job->maxPixels)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
#ifdef JCS_EXTENSIONS
    // libjpeg-turbo writes blue, green, red itself: the same values as RGB in another order.
    const bool direct = !cmyk;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
#else
    const bool direct = false;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
#endif
    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    if ((components != 3 && components != 4) || (components == 4) != cmyk ||
        job->image->Create(static_cast<int32_t>(cinfo.output_width),
                           static_cast<int32_t>(cinfo.output_height)) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    Image& image = *job->image;
    // Row padding is part of the picture: keep it zero.
    const size_t used = static_cast<size_t>(image.width()) * 3;
    for (int32_t r = 0; r < image.height(); ++r) {
        std::memset(image.row(r) + used, 0, static_cast<size_t>(image.stride()) - used);
    }
    if (direct) {
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = image.rowFromTop(static_cast<int32_t>(cinfo.output_scanline));
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
    } else {
        JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                     JPOOL_IMAGE, cinfo.output_width * components, 1);
        while (cinfo.output_scanline < cinfo.output_height) {
            const int32_t y = static_cast<int32_t>(cinfo.output_scanline);
            jpeg_read_scanlines(&cinfo, line, 1);
            StoreScanline(line[0], components, cinfo.saw_Adobe_marker, image.rowFromTop(y),
                          image.width());
        }
    }
    jpeg_finish_decompress(&cinfo);
    job->consumed = job->size - cinfo.src->bytes_in_buffer;
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct EncodeJob {
    const Image* image;
    int quality;
    bool progressive;
    std::vector<uint8_t>* out;
    JSAMPLE* line;  // width × 3 bytes supplied by the caller
};

bool Encode(EncodeJob* job) {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    static_assert(sizeof(ChunkDestination) < 128 * 1024);
    ChunkDestination* destination = nullptr;
    cinfo.err = &errors.base;
    InstallErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    destination = static_cast<ChunkDestination*>((*cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_PERMANENT, sizeof(ChunkDestination)));
    destination->base.init_destination = InitDestination;
    destination->base.empty_output_buffer = EmptyOutputBuffer;
    destination->base.term_destination = TermDestination;
    destination->out = job->out;
    cinfo.dest = &destination->base;

    const Image& image = *job->image;
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job->quality, TRUE);
    if (job->progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPROW rows[1] = {job->line};
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint8_t* from = image.rowFromTop(static_cast<int32_t>(cinfo.next_scanline));
        for (int32_t x = 0; x < image.width(); ++x) {
            job->line[3 * x] = from[3 * x + 2];
            job->line[3 * x + 1] = from[3 * x + 1];
            job->line[3 * x + 2] = from[3 * x];
        }
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

int ReadJpegStream(ByteReader& reader, Image& image, int64_t maxPixels) {
    const std::span<const uint8_t> bytes = reader.Rest();
    if (bytes.empty() || !JpegWorkAcceptable(bytes)) {
        return kJpegDecodeFailed;
    }
    Image decoded;
    DecodeJob job{bytes.data(), bytes.size(), maxPixels, &decoded, 0};
    if (!Decode(&job)) {
        return kJpegDecodeFailed;
    }
    decoded.SetHeaders();
    reader.Skip(job.consumed);
    image = std::move(decoded);
    return kJpegOk;
}

int ReadJpegFile(const std::filesystem::path& path, Image& image) {
    std::vector<uint8_t> bytes;
    const int read = ReadFileBytes(path, bytes, kMaxPictureFileBytes);
    if (read == -1 || read == -3) {
        return kJpegCannotOpen;
    }
    if (read != 0) {
        return kJpegDecodeFailed;
    }
    ByteReader reader(bytes);
    const int result = ReadJpegStream(reader, image);
    if (result == kJpegOk) {
        image.path = path.string();
    }
    return result;
}

int WriteJpegStream(std::vector<uint8_t>& out, const Image& image, int quality, bool progressive) {
    if (image.empty() || image.width() <= 0 || image.height() <= 0 ||
        image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION) {
        return 0;
    }
    std::vector<JSAMPLE> line;
    try {
        line.resize(static_cast<size_t>(image.width()) * 3);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const size_t start = out.size();
    EncodeJob job{&image, quality, progressive, &out, line.data()};
    if (!Encode(&job)) {
        out.resize(start);
        return 0;
    }
    return 1;
}

}  // namespace tama05
