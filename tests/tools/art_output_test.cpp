// Checks the skins, character pictures, icons and samples that the art generator writes into
// the program folder: the skin.txt keys and their order, the picture sizes the windows and
// panels rely on, and the formats of the sample pieces.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "assistant/comment_tables.h"
#include "skin/skin_layout.h"
#include "skin/slider_bar_layout.h"

namespace {

namespace fs = std::filesystem;

const fs::path kProgramDir = TAMA05_PROGRAM_DIR;
const fs::path kSourceDir = TAMA05_SOURCE_DIR;
const char* const kSkinFolders[] = {"skin", "skin_night"};

// The 73 keys of skin.txt, in the order the scanner reads them.
const std::vector<std::string> kSkinKeys = {"VERSION",
                                            "CLOSE_L",
                                            "CLOSE_T",
                                            "CLOSE_W",
                                            "CLOSE_H",
                                            "MINIMIZE_L",
                                            "MINIMIZE_T",
                                            "MINIMIZE_W",
                                            "MINIMIZE_H",
                                            "MENU0_L",
                                            "MENU0_T",
                                            "MENU0_W",
                                            "MENU0_H",
                                            "NEW_L",
                                            "NEW_T",
                                            "NEW_W",
                                            "NEW_H",
                                            "OPEN_L",
                                            "OPEN_T",
                                            "OPEN_W",
                                            "OPEN_H",
                                            "SAVE_L",
                                            "SAVE_T",
                                            "SAVE_W",
                                            "SAVE_H",
                                            "ASSISTANT_DISP_L",
                                            "ASSISTANT_DISP_T",
                                            "ASSISTANT_DISP_W",
                                            "ASSISTANT_DISP_H",
                                            "POINT_DISP_L",
                                            "POINT_DISP_T",
                                            "POINT_DISP_W",
                                            "POINT_DISP_H",
                                            "POINT_DISP_X",
                                            "POINT_DISP_Y",
                                            "POINT_DISP_FONT_SIZE",
                                            "POINT_DISP_COLOR_R",
                                            "POINT_DISP_COLOR_G",
                                            "POINT_DISP_COLOR_B",
                                            "MESSAGE1_L",
                                            "MESSAGE1_T",
                                            "MESSAGE1_W",
                                            "MESSAGE1_H",
                                            "MESSAGE1_X",
                                            "MESSAGE1_Y",
                                            "MESSAGE1_FONT_SIZE",
                                            "MESSAGE1_COLOR_R",
                                            "MESSAGE1_COLOR_G",
                                            "MESSAGE1_COLOR_B",
                                            "MESSAGE2_L",
                                            "MESSAGE2_T",
                                            "MESSAGE2_W",
                                            "MESSAGE2_H",
                                            "MESSAGE2_X",
                                            "MESSAGE2_Y",
                                            "MESSAGE2_FONT_SIZE",
                                            "MESSAGE2_COLOR_R",
                                            "MESSAGE2_COLOR_G",
                                            "MESSAGE2_COLOR_B",
                                            "SUB_CTRL_BG_COLOR_R",
                                            "SUB_CTRL_BG_COLOR_G",
                                            "SUB_CTRL_BG_COLOR_B",
                                            "WAIT_METER_L",
                                            "WAIT_METER_T",
                                            "WAIT_METER_W",
                                            "WAIT_METER_H",
                                            "WAIT_METER_W2",
                                            "WAIT_METER_H2",
                                            "WAIT_METER_X",
                                            "WAIT_METER_Y",
                                            "WAIT_METER_COLOR_R",
                                            "WAIT_METER_COLOR_G",
                                            "WAIT_METER_COLOR_B"};

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t BigEndian32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) |
           b[at + 3];
}

uint32_t LittleEndian(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | b[at + i];
    }
    return value;
}

struct PngHeader {
    bool valid = false;
    uint32_t width = 0, height = 0;
    uint8_t bitDepth = 0, colorType = 0;
};

// The PNG signature followed by the IHDR chunk: length 13, "IHDR", width, height (big-endian),
// bit depth, colour type.
PngHeader ReadPngHeader(const fs::path& path) {
    static constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                          0x0D, 0x0A, 0x1A, 0x0A};
    const std::vector<uint8_t> bytes = ReadFile(path);
    PngHeader header;
    if (bytes.size() < 33 || !std::equal(kSignature.begin(), kSignature.end(), bytes.begin()) ||
        BigEndian32(bytes, 8) != 13 ||
        std::string(bytes.begin() + 12, bytes.begin() + 16) != "IHDR") {
        return header;
    }
    header.valid = true;
    header.width = BigEndian32(bytes, 16);
    header.height = BigEndian32(bytes, 20);
    header.bitDepth = bytes[24];
    header.colorType = bytes[25];
    return header;
}

