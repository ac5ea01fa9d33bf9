#include "skin/skin_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "text_files.h"

namespace tama05 {
namespace {

// The 73 keys of skin.txt with their defaults, in file order ("—": none).
constexpr const char* kDocumentedKeys =
    "VERSION=- CLOSE_L=285 CLOSE_T=3 CLOSE_W=10 CLOSE_H=12 MINIMIZE_L=272 MINIMIZE_T=3 "
    "MINIMIZE_W=10 MINIMIZE_H=12 MENU0_L=9 MENU0_T=5 MENU0_W=35 MENU0_H=12 NEW_L=9 NEW_T=5 "
    "NEW_W=35 NEW_H=12 OPEN_L=9 OPEN_T=5 OPEN_W=35 OPEN_H=12 SAVE_L=9 SAVE_T=5 SAVE_W=35 "
    "SAVE_H=12 ASSISTANT_DISP_L=9 ASSISTANT_DISP_T=5 ASSISTANT_DISP_W=35 ASSISTANT_DISP_H=12 "
    "POINT_DISP_L=9 POINT_DISP_T=5 POINT_DISP_W=35 POINT_DISP_H=12 POINT_DISP_X=0 "
    "POINT_DISP_Y=0 POINT_DISP_FONT_SIZE=32 POINT_DISP_COLOR_R=0 POINT_DISP_COLOR_G=255 "
    "POINT_DISP_COLOR_B=255 MESSAGE1_L=9 MESSAGE1_T=5 MESSAGE1_W=35 MESSAGE1_H=12 "
    "MESSAGE1_X=0 MESSAGE1_Y=0 MESSAGE1_FONT_SIZE=32 MESSAGE1_COLOR_R=0 MESSAGE1_COLOR_G=255 "
    "MESSAGE1_COLOR_B=255 MESSAGE2_L=9 MESSAGE2_T=5 MESSAGE2_W=35 MESSAGE2_H=12 MESSAGE2_X=0 "
    "MESSAGE2_Y=0 MESSAGE2_FONT_SIZE=32 MESSAGE2_COLOR_R=0 MESSAGE2_COLOR_G=255 "
    "MESSAGE2_COLOR_B=255 SUB_CTRL_BG_COLOR_R=255 SUB_CTRL_BG_COLOR_G=0 SUB_CTRL_BG_COLOR_B=0 "
    "WAIT_METER_L=9 WAIT_METER_T=5 WAIT_METER_W=35 WAIT_METER_H=12 WAIT_METER_W2=35 "
    "WAIT_METER_H2=12 WAIT_METER_X=35 WAIT_METER_Y=12 WAIT_METER_COLOR_R=255 "
    "WAIT_METER_COLOR_G=0 WAIT_METER_COLOR_B=0 ";

std::vector<std::pair<std::string, std::string>> DocumentedKeys() {
    std::vector<std::pair<std::string, std::string>> keys;
    std::istringstream in(kDocumentedKeys);
    std::string word;
    while (in >> word) {
        const size_t eq = word.find('=');
        keys.emplace_back(word.substr(0, eq), word.substr(eq + 1));
    }
    return keys;
}

// A complete skin.txt: every key with the value given by value(index), LF line ends.
template <typename F>
std::string FullSkin(F value, std::string_view lineEnd = "\n") {
    std::string text;
    for (int i = 0; i < kSkinKeyCount; ++i) {
        text += std::string(SkinKeyName(static_cast<SkinKey>(i))) + "=" + std::to_string(value(i)) +
                std::string(lineEnd);
    }
    return text;
}

std::string Without(std::string text, std::string_view line) {
    const size_t at = text.find(line);
    if (at != std::string::npos) {
        text.erase(at, line.size());
    }
    return text;
}

std::vector<std::string> Names(const std::vector<SkinKey>& keys) {
    std::vector<std::string> names;
    for (SkinKey key : keys) {
        names.emplace_back(SkinKeyName(key));
    }
    return names;
}

TEST(SkinLayout, KeysAndDefaultsAreTheDocumentedOnes) {
    const auto documented = DocumentedKeys();
    ASSERT_EQ(documented.size(), 73u);
    const SkinLayout layout;
    for (int i = 0; i < kSkinKeyCount; ++i) {
        const auto key = static_cast<SkinKey>(i);
        EXPECT_EQ(SkinKeyName(key), documented[static_cast<size_t>(i)].first) << i;
        if (documented[static_cast<size_t>(i)].second != "-") {
            EXPECT_EQ(std::to_string(layout[key]), documented[static_cast<size_t>(i)].second)
                << SkinKeyName(key);
        }
    }
    EXPECT_FALSE(layout.versionTaken);
    // Default colours: text (0, 255, 255), slider bar background and meter (255, 0, 0).
    EXPECT_EQ(layout.color(SkinColor::kPointDisp), 0xFFFF00u);
    EXPECT_EQ(layout.color(SkinColor::kMessage2), 0xFFFF00u);
    EXPECT_EQ(layout.color(SkinColor::kSubCtrlBg), 0x0000FFu);
    EXPECT_EQ(layout.color(SkinColor::kWaitMeter), 0x0000FFu);
}

TEST(SkinLayout, CompleteFileTakesEveryKey) {
    SkinLayout layout;
    const SkinScanReport report = ScanSkinText(FullSkin([](int i) { return 1000 + i; }), layout);
    EXPECT_EQ(report.taken.size(), 73u);
    EXPECT_TRUE(report.failed.empty());
    EXPECT_TRUE(layout.versionTaken);
    EXPECT_EQ(layout[SkinKey::kVersion], 1000);
    EXPECT_EQ(layout[SkinKey::kWaitMeterColorB], 1072);
    EXPECT_EQ(layout.RectAt(SkinKey::kCloseL), (SkinRect{1001, 1002, 1003, 1004}));
}

TEST(SkinLayout, MissingLineStopsEveryLaterKeyThatBreaksOffMidway) {
    // Without MENU0_W, "MENU0_" of the MENU0_H line is consumed by the MENU0_W attempt.
    SkinLayout layout;
    const std::string text = Without(FullSkin([](int i) { return 500 + i; }), "MENU0_W=511\n");
    const SkinScanReport report = ScanSkinText(text, layout);
    const std::vector<std::string> taken = Names(report.taken);
    ASSERT_EQ(taken.size(), 11u);
    EXPECT_EQ(taken.front(), "VERSION");
    EXPECT_EQ(taken.back(), "MENU0_T");
    EXPECT_EQ(Names(report.failed).front(), "MENU0_W");
    EXPECT_EQ(report.failed.size(), 62u);
    EXPECT_EQ(layout[SkinKey::kMenu0T], 510);
    EXPECT_EQ(layout[SkinKey::kMenu0W], 35);
    EXPECT_EQ(layout[SkinKey::kMenu0H], 12);
    EXPECT_EQ(layout[SkinKey::kWaitMeterColorB], 0);
}

TEST(SkinLayout, KeyFailingOnItsFirstCharacterConsumesNothing) {
    // Without POINT_DISP_COLOR_B the next line starts with "M": the attempt fails at once
    // and MESSAGE1_L still matches.
    SkinLayout layout;
    const std::string text =
        Without(FullSkin([](int i) { return 100 + i; }), "POINT_DISP_COLOR_B=138\n");
    const SkinScanReport report = ScanSkinText(text, layout);
    EXPECT_EQ(Names(report.failed), std::vector<std::string>{"POINT_DISP_COLOR_B"});
    EXPECT_EQ(layout[SkinKey::kMessage1L], 139);
    EXPECT_EQ(layout[SkinKey::kWaitMeterColorB], 172);
    EXPECT_EQ(layout[SkinKey::kPointDispColorB], 255);
}

TEST(SkinLayout, EmptyValueFailsAlone) {
    SkinLayout layout;
    std::string text = FullSkin([](int i) { return 40 + i; });
    const size_t at = text.find("CLOSE_L=41");
    text.replace(at, 10, "CLOSE_L=");
    const SkinScanReport report = ScanSkinText(text, layout);
    EXPECT_EQ(Names(report.failed), std::vector<std::string>{"CLOSE_L"});
    EXPECT_EQ(layout[SkinKey::kCloseL], 285);
    EXPECT_EQ(layout[SkinKey::kCloseT], 42);
    EXPECT_EQ(layout[SkinKey::kWaitMeterColorB], 112);
}

TEST(SkinLayout, BlankLinesCrLfLeadingBlanksAndTrailingTextAreAccepted) {
    SkinLayout layout;
    std::string text = FullSkin([](int i) { return i; }, "\r\n\r\n   \t");
    text += "anything at all after the last key\n";
    const SkinScanReport report = ScanSkinText(text, layout);
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(layout[SkinKey::kWaitMeterColorG], 71);
}

TEST(SkinLayout, BlankBetweenKeyAndEqualsSignIsNot) {
    SkinLayout layout;
    std::string text = FullSkin([](int i) { return i; });
    text.replace(text.find("CLOSE_L="), 8, "CLOSE_L =");
    const SkinScanReport report = ScanSkinText(text, layout);
    EXPECT_EQ(Names(report.taken), std::vector<std::string>{"VERSION"});
    EXPECT_EQ(layout[SkinKey::kCloseL], 285);
}

TEST(SkinLayout, BlanksAfterTheEqualsSignAndSignsAreAccepted) {
    SkinLayout layout;
    const SkinScanReport report = ScanSkinText("VERSION= \n -3\nCLOSE_L=+17\n", layout);
    EXPECT_EQ(layout[SkinKey::kVersion], -3);
    EXPECT_EQ(layout[SkinKey::kCloseL], 17);
    EXPECT_EQ(report.taken.size(), 2u);
}

TEST(SkinLayout, ValueBeyond32BitsFailsAlone) {
    SkinLayout layout;
    const SkinScanReport report =
        ScanSkinText("VERSION=1\nCLOSE_L=99999999999\nCLOSE_T=-2147483648\n", layout);
    EXPECT_EQ(layout[SkinKey::kCloseL], 285);
    EXPECT_EQ(layout[SkinKey::kCloseT], -2147483647 - 1);
    EXPECT_EQ(Names(report.failed).front(), "CLOSE_L");
}

TEST(SkinLayout, ColourComponentsUseTheirLowEightBits) {
    SkinLayout layout;
    std::string text = FullSkin([](int) { return 1; });
    text.replace(text.find("POINT_DISP_COLOR_R=1"), 20, "POINT_DISP_COLOR_R=300");
    ScanSkinText(text, layout);
    EXPECT_EQ(layout[SkinKey::kPointDispColorR], 300);
    EXPECT_EQ(layout.color(SkinColor::kPointDisp), 44u + 1 * 256 + 1 * 65536);
    EXPECT_EQ(PackColor(-1, 256, 511), 0xFF00FFu);
}

TEST(SkinLayout, FailedComponentKeepsThePreviousColour) {
    SkinLayout layout;
    ScanSkinText(FullSkin([](int) { return 300; }), layout);
    EXPECT_EQ(layout.color(SkinColor::kWaitMeter), PackColor(44, 44, 44));
    // A second skin whose file ends after WAIT_METER_COLOR_R.
    std::string text = FullSkin([](int) { return 7; });
    text.erase(text.find("WAIT_METER_COLOR_G"));
    ScanSkinText(text, layout);
    EXPECT_EQ(layout.color(SkinColor::kWaitMeter), PackColor(7, 44, 44));
    EXPECT_EQ(layout[SkinKey::kWaitMeterColorG], 300);
}

TEST(SkinLayout, ValuesAreNeverResetBetweenScans) {
    SkinLayout layout;
    ScanSkinText("VERSION=2\nCLOSE_L=1\n", layout);
    ScanSkinText("VERSION=3\n", layout);
    EXPECT_EQ(layout[SkinKey::kCloseL], 1);
    EXPECT_EQ(layout[SkinKey::kVersion], 3);
}

TEST(SkinLayout, EveryTruncationOfAFileTakesAPrefixOfTheKeys) {
    const std::string full = FullSkin([](int i) { return i * 3; });
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        SkinLayout layout;
        const SkinScanReport report = ScanSkinText(full.substr(0, cut), layout);
        ASSERT_EQ(report.taken.size() + report.failed.size(), 73u);
        for (size_t i = 0; i < report.taken.size(); ++i) {
            ASSERT_EQ(static_cast<size_t>(report.taken[i]), i) << cut;
        }
    }
}

TEST(SkinLayout, ArbitraryBytesNeverBreakTheScanner) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string text = FullSkin([](int i) { return i; });
        for (int flips = 0; flips < 5; ++flips) {
            text[static_cast<size_t>(rng()) % text.size()] = static_cast<char>(byte(rng));
        }
        SkinLayout layout;
        const SkinScanReport report = ScanSkinText(text, layout);
        ASSERT_EQ(report.taken.size() + report.failed.size(), 73u);
    }
}

