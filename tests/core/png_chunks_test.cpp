#include "core/png_chunks.h"

#include <gtest/gtest.h>

#include "bomb_files.h"
#include "core/byte_reader.h"
#include "core/png_file.h"

namespace tama05 {
namespace {

using test::Bytes;

// A text, compressed text, international text or suggested-palette chunk claiming 2 GB in a
// file of under a hundred bytes is refused before the decoder sees it.
TEST(PngChunksTest, ChunkClaimingMoreThanTheFileIsRefused) {
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "IDAT"}) {
        const Bytes bomb = test::PngChunkBomb(type);
        EXPECT_LT(bomb.size(), 100u);
        EXPECT_FALSE(PngChunksFit(bomb)) << type;
        ByteReader reader(bomb);
        Image image;
        EXPECT_EQ(ReadPngStream(reader, image, nullptr, nullptr), kPngCorrupt) << type;
    }
}

TEST(PngChunksTest, WholeFilesFitAndLargeAncillaryChunksAreRefused) {
    const Bytes png = test::MakePng(3, 2, 2, 8, {Bytes(9, 1), Bytes(9, 2)});
    EXPECT_TRUE(PngChunksFit(png));
    // Followers after IEND (an embedded picture's) are not looked at; a cut stream is refused.
    Bytes followed = png;
    followed.insert(followed.end(), {0xFF, 0xFF, 0xFF, 0xFF, 'x'});
    EXPECT_TRUE(PngChunksFit(followed));
    for (size_t cut = 8; cut < png.size(); cut += 7) {
        EXPECT_FALSE(PngChunksFit(std::span(png).first(cut))) << cut;
    }
    Bytes text = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    test::PutPngChunk(text, "IHDR", test::PngIhdr(1, 1, 2), 13);
    test::PutPngChunk(text, "tEXt", Bytes(kMaxPngAncillaryChunkBytes + 1, 'a'),
                      kMaxPngAncillaryChunkBytes + 1);
    test::PutPngChunk(text, "IEND", {}, 0);
    EXPECT_FALSE(PngChunksFit(text));
    EXPECT_TRUE(PngChunksFit(text, kMaxPngAncillaryChunkBytes + 1));
    const auto size = PeekPngSize(test::PngZeroBomb(300, 7));
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 300u);
    EXPECT_EQ(size->height, 7u);
}

}  // namespace
}  // namespace tama05
