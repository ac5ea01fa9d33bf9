// Pictures that claim more than their bytes can hold, or more than the bound, are refused
// before anything is allocated; special files among pictures never block a reader.
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <chrono>
#include <future>

#include "core/bmp_file.h"
#include "core/file_bytes.h"
#include "core/image_file.h"
#include "core/jpeg_file.h"
#include "core/png_file.h"
#include "picture_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::Bytes;

// A 2 × 2 BMP file with the given header size, its pixel rows cut to pixelBytes.
Bytes BmpClaiming(int32_t width, int32_t height, size_t pixelBytes) {
    test::BmpForm form;
    form.width = width;
    form.height = height;
    form.pixels = Bytes(pixelBytes, 0x5A);
    return test::MakeBmp(form);
}

void PutBig32(Bytes& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
    }
}

// A whole, valid 1 × 1 RGB PNG whose header is then made to claim width × height (the
// header's checksum made right again), so only the amount of image data gives it away.
Bytes PngClaiming(uint32_t width, uint32_t height) {
    Bytes bytes = test::MakePng(1, 1, 2, 8, {Bytes(3, 9)});
    PutBig32(bytes, 16, width);
    PutBig32(bytes, 20, height);
    const uLong crc = crc32(crc32(0, nullptr, 0), bytes.data() + 12, 17);
    PutBig32(bytes, 29, static_cast<uint32_t>(crc));
    return bytes;
}

TEST(PictureLimits, BmpTooShortForItsClaimedPixelsIsRefusedBeforeAllocating) {
    test::ScratchFolder folder;
    // 16000 × 16000 is inside the bound (768 MB of pixels) but the file holds 54 bytes.
    const Bytes claim = BmpClaiming(16000, 16000, 0);
    Image image = test::SolidImage(3, 1, 1, 2, 3);
    EXPECT_EQ(ReadBmpFile(image, folder.Write("claim.bmp", claim)), kBmpNoPixels);
    EXPECT_EQ(DecodeBmp(claim, image), kBmpNoPixels);
    EXPECT_EQ(image.width(), 3);
    // One byte short of a 2 × 2 block is refused the same way; the whole block reads.
    EXPECT_EQ(DecodeBmp(BmpClaiming(2, 2, 15), image), kBmpNoPixels);
    EXPECT_EQ(DecodeBmp(BmpClaiming(2, 2, 16), image), 70 - 14);
    EXPECT_EQ(image.width(), 2);
}

TEST(PictureLimits, BmpBeyondTheBoundOrWithOverflowingSizesIsRefused) {
    const struct {
        int32_t width;
        int32_t height;
    } claims[] = {{100000, 100000}, {1 << 14, (1 << 14) + 1}, {INT32_MAX, 1}, {1, INT32_MIN},
                  {-1, 1},          {0x40000000, 4}};
    for (const auto& c : claims) {
        Image image;
        EXPECT_EQ(DecodeBmp(BmpClaiming(c.width, c.height, 64), image), kBmpSizeRefused)
            << c.width << " x " << c.height;
        EXPECT_TRUE(image.empty());
    }
}

TEST(PictureLimits, DecodeBmpAgreesWithTheFileReader) {
    test::ScratchFolder folder;
    std::mt19937 rng(5);
    test::BmpForm good;
    good.width = 3;
    good.height = -2;
    good.pixels = Bytes(24);
    for (auto& b : good.pixels) {
        b = static_cast<uint8_t>(rng());
    }
    const Bytes whole = test::MakeBmp(good);
    int index = 0;
    for (size_t cut : {size_t{0}, size_t{1}, size_t{2}, size_t{13}, size_t{14}, size_t{53},
                       size_t{54}, whole.size() - 1, whole.size()}) {
        const Bytes bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        Image fromFile;
        Image fromMemory;
        const int fileCode =
            ReadBmpFile(fromFile, folder.Write("c" + std::to_string(index++) + ".bmp", bytes));
        // An empty file has no signature to read; in memory that is simply not "BM".
        const int expected = fileCode == kBmpCannotOpenForSignature ? kBmpNotBm : fileCode;
        EXPECT_EQ(DecodeBmp(bytes, fromMemory), cut < 2 ? kBmpNotBm : expected) << cut;
        EXPECT_EQ(fromFile.byteCount(), fromMemory.byteCount()) << cut;
        if (!fromFile.empty()) {
            EXPECT_EQ(0, std::memcmp(fromFile.data(), fromMemory.data(), fromFile.byteCount()));
            EXPECT_EQ(fromMemory.info.biHeight, -2);
        }
    }
}