TEST(SkinLayout, FallsBackToTheDefaultSkinFolder) {
    test::TempFolder root;
    std::filesystem::create_directories(root.path() / "default");
    std::filesystem::create_directories(root.path() / "chosen");
    test::WriteFile(root.path() / "default/skin.txt", "VERSION=9\nCLOSE_L=8\n");
    std::filesystem::path skinFolder = root.path() / "chosen";
    SkinLayout layout;
    RecordingMessageSink messages;
    EXPECT_EQ(LoadSkinLayout(skinFolder, root.path() / "default", layout, messages), 0);
    EXPECT_EQ(skinFolder, root.path() / "default");
    EXPECT_EQ(layout[SkinKey::kCloseL], 8);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(SkinLayout, NoSkinTextAnywhereShowsTheMessageAndKeepsTheLayout) {
    test::TempFolder root;
    std::filesystem::path skinFolder = root.path() / "missing";
    SkinLayout layout;
    layout.values[1] = 77;
    RecordingMessageSink messages;
    EXPECT_EQ(LoadSkinLayout(skinFolder, root.path() / "also-missing", layout, messages), -1);
    EXPECT_EQ(skinFolder, root.path() / "also-missing");
    EXPECT_EQ(layout[SkinKey::kCloseL], 77);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "「skin.txt」が見つかりません。");
    EXPECT_EQ(messages.messages[0].caption, "エラー(ToT)");
}

}  // namespace
}  // namespace tama05