struct SkinTxt {
    std::vector<std::string> keys;
    std::map<std::string, int> values;
};

// A plain line reading: each line "KEY=VALUE", CR LF or LF.
SkinTxt ReadSkinTxt(const fs::path& path) {
    SkinTxt skin;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            skin.keys.push_back(line);
            continue;
        }
        const std::string key = line.substr(0, eq);
        skin.keys.push_back(key);
        size_t used = 0;
        const std::string digits = line.substr(eq + 1);
        try {
            skin.values[key] = std::stoi(digits, &used);
        } catch (...) {
            used = 0;
        }
        if (used == 0 || used != digits.size()) {
            skin.values.erase(key);
        }
    }
    return skin;
}

struct Rect {
    int left, top, width, height;
};

Rect RectOf(const SkinTxt& skin, const std::string& prefix) {
    return {skin.values.at(prefix + "_L"), skin.values.at(prefix + "_T"),
            skin.values.at(prefix + "_W"), skin.values.at(prefix + "_H")};
}

bool Inside(const Rect& r, uint32_t width, uint32_t height) {
    return r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 &&
           static_cast<uint32_t>(r.left + r.width) <= width &&
           static_cast<uint32_t>(r.top + r.height) <= height;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

class SkinFolderTest : public testing::TestWithParam<const char*> {
  protected:
    fs::path folder() const { return kProgramDir / GetParam(); }
    SkinTxt skin() const { return ReadSkinTxt(folder() / "skin.txt"); }
};

TEST_P(SkinFolderTest, SkinTxtHasEveryKeyInOrderWithAnIntegerValue) {
    const SkinTxt txt = skin();
    ASSERT_EQ(txt.keys, kSkinKeys);
    EXPECT_EQ(txt.values.size(), kSkinKeys.size()) << "a key without an integer value";
}

TEST_P(SkinFolderTest, StateSheetsAndPanelsFitTheStrip) {
    const SkinTxt txt = skin();
    ASSERT_EQ(txt.values.size(), kSkinKeys.size());
    const PngHeader back = ReadPngHeader(folder() / "ctrl_back.png");
    ASSERT_TRUE(back.valid);
    for (const char* sheet : {"ctrl_normal.png", "ctrl_over.png", "ctrl_down.png"}) {
        const PngHeader h = ReadPngHeader(folder() / sheet);
        ASSERT_TRUE(h.valid) << sheet;
        EXPECT_EQ(h.width, back.width) << sheet;
        EXPECT_EQ(h.height, back.height) << sheet;
        EXPECT_EQ(h.colorType, 6) << sheet << " needs alpha so only the buttons cover the back";
    }
    const std::vector<std::string> stripParts = {"CLOSE",      "MINIMIZE", "MENU0",
                                                 "NEW",        "OPEN",     "SAVE",
                                                 "POINT_DISP", "MESSAGE1", "WAIT_METER"};
    for (const std::string& part : stripParts) {
        EXPECT_TRUE(Inside(RectOf(txt, part), back.width, back.height)) << part;
    }
    // Buttons must not cover each other or the text panels.
    for (size_t i = 0; i < stripParts.size(); ++i) {
        for (size_t j = i + 1; j < stripParts.size(); ++j) {
            EXPECT_FALSE(Overlap(RectOf(txt, stripParts[i]), RectOf(txt, stripParts[j])))
                << stripParts[i] << " and " << stripParts[j];
        }
    }
}

TEST_P(SkinFolderTest, WaitMeterPictureHoldsItsBar) {
    const SkinTxt txt = skin();
    ASSERT_EQ(txt.values.size(), kSkinKeys.size());
    const Rect meter = RectOf(txt, "WAIT_METER");
    const PngHeader h = ReadPngHeader(folder() / "wait_meter.png");
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.width, static_cast<uint32_t>(meter.width));
    EXPECT_EQ(h.height, static_cast<uint32_t>(meter.height));
    const Rect bar = {txt.values.at("WAIT_METER_X"), txt.values.at("WAIT_METER_Y"),
                      txt.values.at("WAIT_METER_W2"), txt.values.at("WAIT_METER_H2")};
    EXPECT_TRUE(Inside(bar, h.width, h.height));
    // Twenty segments of equal step end exactly at the bar's right end.
    const int step = static_cast<int>(bar.width * 0.05 + 0.9);
    EXPECT_EQ(step * 20, bar.width);
}

