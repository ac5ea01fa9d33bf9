#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/message_sink.h"

namespace tama05 {

// The keys of `skin.txt`, in the one order the file must give them.
enum class SkinKey : uint8_t {
    kVersion,
    kCloseL,
    kCloseT,
    kCloseW,
    kCloseH,
    kMinimizeL,
    kMinimizeT,
    kMinimizeW,
    kMinimizeH,
    kMenu0L,
    kMenu0T,
    kMenu0W,
    kMenu0H,
    kNewL,
    kNewT,
    kNewW,
    kNewH,
    kOpenL,
    kOpenT,
    kOpenW,
    kOpenH,
    kSaveL,
    kSaveT,
    kSaveW,
    kSaveH,
    kAssistantDispL,
    kAssistantDispT,
    kAssistantDispW,
    kAssistantDispH,
    kPointDispL,
    kPointDispT,
    kPointDispW,
    kPointDispH,
    kPointDispX,
    kPointDispY,
    kPointDispFontSize,
    kPointDispColorR,
    kPointDispColorG,
    kPointDispColorB,
    kMessage1L,
    kMessage1T,
    kMessage1W,
    kMessage1H,
    kMessage1X,
    kMessage1Y,
    kMessage1FontSize,
    kMessage1ColorR,
    kMessage1ColorG,
    kMessage1ColorB,
    kMessage2L,
    kMessage2T,
    kMessage2W,
    kMessage2H,
    kMessage2X,
    kMessage2Y,
    kMessage2FontSize,
    kMessage2ColorR,
    kMessage2ColorG,
    kMessage2ColorB,
    kSubCtrlBgColorR,
    kSubCtrlBgColorG,
    kSubCtrlBgColorB,
    kWaitMeterL,
    kWaitMeterT,
    kWaitMeterW,
    kWaitMeterH,
    kWaitMeterW2,
    kWaitMeterH2,
    kWaitMeterX,
    kWaitMeterY,
    kWaitMeterColorR,
    kWaitMeterColorG,
    kWaitMeterColorB,
};
inline constexpr int kSkinKeyCount = 73;

struct SkinKeyDefinition {
    std::string_view name;
    // The value in force before any skin file has been read (VERSION has none: 0, not taken).
    int32_t defaultValue;
};
// The 73 keys in file order.
const std::array<SkinKeyDefinition, kSkinKeyCount>& SkinKeyTable();
std::string_view SkinKeyName(SkinKey key);

// The five colours of a skin, each built from three keys R, G, B.
enum class SkinColor : uint8_t { kPointDisp, kMessage1, kMessage2, kSubCtrlBg, kWaitMeter };
inline constexpr int kSkinColorCount = 5;
// "POINT_DISP_COLOR", ...
std::string_view SkinColorName(SkinColor color);
// The key of the red component; green and blue follow it.
SkinKey SkinColorRedKey(SkinColor color);

// A colour value red + green × 256 + blue × 65536 from the low 8 bits of each component.
constexpr uint32_t PackColor(int32_t red, int32_t green, int32_t blue) {
    return (static_cast<uint32_t>(red) & 0xFFu) | ((static_cast<uint32_t>(green) & 0xFFu) << 8) |
           ((static_cast<uint32_t>(blue) & 0xFFu) << 16);
}

// A rectangle of a skin: position and size in pixels.
struct SkinRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    // A re-skin moves a button or panel only to a rectangle with a non-negative position and
    // a positive size.
    bool Usable() const { return left >= 0 && top >= 0 && width > 0 && height > 0; }
    bool operator==(const SkinRect&) const = default;
};

// The placement, font and colour values of the current skin.
struct SkinLayout {
    SkinLayout();

    // Every key's value as last scanned (a colour key may hold 300), in key order.
    std::array<int32_t, kSkinKeyCount> values{};
    // VERSION has no default: false until a file provided it.
    bool versionTaken = false;
    // The packed colours, rebuilt after each scan.
    std::array<uint32_t, kSkinColorCount> colors{};

    int32_t operator[](SkinKey key) const { return values[static_cast<size_t>(key)]; }
    uint32_t color(SkinColor c) const { return colors[static_cast<size_t>(c)]; }
    // The four keys left, top, width, height starting at leftKey.
    SkinRect RectAt(SkinKey leftKey) const;
};

// Which keys the last scan took and which it left at their previous values, in key order.
struct SkinScanReport {
    std::vector<SkinKey> taken;
    std::vector<SkinKey> failed;
};

// Scans the text of a `skin.txt` into the layout. The keys are tried once each in file
// order, every attempt starting where the previous one stopped: the key and "=" are matched
// character by character (each matching character is consumed; the first mismatch ends the
// attempt and stays unread), then white space is skipped and an optionally signed decimal
// integer read; a value is stored only when it has a digit and fits 32 bits, and the white
// space after it is skipped. So a key whose first character does not match costs nothing and
// the next key may still match, a key that breaks off after consuming text leaves every later
// key failing, and an empty value fails alone. Text after the last key is ignored. Colours are
// rebuilt from their components; a failed component keeps that of the previous colour.
SkinScanReport ScanSkinText(std::string_view text, SkinLayout& layout);

// Reads and scans `skin.txt` of the folder. Returns 0, or -1 (the layout unchanged) when the
// file cannot be read. At most the first kMaxSkinTextBytes are scanned.
inline constexpr size_t kMaxSkinTextBytes = size_t{1} << 20;
int ReadSkinText(const std::filesystem::path& folder, SkinLayout& layout,
                 SkinScanReport* report = nullptr);

inline constexpr std::string_view kSkinTextMissingMessage = "「skin.txt」が見つかりません。";
inline constexpr std::string_view kSkinTextMissingCaption = "エラー(ToT)";

// Loads the layout of the current skin. When the skin folder has no readable `skin.txt`, the
// default skin folder becomes the skin folder (whether or not it has one either); when that
// has none, the message above is shown and -1 returned with the layout unchanged. Returns 0
// when a file was scanned.
int LoadSkinLayout(std::filesystem::path& skinFolder,
                   const std::filesystem::path& defaultSkinFolder, SkinLayout& layout,
                   MessageSink& messages, SkinScanReport* report = nullptr);

}  // namespace tama05
