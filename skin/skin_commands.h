#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tama05 {

// Command identifiers sent by the buttons and the File menu.
inline constexpr uint16_t kCommandOpen = 32771;
inline constexpr uint16_t kCommandSave = 32772;
inline constexpr uint16_t kCommandAssociate = 32773;
inline constexpr uint16_t kCommandClose = 32780;
inline constexpr uint16_t kCommandMinimize = 32781;
inline constexpr uint16_t kCommandNew = 32782;
inline constexpr uint16_t kCommandAlwaysOnTop = 32783;
inline constexpr uint16_t kCommandSaveAs = 32784;
inline constexpr uint16_t kCommandVersion = 32785;
inline constexpr uint16_t kCommandPuzzleInfo = 32786;
inline constexpr uint16_t kCommandChangeSkin = 32788;
// Sent by a skin change: the control window, then the slider bar, reload their backgrounds.
inline constexpr uint16_t kCommandReloadControlBackground = 32789;
inline constexpr uint16_t kCommandReloadSliderBackground = 32790;

// One entry of the File menu; command 0 is a separator.
struct FileMenuEntry {
    std::string_view text;
    uint16_t command;
};

// The File menu opened by the menu button, top to bottom. The entry of kCommandAlwaysOnTop
// carries a check mark while the always-on-top setting is 1.
inline constexpr std::array<FileMenuEntry, 16> kFileMenu = {{
    {"パズルの新規作成", kCommandNew},
    {"開く", kCommandOpen},
    {"上書き保存", kCommandSave},
    {"名前を付けて保存", kCommandSaveAs},
    {"", 0},
    {"パズルの情報", kCommandPuzzleInfo},
    {"", 0},
    {"スキンの変更", kCommandChangeSkin},
    {"", 0},
    {"ファイルの関連付けをする", kCommandAssociate},
    {"", 0},
    {"常に手前に表示する", kCommandAlwaysOnTop},
    {"最小化する", kCommandMinimize},
    {"終了する", kCommandClose},
    {"", 0},
    {"バージョン情報", kCommandVersion},
}};

}  // namespace tama05
