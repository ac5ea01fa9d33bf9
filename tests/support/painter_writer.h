#pragma once

// Writers for the painter, item and canvas files of the sibling painting program, field by
// field as the readers expect them. Every kept int32 value is written as its own byte offset
// in the file (painter files) or as a running number, so a test can tell the fields apart.
// Pictures are given as finished bytes: a raw picture block (RawPlainBlock,
// RawRunLengthBlock), a JPEG stream or a Huffman stream.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tama05::test::painter {

using Bytes = std::vector<uint8_t>;

inline void PutI32(Bytes& out, int32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    }
}
inline void PutBytes(Bytes& out, const Bytes& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}
// text in a field of exactly size bytes, zero padded (text must be shorter than size to end
// with a zero byte).
inline void PutField(Bytes& out, const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
}
// The 12-byte header: eleven characters and a zero byte.
inline void PutHeader(Bytes& out, const std::string& text) {
    PutField(out, text, 12);
}

// Mode 0: the bytes as they are; count defaults to their number.
inline Bytes RawPlainBlock(const Bytes& block, int64_t count = -1) {
    Bytes out;
    PutI32(out, 0);
    PutI32(out, static_cast<int32_t>(count < 0 ? static_cast<int64_t>(block.size()) : count));
    PutBytes(out, block);
    return out;
}

// One run-length stream of plane: each run as its value, then z zero bytes and a non-zero n
// with 256 × z + n copies.
inline Bytes RunLengthStream(const Bytes& plane) {
    Bytes out;
    size_t i = 0;
    while (i < plane.size()) {
        size_t run = 1;
        while (i + run < plane.size() && plane[i + run] == plane[i]) {
            ++run;
        }
        size_t left = run;
        while (left > 0) {
            // A multiple of 256 cannot end in a non-zero byte: split off one.
            const size_t part = left % 256 == 0 ? left - 1 : left;
            out.push_back(plane[i]);
            for (size_t z = 0; z < part / 256; ++z) {
                out.push_back(0);
            }
            out.push_back(static_cast<uint8_t>(part % 256));
            left -= part;
        }
        i += run;
    }
    return out;
}

// Mode 1: the block's bytes split into three planes (byte 3k + j to plane j), each run-length
// coded; count is the block's size rounded down to a multiple of 3.
inline Bytes RawRunLengthBlock(const Bytes& block) {
    const size_t planeBytes = block.size() / 3;
    Bytes out;
    PutI32(out, 1);
    PutI32(out, static_cast<int32_t>(planeBytes * 3));
    for (size_t j = 0; j < 3; ++j) {
        Bytes plane(planeBytes);
        for (size_t k = 0; k < planeBytes; ++k) {
            plane[k] = block[3 * k + j];
        }
        PutBytes(out, RunLengthStream(plane));
    }
    return out;
}

struct PainterForm {
    std::string header = "esi file 0a";
    int32_t version = 0;
    Bytes name50;  // the 50-byte name field as stored; empty: nameText zero padded
    std::string nameText = "painter";
    int32_t pictureType = 1;
    uint8_t subPicturesFlag = 0;
    uint8_t extensionFlag = 0;
    uint8_t noteFlag = 0;
    Bytes picture;                     // a raw 100 × 100 block or a JPEG stream
    std::array<Bytes, 2> subPictures;  // raw 50 × 50 blocks
    std::array<std::string, 2> subTexts{"first", "second"};
    Bytes extension;  // 101 bytes; empty: tables of 1, 2, … and values 7, 8, 9
    Bytes note;       // 600 bytes; empty: byte i is i mod 251
};

inline Bytes DefaultExtension() {
    Bytes out;
    for (int i = 0; i < 92; ++i) {
        out.push_back(static_cast<uint8_t>(i + 1));
    }
    PutI32(out, 7);
    out.push_back(8);
    PutI32(out, 9);
    return out;
}

inline Bytes DefaultNote() {
    Bytes out(600);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<uint8_t>(i % 251);
    }
    return out;
}

