// Huffman image stream, little-endian: width, height and L (int32 each), 257 float32 symbol
// weights (bytes 0..255, then the end symbol stored as 0), then L code bytes holding every block
// byte's code and the end symbol's, most significant bit first. The reader trusts nothing: the
// sizes are bounded and backed by the bytes present before anything is allocated.
#include "puzzlefile/huffman_codec.h"

#include <cstring>
#include <limits>
#include <new>
#include <span>
#include <string>
#include <utility>

#include "core/limits.h"
#include "puzzlefile/huffman_decoder.h"
#include "puzzlefile/huffman_tree.h"

namespace tama05 {

namespace {

constexpr size_t kWeightBytes = 4 * detail::kHuffmanSymbols;

}  // namespace

int HuffCodeImg(const Image& image, std::vector<uint8_t>& out) {
    if (image.width() <= 0 || image.height() <= 0 || image.empty()) {
        return kHuffBadSize;
    }
    const std::span<const uint8_t> block(image.data(), image.byteCount());
    const detail::ByteCounts counts = detail::CountBytes(block);
    const detail::HuffmanWeights weights = detail::WeightsFromCounts(counts);
    const detail::HuffmanTree tree = detail::BuildHuffmanTree(weights);
    detail::HuffmanCodeTable codes;
    if (!detail::BuildCodeTable(tree, weights, codes)) {
        return kHuffTooLarge;
    }
    const uint64_t codeBytes = (detail::CodedBitCount(counts, codes) + 7) / 8;
    if (codeBytes > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        return kHuffTooLarge;
    }
    const size_t start = out.size();
    try {
        out.reserve(start + 12 + kWeightBytes + codeBytes);
    } catch (const std::bad_alloc&) {
        return kHuffTooLarge;
    }
    ByteWriter writer(out);
    writer.WriteI32(image.width());
    writer.WriteI32(image.height());
    writer.WriteI32(static_cast<int32_t>(codeBytes));
    for (const float w : weights) {
        writer.WriteF32(w);
    }
    const size_t codeStart = out.size();
    out.resize(codeStart + codeBytes);
    detail::WriteCodeBits(block, codes, std::span<uint8_t>(out.data() + codeStart, codeBytes));
    return kHuffOk;
}

int HuffCodeImg(const Image& image, ByteWriter& writer) {
    std::vector<uint8_t> stream;
    const int result = HuffCodeImg(image, stream);
    if (result == kHuffOk) {
        writer.WriteBytes(stream);
    }
    return result;
}

int HuffDecodeImg(Image& image, ByteReader& reader) {
    int32_t width = 0;
    int32_t height = 0;
    int32_t codeBytes = 0;
    if (!reader.ReadI32(width) || !reader.ReadI32(height) || !reader.ReadI32(codeBytes)) {
        return kHuffTruncated;
    }
    if (width <= 0 || height <= 0 || codeBytes <= 0) {
        return kHuffBadSize;
    }
    // Nothing is allocated before the sizes are known to be bounded and backed by data.
    const size_t rest = kWeightBytes + static_cast<size_t>(codeBytes);
    if (reader.remaining() < rest) {
        return kHuffTruncated;
    }
    const auto size = CheckPictureSize(width, height);
    if (!size) {
        reader.Skip(rest);
        return kHuffTooLarge;
    }
    // Every byte of the block and the end symbol take at least one bit each.
    if (static_cast<uint64_t>(codeBytes) * 8 < static_cast<uint64_t>(size->bytes) + 1) {
        reader.Skip(rest);
        return kHuffCorrupt;
    }

    detail::HuffmanWeights weights;
    for (float& w : weights) {
        reader.ReadF32(w);
    }
    std::span<const uint8_t> code;
    reader.ReadSpan(static_cast<size_t>(codeBytes), code);

    Image decoded;
    if (decoded.Create(width, height) != 0) {
        return kHuffTooLarge;
    }
    const std::span<uint8_t> block(decoded.data(), decoded.byteCount());
    const detail::HuffmanDecoder decoder(detail::BuildHuffmanTree(weights));
    const auto result = decoder.Decode(code, block);
    if (result.stop != detail::HuffmanDecoder::Stop::kEndSymbol) {
        return kHuffCorrupt;
    }
    std::memset(block.data() + result.produced, 0, block.size() - result.produced);

    // The image takes the new pixels and size; its headers and path stay as they were.
    BitmapInfoHeader info = image.info;
    BitmapFileHeader fileHeader = image.fileHeader;
    std::string path = std::move(image.path);
    image = std::move(decoded);
    image.info = info;
    image.fileHeader = fileHeader;
    image.path = std::move(path);
    return kHuffOk;
}

}  // namespace tama05
