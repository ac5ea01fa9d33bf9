#include "skin/skin_layout.h"

#include <fstream>
#include <limits>
#include <optional>
#include <string>

namespace tama05 {

namespace {

constexpr std::array<SkinKeyDefinition, kSkinKeyCount> kKeys = {{
    {"VERSION", 0},
    {"CLOSE_L", 285},
    {"CLOSE_T", 3},
    {"CLOSE_W", 10},
    {"CLOSE_H", 12},
    {"MINIMIZE_L", 272},
    {"MINIMIZE_T", 3},
    {"MINIMIZE_W", 10},
    {"MINIMIZE_H", 12},
    {"MENU0_L", 9},
    {"MENU0_T", 5},
    {"MENU0_W", 35},
    {"MENU0_H", 12},
    {"NEW_L", 9},
    {"NEW_T", 5},
    {"NEW_W", 35},
    {"NEW_H", 12},
    {"OPEN_L", 9},
    {"OPEN_T", 5},
    {"OPEN_W", 35},
    {"OPEN_H", 12},
    {"SAVE_L", 9},
    {"SAVE_T", 5},
    {"SAVE_W", 35},
    {"SAVE_H", 12},
    {"ASSISTANT_DISP_L", 9},
    {"ASSISTANT_DISP_T", 5},
    {"ASSISTANT_DISP_W", 35},
    {"ASSISTANT_DISP_H", 12},
    {"POINT_DISP_L", 9},
    {"POINT_DISP_T", 5},
    {"POINT_DISP_W", 35},
    {"POINT_DISP_H", 12},
    {"POINT_DISP_X", 0},
    {"POINT_DISP_Y", 0},
    {"POINT_DISP_FONT_SIZE", 32},
    {"POINT_DISP_COLOR_R", 0},
    {"POINT_DISP_COLOR_G", 255},
    {"POINT_DISP_COLOR_B", 255},
    {"MESSAGE1_L", 9},
    {"MESSAGE1_T", 5},
    {"MESSAGE1_W", 35},
    {"MESSAGE1_H", 12},
    {"MESSAGE1_X", 0},
    {"MESSAGE1_Y", 0},
    {"MESSAGE1_FONT_SIZE", 32},
    {"MESSAGE1_COLOR_R", 0},
    {"MESSAGE1_COLOR_G", 255},
    {"MESSAGE1_COLOR_B", 255},
    {"MESSAGE2_L", 9},
    {"MESSAGE2_T", 5},
    {"MESSAGE2_W", 35},
    {"MESSAGE2_H", 12},
    {"MESSAGE2_X", 0},
    {"MESSAGE2_Y", 0},
    {"MESSAGE2_FONT_SIZE", 32},
    {"MESSAGE2_COLOR_R", 0},
    {"MESSAGE2_COLOR_G", 255},
    {"MESSAGE2_COLOR_B", 255},
    {"SUB_CTRL_BG_COLOR_R", 255},
    {"SUB_CTRL_BG_COLOR_G", 0},
    {"SUB_CTRL_BG_COLOR_B", 0},
    {"WAIT_METER_L", 9},
    {"WAIT_METER_T", 5},
    {"WAIT_METER_W", 35},
    {"WAIT_METER_H", 12},
    {"WAIT_METER_W2", 35},
    {"WAIT_METER_H2", 12},
    {"WAIT_METER_X", 35},
    {"WAIT_METER_Y", 12},
    {"WAIT_METER_COLOR_R", 255},
    {"WAIT_METER_COLOR_G", 0},
    {"WAIT_METER_COLOR_B", 0},
}};

constexpr std::array<std::string_view, kSkinColorCount> kColorNames = {
    "POINT_DISP_COLOR", "MESSAGE1_COLOR", "MESSAGE2_COLOR", "SUB_CTRL_BG_COLOR",
    "WAIT_METER_COLOR"};

constexpr std::array<SkinKey, kSkinColorCount> kColorRedKeys = {
    SkinKey::kPointDispColorR, SkinKey::kMessage1ColorR, SkinKey::kMessage2ColorR,
    SkinKey::kSubCtrlBgColorR, SkinKey::kWaitMeterColorR};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A cursor over the text that the keys are scanned from.
class Scanner {
  public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    // Consumes the characters of expected while they match; true when all of them did.
    bool Match(std::string_view expected) {
        for (char c : expected) {
            if (m_position >= m_text.size() || m_text[m_position] != c) {
                return false;
            }
            ++m_position;
        }
        return true;
    }
    void SkipBlanks() {
        while (m_position < m_text.size() && IsBlank(m_text[m_position])) {
            ++m_position;
        }
    }
    // An optionally signed decimal integer. The sign and the digits are consumed; the value
    // is returned only when there was a digit and it fits 32 bits. sawDigit tells whether
    // there was a digit at all.
    std::optional<int32_t> ReadInteger(bool& sawDigit) {
        bool negative = false;
        if (m_position < m_text.size() &&
            (m_text[m_position] == '+' || m_text[m_position] == '-')) {
            negative = m_text[m_position] == '-';
            ++m_position;
        }
        bool digit = false;
        bool overflow = false;
        int64_t magnitude = 0;
        while (m_position < m_text.size() && m_text[m_position] >= '0' &&
               m_text[m_position] <= '9') {
            digit = true;
            magnitude = magnitude * 10 + (m_text[m_position] - '0');
            if (magnitude > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
                overflow = true;
                magnitude = int64_t{std::numeric_limits<int32_t>::max()} + 1;
            }
            ++m_position;
        }
        sawDigit = digit;
        const int64_t value = negative ? -magnitude : magnitude;
        if (!digit || overflow || value > std::numeric_limits<int32_t>::max()) {
            return std::nullopt;
        }
        return static_cast<int32_t>(value);
    }