inline Bytes MakePainterFile(const PainterForm& form) {
    Bytes out;
    PutHeader(out, form.header);
    PutI32(out, form.version);
    if (form.name50.empty()) {
        PutField(out, form.nameText, 50);
    } else {
        PutBytes(out, form.name50);
    }
    PutI32(out, 66);
    PutI32(out, form.pictureType);
    out.push_back(74);
    out.push_back(form.subPicturesFlag);
    out.push_back(form.extensionFlag);
    out.push_back(77);
    out.push_back(78);
    out.push_back(form.noteFlag);
    out.insert(out.end(), 40, 0xEE);
    while (out.size() < 412) {
        PutI32(out, static_cast<int32_t>(out.size()));
    }
    out.insert(out.end(), 152, 0xEE);
    PutBytes(out, form.picture);
    if (form.subPicturesFlag == 1) {
        for (size_t i = 0; i < 2; ++i) {
            PutBytes(out, form.subPictures[i]);
            PutField(out, form.subTexts[i], 256);
        }
    }
    if (form.extensionFlag == 1) {
        PutBytes(out, form.extension.empty() ? DefaultExtension() : form.extension);
    }
    if (form.noteFlag == 1) {
        PutBytes(out, form.note.empty() ? DefaultNote() : form.note);
    }
    return out;
}

struct ItemForm {
    std::string header = "itm file 0f";
    int32_t version = 0;
    int32_t itemClass = 0;
    int32_t longTextFlag = 0;
    std::optional<int32_t> nameLength;  // unset: the name's size plus its zero byte
    Bytes nameBytes;                    // as stored; empty: name and a zero byte
    std::string name = "brush";
    int32_t brushShape = -2;
    std::array<int32_t, 5> partShapes{3, 4, -1, -1, 5};
    int32_t width = 12;
    int32_t hardness = 34;
    int32_t density = 56;
    std::string description = "short text";
    Bytes picture;  // a raw 50 × 50 block
    std::string longText = "long text";
};

inline Bytes MakeItemFile(const ItemForm& form) {
    Bytes out;
    PutHeader(out, form.header);
    PutI32(out, form.version);
    PutI32(out, form.itemClass);
    PutI32(out, form.longTextFlag);
    out.insert(out.end(), 196, 0xEE);
    Bytes name = form.nameBytes;
    if (name.empty()) {
        name.assign(form.name.begin(), form.name.end());
        name.push_back(0);
    }
    PutI32(out, form.nameLength.value_or(static_cast<int32_t>(name.size())));
    PutBytes(out, name);
    PutI32(out, form.brushShape);
    PutI32(out, 1001);
    for (int32_t shape : form.partShapes) {
        PutI32(out, shape);
    }
    PutI32(out, form.width);
    PutI32(out, form.hardness);
    PutI32(out, form.density);
    PutI32(out, 1002);
    for (int32_t i = 0; i < 6 + 38; ++i) {
        PutI32(out, 2000 + i);
    }
    PutField(out, form.description, 256);
    PutBytes(out, form.picture);
    if (form.longTextFlag == 1) {
        PutField(out, form.longText, 2000);
    }
    return out;
}

struct CanvasForm {
    std::string header = "cnv file 0a";
    int32_t version = 0;
    Bytes name;  // the first text as stored (length-prefixed, zero included)
    Bytes painterPath;
    uint8_t pictureCoding = 1;
    uint8_t textureFlag = 0;
    uint8_t threshold = 0;
    uint8_t scale = 0;
    Bytes canvasData{1, 2, 3};
    std::optional<int32_t> canvasDataLength;  // unset: the data's size
    int32_t paperWidth = 0;
    int32_t paperHeight = 0;
    Bytes texture;  // Huffman streams, written only with texture flag 1
    Bytes paper;
    Bytes picture;  // a Huffman or JPEG stream
};

inline Bytes Text(const std::string& text) {
    Bytes out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

inline Bytes MakeCanvasFile(const CanvasForm& form) {
    Bytes out;
    PutHeader(out, form.header);
    PutI32(out, form.version);
    PutI32(out, static_cast<int32_t>(form.name.size()));
    PutBytes(out, form.name);
    PutI32(out, static_cast<int32_t>(form.painterPath.size()));
    PutBytes(out, form.painterPath);
    for (int32_t i = 0; i < 7; ++i) {
        PutI32(out, 300 + i);
    }
    out.push_back(form.pictureCoding);
    out.push_back(form.textureFlag);
    out.push_back(form.threshold);
    out.push_back(form.scale);
    out.insert(out.end(), 46, 0xEE);
    PutI32(out, form.canvasDataLength.value_or(static_cast<int32_t>(form.canvasData.size())));
    PutBytes(out, form.canvasData);
    PutI32(out, form.paperWidth);
    PutI32(out, form.paperHeight);
    if (form.textureFlag == 1) {
        PutBytes(out, form.texture);
        PutBytes(out, form.paper);
    }
    PutBytes(out, form.picture);
    return out;
}

}  // namespace tama05::test::painter