TEST_P(SkinFolderTest, SliderBarLeavesRoomForTheSliderAndItsValueBox) {
    const SkinTxt txt = skin();
    ASSERT_EQ(txt.values.size(), kSkinKeys.size());
    const PngHeader sub = ReadPngHeader(folder() / "sub_ctrl_back.png");
    ASSERT_TRUE(sub.valid);
    EXPECT_EQ(sub.width, static_cast<uint32_t>(tama05::kSliderBarWidth));
    EXPECT_EQ(sub.height, static_cast<uint32_t>(tama05::kSliderBarHeight));
    const Rect controls = {tama05::kSliderControlsArea.left, tama05::kSliderControlsArea.top,
                           tama05::kSliderControlsArea.width, tama05::kSliderControlsArea.height};
    for (const char* part : {"ASSISTANT_DISP", "MESSAGE2"}) {
        EXPECT_TRUE(Inside(RectOf(txt, part), sub.width, sub.height)) << part;
        EXPECT_FALSE(Overlap(RectOf(txt, part), controls)) << part;
    }
    EXPECT_FALSE(Overlap(RectOf(txt, "ASSISTANT_DISP"), RectOf(txt, "MESSAGE2")));
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinFolderTest, testing::ValuesIn(kSkinFolders));

TEST(SkinSwitching, SecondSkinKeepsStripAndCharacterPanelSizes) {
    const PngHeader first = ReadPngHeader(kProgramDir / "skin" / "ctrl_back.png");
    const PngHeader second = ReadPngHeader(kProgramDir / "skin_night" / "ctrl_back.png");
    ASSERT_TRUE(first.valid);
    ASSERT_TRUE(second.valid);
    EXPECT_EQ(first.width, second.width);
    EXPECT_EQ(first.height, second.height);
    const SkinTxt a = ReadSkinTxt(kProgramDir / "skin" / "skin.txt");
    const SkinTxt b = ReadSkinTxt(kProgramDir / "skin_night" / "skin.txt");
    for (const char* key :
         {"POINT_DISP_W", "POINT_DISP_H", "ASSISTANT_DISP_W", "ASSISTANT_DISP_H"}) {
        ASSERT_TRUE(a.values.count(key) && b.values.count(key)) << key;
        EXPECT_EQ(a.values.at(key), b.values.at(key)) << key;
    }
}

std::vector<std::string> CharacterPictureNames() {
    std::ifstream in(kSourceDir / "tests" / "tools" / "fixtures" / "character_pictures.txt");
    std::vector<std::string> names;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty()) {
            names.push_back(line);
        }
    }
    return names;
}

TEST(CharacterPictures, EveryNamedPictureExistsAtItsPanelSizeWithAlpha) {
    const std::vector<std::string> names = CharacterPictureNames();
    ASSERT_EQ(names.size(), 45u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 45u);
    const SkinTxt txt = ReadSkinTxt(kProgramDir / "skin" / "skin.txt");
    ASSERT_EQ(txt.values.size(), kSkinKeys.size());
    for (const std::string& name : names) {
        const bool mascot = name.rfind("point_disp_", 0) == 0;
        ASSERT_TRUE(mascot || name.rfind("assistant_disp_", 0) == 0) << name;
        const std::string panel = mascot ? "POINT_DISP" : "ASSISTANT_DISP";
        const PngHeader h = ReadPngHeader(kProgramDir / "skin" / name);
        ASSERT_TRUE(h.valid) << name;
        EXPECT_EQ(h.width, static_cast<uint32_t>(txt.values.at(panel + "_W"))) << name;
        EXPECT_EQ(h.height, static_cast<uint32_t>(txt.values.at(panel + "_H"))) << name;
        EXPECT_EQ(h.bitDepth, 8) << name;
        EXPECT_EQ(h.colorType, 6) << name << " should be RGBA";
    }
}

TEST(CharacterPictures, BlinkPartnersDiffer) {
    // Pairs that the comments alternate; identical files would show no blink.
    const std::pair<const char*, const char*> pairs[] = {
        {"point_disp_ki3.tgp", "point_disp_ki4.tgp"},
        {"point_disp_ki7.tgp", "point_disp_ki6.tgp"},
        {"point_disp_normal1.tgp", "point_disp_normal3.tgp"},
        {"point_disp_normal3.tgp", "point_disp_normal4.tgp"},
        {"point_disp_pika1.tgp", "point_disp_pika2.tgp"},
        {"point_disp_pika3.tgp", "point_disp_pika4.tgp"},
        {"assistant_disp_ki5.tgp", "assistant_disp_ki6.tgp"},
    };
    for (const auto& [a, b] : pairs) {
        EXPECT_NE(ReadFile(kProgramDir / "skin" / a), ReadFile(kProgramDir / "skin" / b))
            << a << " and " << b;
    }
}