TEST(PictureLimits, PngWhoseDataCannotHoldItsRowsIsRefusedBeforeDecoding) {
    Image image;
    AlphaPlane plane;
    // Inside the bound, but a few dozen bytes cannot inflate to 768 MB of rows.
    const Bytes insideBytes = PngClaiming(16384, 16384);
    const Bytes beyondBytes = PngClaiming(16384, 16385);
    const Bytes overflowingBytes = PngClaiming(0x80000000u, 0x80000000u);
    ByteReader inside(insideBytes);
    EXPECT_EQ(ReadPngStream(inside, image, &plane, nullptr), kPngCorrupt);
    ByteReader beyond(beyondBytes);
    EXPECT_EQ(ReadPngStream(beyond, image, &plane, nullptr), kPngSizeRefused);
    ByteReader overflowing(overflowingBytes);
    EXPECT_NE(ReadPngStream(overflowing, image, &plane, nullptr), kPngOk);
    EXPECT_TRUE(image.empty());
    EXPECT_TRUE(plane.values.empty());
    EXPECT_EQ(inside.position(), 0u);
}

TEST(PictureLimits, StreamReadersHonourASmallerPixelBound) {
    const Bytes png = test::MakePng(4, 4, 0, 8, std::vector<Bytes>(4, Bytes(4, 50)));
    test::JpegForm form;
    form.width = 4;
    form.height = 4;
    form.components = 1;
    const Bytes jpeg = test::MakeJpeg(form, Bytes(16, 50));
    Image image;
    ByteReader pngTight(png);
    EXPECT_EQ(ReadPngStream(pngTight, image, nullptr, nullptr, 15), kPngSizeRefused);
    ByteReader jpegTight(jpeg);
    EXPECT_EQ(ReadJpegStream(jpegTight, image, 15), kJpegDecodeFailed);
    EXPECT_TRUE(image.empty());
    ByteReader pngEnough(png);
    EXPECT_EQ(ReadPngStream(pngEnough, image, nullptr, nullptr, 16), kPngOk);
    ByteReader jpegEnough(jpeg);
    EXPECT_EQ(ReadJpegStream(jpegEnough, image, 16), kJpegOk);
    EXPECT_EQ(image.width(), 4);
}

TEST(PictureLimits, NamedPipeAmongPicturesIsRefusedWithoutBlocking) {
    test::ScratchFolder folder;
    for (const char* name : {"pipe.png", "pipe.bmp", "pipe.jpg"}) {
        const auto path = folder.path() / name;
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        auto result = std::async(std::launch::async, [&path] {
            NullMessageSink messages;
            Image image;
            std::vector<uint8_t> bytes;
            return LoadImageFile(messages, path, image, false) == -1 &&
                   ReadFileBytes(path, bytes, 1024) == -1 && image.empty();
        });
        if (result.wait_for(std::chrono::seconds(120)) != std::future_status::ready) {
            // Let the blocked reader go before failing, or the test could not end.
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            ADD_FAILURE() << name << ": reading a named pipe blocked";
            result.wait();
            if (fd >= 0) {
                ::close(fd);
            }
            continue;
        }
        EXPECT_TRUE(result.get()) << name;
    }
}

}  // namespace
}  // namespace tama05

namespace tama05 {
namespace {

// A progressive JPEG whose last scan (from its SOS marker up to EOI) is repeated extra times.
Bytes JpegWithRepeatedLastScan(int extra) {
    test::JpegForm form;
    form.width = 16;
    form.height = 16;
    form.components = 1;
    form.progressive = true;
    const Bytes jpeg = test::MakeJpeg(form, Bytes(256, 77));
    size_t lastScan = 0;
    for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {
            lastScan = i;
        }
    }
    const size_t end = jpeg.size() - 2;  // EOI
    Bytes out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    for (int i = 0; i < extra; ++i) {
        out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(lastScan),
                   jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

TEST(PictureLimits, JpegWithEndlesslyRepeatedScansIsRefused) {
    Image image;
    // A few repeated scans are only odd: the picture still reads.
    const Bytes fewBytes = JpegWithRepeatedLastScan(5);
    const Bytes manyBytes = JpegWithRepeatedLastScan(1200);
    ByteReader few(fewBytes);
    EXPECT_EQ(ReadJpegStream(few, image), kJpegOk);
    EXPECT_EQ(image.width(), 16);
    // Thousands of passes over the picture are refused.
    Image untouched;
    ByteReader many(manyBytes);
    EXPECT_EQ(ReadJpegStream(many, untouched), kJpegDecodeFailed);
    EXPECT_TRUE(untouched.empty());
    EXPECT_EQ(many.position(), 0u);
}

}  // namespace
}  // namespace tama05
