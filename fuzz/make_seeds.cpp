// Writes the seed corpus of every fuzz target with the tests' own file writers:
// make_seeds OUTPUT_FOLDER makes OUTPUT_FOLDER/<target>/ for each target. Every seed is a
// small valid file or a small near miss, so that mutations start from deep inside each reader.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bomb_files.h"
#include "core/byte_writer.h"
#include "core/image.h"
#include "core/int_array.h"
#include "core/message_sink.h"
#include "painter_writer.h"
#include "photo_writers.h"
#include "picture_writers.h"
#include "puzzlefile/huffman_codec.h"
#include "puzzlefile/puzzle_file.h"
#include "skin/app_settings.h"
#include "skin_text_writer.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::Bytes;

class SeedWriter {
  public:
    explicit SeedWriter(std::filesystem::path root) : m_root(std::move(root)) {}

    void Add(const std::string& target, const Bytes& bytes) {
        const std::filesystem::path folder = m_root / target;
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / ("seed-" + std::to_string(m_count++));
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    void Add(const std::string& target, const std::string& text) {
        Add(target, Bytes(text.begin(), text.end()));
    }
    int count() const { return m_count; }

  private:
    std::filesystem::path m_root;
    int m_count = 0;
};

Bytes RandomBytes(size_t n, std::mt19937& rng) {
    Bytes out(n);
    for (auto& b : out) {
        b = static_cast<uint8_t>(rng());
    }
    return out;
}

std::vector<Bytes> RandomRows(uint32_t width, uint32_t height, int samples, std::mt19937& rng) {
    std::vector<Bytes> rows;
    for (uint32_t y = 0; y < height; ++y) {
        rows.push_back(RandomBytes(static_cast<size_t>(width) * samples, rng));
    }
    return rows;
}

std::vector<Bytes> BmpSeeds(std::mt19937& rng) {
    std::vector<Bytes> seeds;
    test::BmpForm form;
    form.pixels = RandomBytes(16, rng);
    seeds.push_back(test::MakeBmp(form));
    form.width = 3;
    form.height = -3;
    form.pixels = RandomBytes(36, rng);
    seeds.push_back(test::MakeBmp(form));
    form.width = 5;
    form.height = 1;
    form.pixels = RandomBytes(16, rng);
    seeds.push_back(test::MakeBmp(form));
    test::BmpForm eightBit;
    eightBit.bitCount = 8;
    eightBit.pixels = RandomBytes(8, rng);
    seeds.push_back(test::MakeBmp(eightBit));
    test::BmpForm rle;
    rle.compression = 1;
    seeds.push_back(test::MakeBmp(rle));
    test::BmpForm huge;
    huge.width = 100000;
    huge.height = 100000;
    seeds.push_back(test::MakeBmp(huge));
    return seeds;
}

std::vector<Bytes> PngSeeds(std::mt19937& rng) {
    std::vector<Bytes> seeds;
    const int channels[] = {1, 0, 3, 2, 2, 0, 4, 6};  // samples, colour type pairs
    for (int i = 0; i < 8; i += 2) {
        seeds.push_back(
            test::MakePng(5, 3, channels[i + 1], 8, RandomRows(5, 3, channels[i], rng)));
    }
    seeds.push_back(test::MakePng(7, 6, 2, 8, RandomRows(7, 6, 3, rng), true));
    seeds.push_back(test::MakePng(3, 2, 2, 16, RandomRows(3, 2, 6, rng)));
    seeds.push_back(test::MakePng(4, 2, 3, 2, RandomRows(1, 2, 1, rng)));
    seeds.push_back(test::MakePngHeaderOnly(100000, 100000, 2, 8));
    return seeds;
}

std::vector<Bytes> JpegSeeds(std::mt19937& rng) {
    std::vector<Bytes> seeds;
    test::JpegForm form;
    form.width = 16;
    form.height = 9;
    seeds.push_back(test::MakeJpeg(form, RandomBytes(16 * 9 * 3, rng)));
    form.components = 1;
    seeds.push_back(test::MakeJpeg(form, RandomBytes(16 * 9, rng)));
    form.components = 4;
    seeds.push_back(test::MakeJpeg(form, RandomBytes(16 * 9 * 4, rng)));
    form.adobeMarker = false;
    seeds.push_back(test::MakeJpeg(form, RandomBytes(16 * 9 * 4, rng)));
    form.components = 3;
    form.progressive = true;
    form.quality = 50;
    seeds.push_back(test::MakeJpeg(form, RandomBytes(16 * 9 * 3, rng)));
    return seeds;
}

// Small HEIF, WebP, AVIF and JPEG XL files: lossy and lossless, alpha, deep samples, turned
// pictures and animations, each made by the format's own encoder.
void AddPhotoSeeds(SeedWriter& seeds, std::mt19937& rng) {
    const test::RgbaPicture ramp = test::RampRgba(16, 12);
    const test::RgbaPicture small = test::RandomRgba(7, 5, rng);
    const test::RgbaPicture next = test::RandomRgba(7, 5, rng);
    const test::RgbaPicture deep = test::RandomRgba(7, 5, rng, 10);
    const test::RgbaPicture deeper = test::RandomRgba(5, 3, rng, 16);

    seeds.Add("webp_fuzz", test::MakeWebp(ramp, false, false, 50));
    seeds.Add("webp_fuzz", test::MakeWebp(small, true, true));
    seeds.Add("webp_fuzz", test::MakeWebp(small, true, false, 50));
    seeds.Add("webp_fuzz", test::MakeAnimatedWebp({small, next}));

    test::HeifForm heif;
    heif.quality = 50;
    seeds.Add("heif_fuzz", test::MakeHeif(ramp, heif));
    heif.alpha = true;
    heif.orientation = 6;
    seeds.Add("heif_fuzz", test::MakeHeif(small, heif));

    test::AvifForm avif;
    avif.quality = 50;
    seeds.Add("avif_fuzz", test::MakeAvif({ramp}, avif));
    avif.exif = test::ExifTiff(7, true);
    seeds.Add("avif_fuzz", test::MakeAvif({small, next}, avif));
    test::AvifForm lossless;
    lossless.lossless = true;
    lossless.alpha = true;
    seeds.Add("avif_fuzz", test::MakeAvif({deep}, lossless));

    test::JxlForm jxl;
    jxl.distance = 3;
    seeds.Add("jxl_fuzz", test::MakeJxl({ramp}, jxl));
    jxl.orientation = 5;
    seeds.Add("jxl_fuzz", test::MakeJxl({small, next}, jxl));
    test::JxlForm exact;
    exact.lossless = true;
    exact.alpha = true;
    seeds.Add("jxl_fuzz", test::MakeJxl({deeper}, exact));

    for (int tag : {3, 6, 8}) {
        const Bytes tiff = test::ExifTiff(tag, tag == 6);
        seeds.Add("orientation_fuzz", tiff);
        const size_t length = 8 + tiff.size();
        Bytes jpeg = {0xFF,
                      0xD8,
                      0xFF,
                      0xE0,
                      0,
                      4,
                      0,
                      0,
                      0xFF,
                      0xE1,
                      static_cast<uint8_t>(length >> 8),
                      static_cast<uint8_t>(length),
                      'E',
                      'x',
                      'i',
                      'f',
                      0,
                      0};
        jpeg.insert(jpeg.end(), tiff.begin(), tiff.end());
        jpeg.push_back(0xFF);
        jpeg.push_back(0xDA);
        seeds.Add("orientation_fuzz", jpeg);
    }
}

Bytes HuffmanStream(const Image& image) {
    Bytes out;
    HuffCodeImg(image, out);
    return out;
}

// A ready puzzle of a small answer picture cut into pieces of 4 × 3.
Bytes PuzzleFile(std::mt19937& rng, bool solid) {
    const Image answer =
        solid ? test::SolidImage(10, 6, 40, 90, 200) : test::RandomImage(10, 6, rng);
    const Image canvas = test::SolidImage(10, 6, 200, 90, 40);
    IntArray scores;
    scores.AllocateFilled(3 * 2, 0);
    for (int32_t i = 0; i < scores.count(); ++i) {
        scores[i] = static_cast<int32_t>(rng() % 101);
    }
    NullMessageSink messages;
    Bytes out;
    EncodePuzzleFile(answer, canvas, 4, 3, 128, scores, 57, messages, out);
    return out;
}

// The older layout: the header with version 0, then the mosaic and the answer as Huffman
// streams.
Bytes OldPuzzleFile(std::mt19937& rng) {
    Bytes out(kPuzzleFileMagic.begin(), kPuzzleFileMagic.end());
    ByteWriter writer(out);
    writer.WriteI32(0);
    out.resize(out.size() + 100, 0);
    writer.WriteI32(2);
    writer.WriteI32(2);
    writer.WriteI32(255);
    writer.WriteI32(4);
    for (int i = 0; i < 4; ++i) {
        writer.WriteI32(static_cast<int32_t>(rng() % 101));
    }
    writer.WriteI32(50);
    HuffCodeImg(test::RandomImage(4, 4, rng), out);
    HuffCodeImg(test::SolidImage(4, 4, 1, 2, 3), out);
    return out;
}

// The pixel block of a solid width × height picture (padding included), as raw blocks hold it.
Bytes SolidBlock(int32_t width, int32_t height, uint8_t value) {
    const Image image = test::SolidImage(width, height, value, value, value);
    return Bytes(image.data(), image.data() + image.byteCount());
}

std::vector<Bytes> PainterSeeds(std::mt19937& rng) {
    namespace pw = test::painter;
    std::vector<Bytes> seeds;
    pw::PainterForm form;
    form.picture = pw::RawRunLengthBlock(SolidBlock(100, 100, 90));
    seeds.push_back(pw::MakePainterFile(form));
    form.header = "esi file 0f";
    form.subPicturesFlag = 1;
    form.extensionFlag = 1;
    form.noteFlag = 1;
    form.subPictures[0] = pw::RawRunLengthBlock(SolidBlock(50, 50, 10));
    form.subPictures[1] = pw::RawPlainBlock(Bytes(40, 3), 40);
    seeds.push_back(pw::MakePainterFile(form));
    pw::PainterForm jpeg;
    jpeg.pictureType = 0;
    test::JpegForm small;
    small.width = 16;
    small.height = 16;
    jpeg.picture = test::MakeJpeg(small, RandomBytes(16 * 16 * 3, rng));
    jpeg.noteFlag = 1;
    seeds.push_back(pw::MakePainterFile(jpeg));
    return seeds;
}

std::vector<Bytes> ItemSeeds() {
    namespace pw = test::painter;
    std::vector<Bytes> seeds;
    pw::ItemForm form;
    form.picture = pw::RawRunLengthBlock(SolidBlock(50, 50, 200));
    seeds.push_back(pw::MakeItemFile(form));
    form.longTextFlag = 1;
    form.itemClass = 2;
    form.picture = pw::RawPlainBlock(Bytes(30, 7), 30);
    seeds.push_back(pw::MakeItemFile(form));
    return seeds;
}

std::vector<Bytes> CanvasSeeds(std::mt19937& rng) {
    namespace pw = test::painter;
    std::vector<Bytes> seeds;
    pw::CanvasForm form;
    form.name = pw::Text("canvas");
    form.painterPath = pw::Text("C:\\paint\\a.esi");
    form.picture = HuffmanStream(test::RandomImage(6, 5, rng));
    seeds.push_back(pw::MakeCanvasFile(form));
    form.textureFlag = 1;
    form.threshold = 20;
    form.scale = 2;
    form.paperWidth = 8;
    form.paperHeight = 8;
    form.texture = HuffmanStream(test::SolidImage(4, 4, 230, 230, 230));
    form.paper = HuffmanStream(test::SolidImage(8, 8, 240, 250, 255));
    form.picture = HuffmanStream(test::SolidImage(8, 8, 20, 40, 60));
    seeds.push_back(pw::MakeCanvasFile(form));
    pw::CanvasForm jpeg;
    jpeg.name = pw::Text("j");
    jpeg.painterPath = pw::Text("");
    jpeg.pictureCoding = 0;
    test::JpegForm small;
    jpeg.picture = test::MakeJpeg(small, RandomBytes(8 * 8 * 3, rng));
    seeds.push_back(pw::MakeCanvasFile(jpeg));
    return seeds;
}

void WriteSeeds(SeedWriter& seeds) {
    std::mt19937 rng(20261208);
    for (const Bytes& bmp : BmpSeeds(rng)) {
        seeds.Add("bmp_fuzz", bmp);
        for (uint8_t nameByte : {0, 4, 0x81}) {
            Bytes named{nameByte};
            named.insert(named.end(), bmp.begin(), bmp.end());
            seeds.Add("image_file_fuzz", named);
        }
    }
    for (const Bytes& png : PngSeeds(rng)) {
        seeds.Add("png_fuzz", png);
    }
    for (const Bytes& jpeg : JpegSeeds(rng)) {
        seeds.Add("jpeg_fuzz", jpeg);
    }

    seeds.Add("huffman_fuzz", HuffmanStream(test::RandomImage(3, 2, rng)));
    seeds.Add("huffman_fuzz", HuffmanStream(test::SolidImage(9, 4, 7, 7, 7)));
    seeds.Add("huffman_fuzz", HuffmanStream(test::SolidImage(1, 1, 0, 128, 255)));

    seeds.Add("puzzle_file_fuzz", PuzzleFile(rng, true));
    seeds.Add("puzzle_file_fuzz", PuzzleFile(rng, false));
    seeds.Add("puzzle_file_fuzz", OldPuzzleFile(rng));

    seeds.Add("skin_text_fuzz", test::FullSkinText([](int i) { return 3 * i - 20; }));
    seeds.Add("skin_text_fuzz", test::FullSkinText([](int i) { return i * 1000; }, "\r\n"));
    std::string partial = test::FullSkinText([](int i) { return i; });
    seeds.Add("skin_text_fuzz", partial.substr(0, partial.size() / 2) + "NEW_L= \n+-7\n");

    // Every dropped kind, each behind the name bytes that lead sniff_source_fuzz to .bmp
    // (0), .jpg (1), .png (2), .esi (3) and .cnv (4).
    auto sniffSeed = [&seeds](uint8_t nameByte, const Bytes& file) {
        Bytes named{nameByte};
        named.insert(named.end(), file.begin(), file.end());
        seeds.Add("sniff_source_fuzz", named);
        seeds.Add("drop_budget_fuzz", named);
    };
    // The bombs: chunks and frames claiming gigabytes, and zeros inflating to a large picture.
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT"}) {
        seeds.Add("png_fuzz", test::PngChunkBomb(type));
        sniffSeed(2, test::PngChunkBomb(type));
    }
    for (const Bytes& jpeg :
         {test::JpegBomb(false), test::JpegBomb(true), test::JpegBomb(true, 16384, 16384, 60)}) {
        seeds.Add("jpeg_fuzz", jpeg);
        sniffSeed(1, jpeg);
    }
    sniffSeed(2, test::PngZeroBomb(2048, 2048));
    for (const Bytes& painter : PainterSeeds(rng)) {
        seeds.Add("painter_fuzz", painter);
        sniffSeed(3, painter);
    }
    for (const Bytes& item : ItemSeeds()) {
        seeds.Add("item_fuzz", item);
        sniffSeed(1, item);
    }
    for (const Bytes& canvas : CanvasSeeds(rng)) {
        seeds.Add("canvas_fuzz", canvas);
        sniffSeed(4, canvas);
    }
    sniffSeed(0, BmpSeeds(rng)[0]);
    sniffSeed(1, JpegSeeds(rng)[0]);
    sniffSeed(2, PngSeeds(rng)[3]);

    AppSettings settings = DefaultSettings("/program");
    seeds.Add("settings_fuzz", PackSettings(settings));
    settings.skinFolder = "/program/skin/night";
    settings.pieceSizeMode = 1;
    settings.columns = 40;
    settings.controlLeft = -300;
    seeds.Add("settings_fuzz", PackSettings(settings));

    std::mt19937 photoRng(19);
    AddPhotoSeeds(seeds, photoRng);
}

}  // namespace
}  // namespace tama05

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds OUTPUT_FOLDER\n");
        return 2;
    }
    tama05::SeedWriter seeds(argv[1]);
    tama05::WriteSeeds(seeds);
    std::printf("%d seeds written to %s\n", seeds.count(), argv[1]);
    return 0;
}
