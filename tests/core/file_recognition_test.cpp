#include "core/file_recognition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tama05 {
namespace {

using Bytes = std::vector<uint8_t>;

// The recognition rules written out plainly, one kind at a time.
bool EndsLike(const std::string& name, std::vector<std::string> patterns) {
    if (name.size() < 4) {
        return false;
    }
    for (size_t i = 0; i < 4; ++i) {
        const char c = name[name.size() - 4 + i];
        bool any = false;
        for (const std::string& p : patterns) {
            any = any || p[i] == c;
        }
        if (!any) {
            return false;
        }
    }
    return true;
}

bool StartsWith(const Bytes& head, const std::string& text) {
    return head.size() >= text.size() &&
           std::equal(text.begin(), text.end(), head.begin(),
                      [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

FileKind ReferencePicture(const Bytes& head, const std::string& name) {
    if (StartsWith(head, "\x89PNG\r\n\x1a\n")) {
        return FileKind::Png;
    }
    if (EndsLike(name, {".bmp", ".BMP"}) && StartsWith(head, "BM")) {
        return FileKind::Bmp;
    }
    if (EndsLike(name, {".jpg", ".JPG", "jpeg", "JPEG"})) {
        return FileKind::Jpeg;
    }
    return FileKind::Unknown;
}

FileKind ReferenceSource(const Bytes& head) {
    if (head.size() < 12) {
        return FileKind::Unknown;
    }
    if (StartsWith(head, "itm file 0f")) {
        return FileKind::Item;
    }
    if (StartsWith(head, "esi file 0a") || StartsWith(head, "esi file 0f")) {
        return FileKind::Painter;
    }
    if (StartsWith(head, "cnv file 0a")) {
        return FileKind::Canvas;
    }
    return FileKind::Unknown;
}

FileKind Found(const Bytes& head, const std::string& name, FileKinds kinds) {
    const RecognitionRow* row = RecogniseFile(head, name, kinds);
    return row != nullptr ? row->kind : FileKind::Unknown;
}

// Heads and names mixed from every magic and ending, cut, flipped and padded at random.
TEST(FileRecognitionTest, AgreesWithThePlainRulesOnHostileMixtures) {
    const std::vector<std::string> magics = {
        "\x89PNG\r\n\x1a\n", "BM",           "esi file 0a", "esi file 0f", "cnv file 0a",
        "itm file 0f",       "\xff\xd8\xff", "esi file 0b", "esi fila 0f", ""};
    const std::vector<std::string> endings = {".png", ".jpg", ".JPG", ".jpeg", "JPEG", "jPeG",
                                              ".bmp", ".BMP", ".Bmp", ".bMp",  ".dib", ".esi",
                                              ".jpe", "bmp",  "jpg",  "",      "x"};
    std::mt19937 random(20261209);
    const FileKinds sources =
        KindBit(FileKind::Item) | KindBit(FileKind::Painter) | KindBit(FileKind::Canvas);
    for (int i = 0; i < 20000; ++i) {
        const std::string& magic = magics[random() % magics.size()];
        Bytes head(magic.begin(), magic.end());
        head.resize(head.size() + random() % 6, static_cast<uint8_t>(random()));
        if (random() % 3 == 0 && !head.empty()) {
            head[random() % head.size()] ^= static_cast<uint8_t>(1 << (random() % 8));
        }
        if (random() % 3 == 0) {
            head.resize(random() % (head.size() + 1));
        }
        const std::string name = "dir/p" + endings[random() % endings.size()] +
                                 (random() % 4 == 0 ? endings[random() % endings.size()] : "");
        ASSERT_EQ(Found(head, name, kPictureKinds), ReferencePicture(head, name)) << name;
        ASSERT_EQ(Found(head, name, sources), ReferenceSource(head)) << name;
        const FileKind any = Found(head, name, ~FileKinds{0});
        const FileKind source = ReferenceSource(head);
        ASSERT_EQ(any, source != FileKind::Unknown ? source : ReferencePicture(head, name));
    }
}

}  // namespace
}  // namespace tama05