TEST(Icons, EverySizeIsASquarePng) {
    for (uint32_t size : {16u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const fs::path path = kProgramDir / "icons" / ("tama05-" + std::to_string(size) + ".png");
        const PngHeader h = ReadPngHeader(path);
        ASSERT_TRUE(h.valid) << path;
        EXPECT_EQ(h.width, size);
        EXPECT_EQ(h.height, size);
    }
}

TEST(Samples, AnswerPictureAndManyPiecesInTheThreeReadableFormats) {
    const PngHeader answer = ReadPngHeader(kProgramDir / "samples" / "answer_scene.png");
    ASSERT_TRUE(answer.valid);
    EXPECT_GE(answer.width, 640u);
    EXPECT_EQ(answer.colorType, 2);

    std::map<std::string, int> counts;
    for (const auto& entry : fs::directory_iterator(kProgramDir / "samples" / "pieces")) {
        const fs::path& path = entry.path();
        const std::string ext = path.extension().string();
        ++counts[ext];
        const std::vector<uint8_t> bytes = ReadFile(path);
        if (ext == ".bmp") {
            // 24-bit, uncompressed, bottom-up (positive height), rows padded to 4 bytes.
            ASSERT_GE(bytes.size(), 54u) << path;
            EXPECT_EQ(bytes[0], 'B');
            EXPECT_EQ(bytes[1], 'M');
            const uint32_t width = LittleEndian(bytes, 18, 4);
            const int32_t height = static_cast<int32_t>(LittleEndian(bytes, 22, 4));
            EXPECT_EQ(LittleEndian(bytes, 28, 2), 24u) << path;
            EXPECT_EQ(LittleEndian(bytes, 30, 4), 0u) << path;
            ASSERT_GT(height, 0) << path;
            const uint32_t stride = (width * 3 + 3) & ~3u;
            EXPECT_EQ(bytes.size(), 54u + stride * static_cast<uint32_t>(height)) << path;
            EXPECT_GE(width, 64u);
            EXPECT_LE(width, 160u);
        } else if (ext == ".png") {
            const PngHeader h = ReadPngHeader(path);
            ASSERT_TRUE(h.valid) << path;
            EXPECT_EQ(h.bitDepth, 8) << path;
            EXPECT_EQ(h.colorType, 2) << path;
            EXPECT_GE(h.width, 64u);
            EXPECT_LE(h.width, 160u);
        } else if (ext == ".jpg") {
            ASSERT_GE(bytes.size(), 4u);
            EXPECT_EQ(bytes[0], 0xFF);
            EXPECT_EQ(bytes[1], 0xD8);
        } else {
            ADD_FAILURE() << "unexpected file " << path;
        }
    }
    EXPECT_GE(counts[".bmp"] + counts[".png"] + counts[".jpg"], 300);
    EXPECT_GE(counts[".bmp"], 50);
    EXPECT_GE(counts[".png"], 50);
    EXPECT_GE(counts[".jpg"], 50);
}

}  // namespace

namespace tama05 {
namespace {

// The game's own scanner takes every key of both generated skins.
TEST(GeneratedSkins, TheScannerTakesAllKeys) {
    for (const char* name : {"skin", "skin_night"}) {
        SkinLayout layout;
        SkinScanReport report;
        ASSERT_EQ(ReadSkinText(std::filesystem::path(TAMA05_PROGRAM_DIR) / name, layout, &report), 0)
            << name;
        EXPECT_EQ(report.taken.size(), static_cast<size_t>(kSkinKeyCount)) << name;
        EXPECT_TRUE(report.failed.empty()) << name;
        EXPECT_TRUE(layout.versionTaken) << name;
    }
}

// The comment tables name exactly the pictures the generator draws.
TEST(GeneratedSkins, TheCommentTablesNameTheDrawnPictures) {
    std::vector<std::string> drawn;
    std::ifstream list(std::string(TAMA05_SOURCE_DIR) + "/tests/tools/fixtures/character_pictures.txt");
    for (std::string line; std::getline(list, line);) {
        if (!line.empty()) {
            drawn.push_back(line);
        }
    }
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(CommentPictureNames(), drawn);
    for (const std::string& name : CommentPictureNames()) {
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(TAMA05_PROGRAM_DIR) / "skin" / name))
            << name;
    }
}

}  // namespace
}  // namespace tama05