  private:
    std::string_view m_text;
    size_t m_position = 0;
};

}  // namespace

const std::array<SkinKeyDefinition, kSkinKeyCount>& SkinKeyTable() {
    return kKeys;
}

std::string_view SkinKeyName(SkinKey key) {
    return kKeys[static_cast<size_t>(key)].name;
}

std::string_view SkinColorName(SkinColor color) {
    return kColorNames[static_cast<size_t>(color)];
}

SkinKey SkinColorRedKey(SkinColor color) {
    return kColorRedKeys[static_cast<size_t>(color)];
}

SkinLayout::SkinLayout() {
    for (size_t i = 0; i < kKeys.size(); ++i) {
        values[i] = kKeys[i].defaultValue;
    }
    for (size_t c = 0; c < colors.size(); ++c) {
        const auto red = static_cast<size_t>(kColorRedKeys[c]);
        colors[c] = PackColor(values[red], values[red + 1], values[red + 2]);
    }
}

SkinRect SkinLayout::RectAt(SkinKey leftKey) const {
    const auto i = static_cast<size_t>(leftKey);
    return SkinRect{values[i], values[i + 1], values[i + 2], values[i + 3]};
}

SkinScanReport ScanSkinText(std::string_view text, SkinLayout& layout) {
    SkinScanReport report;
    std::array<bool, kSkinKeyCount> taken{};
    Scanner scanner(text);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        const auto key = static_cast<SkinKey>(i);
        std::optional<int32_t> value;
        if (scanner.Match(kKeys[i].name) && scanner.Match("=")) {
            scanner.SkipBlanks();
            bool sawDigit = false;
            value = scanner.ReadInteger(sawDigit);
            // A value too large for 32 bits fails its key alone, like an empty one.
            if (sawDigit) {
                scanner.SkipBlanks();
            }
        }
        if (value) {
            layout.values[i] = *value;
            taken[i] = true;
            if (key == SkinKey::kVersion) {
                layout.versionTaken = true;
            }
            report.taken.push_back(key);
        } else {
            report.failed.push_back(key);
        }
    }
    for (size_t c = 0; c < kColorRedKeys.size(); ++c) {
        const auto red = static_cast<size_t>(kColorRedKeys[c]);
        uint32_t packed = layout.colors[c];
        for (size_t part = 0; part < 3; ++part) {
            if (taken[red + part]) {
                const uint32_t shift = 8 * static_cast<uint32_t>(part);
                packed = (packed & ~(0xFFu << shift)) |
                         ((static_cast<uint32_t>(layout.values[red + part]) & 0xFFu) << shift);
            }
        }
        layout.colors[c] = packed;
    }
    return report;
}

int ReadSkinText(const std::filesystem::path& folder, SkinLayout& layout, SkinScanReport* report) {
    std::error_code error;
    const std::filesystem::path file = folder / "skin.txt";
    if (!std::filesystem::is_regular_file(file, error)) {
        return -1;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return -1;
    }
    std::string text(kMaxSkinTextBytes, '\0');
    stream.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (stream.bad()) {
        return -1;
    }
    text.resize(static_cast<size_t>(stream.gcount()));
    SkinScanReport scanned = ScanSkinText(text, layout);
    if (report != nullptr) {
        *report = std::move(scanned);
    }
    return 0;
}

int LoadSkinLayout(std::filesystem::path& skinFolder,
                   const std::filesystem::path& defaultSkinFolder, SkinLayout& layout,
                   MessageSink& messages, SkinScanReport* report) {
    if (ReadSkinText(skinFolder, layout, report) == 0) {
        return 0;
    }
    skinFolder = defaultSkinFolder;
    if (ReadSkinText(skinFolder, layout, report) == 0) {
        return 0;
    }
    messages.ShowMessage(kSkinTextMissingMessage, kSkinTextMissingCaption);
    return -1;
}

}  // namespace tama05
