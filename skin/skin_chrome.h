#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/image.h"
#include "core/message_sink.h"
#include "skin/skin_button.h"
#include "skin/skin_commands.h"
#include "skin/skin_layout.h"
#include "skin/skin_panel.h"
#include "skin/skin_pictures.h"

namespace tama05 {

// The six buttons, in the order they are made and re-skinned.
enum class ButtonId : uint8_t { kClose, kMinimize, kNew, kOpen, kSave, kMenu };
inline constexpr int kButtonCount = 6;
// The five panels, in the order they are made and re-skinned.
enum class PanelId : uint8_t { kPointDisp, kAssistantDisp, kMessage1, kMessage2, kWaitMeter };
inline constexpr int kPanelCount = 5;

// The rectangle keys of each button and panel.
SkinRect ButtonRect(const SkinLayout& layout, ButtonId id);
SkinRect PanelRect(const SkinLayout& layout, PanelId id);
// The window class name: "CLOSE", ..., "MENU0"; "POINT_DISP", ..., "WAITMETER".
std::string_view ButtonClassName(ButtonId id);
std::string_view PanelClassName(PanelId id);

// Copies a panel's font height, colour and text origin from the layout (the score panel and
// the two message panels; the others keep theirs).
void ApplyPanelTextStyle(const SkinLayout& layout, PanelId id, SkinPanel& panel);

// The logic side of the skinned window chrome: buttons, panels and the two picture bases that
// the assistant composes its pictures over.
struct SkinChrome {
    std::array<SkinButton, 5> buttons{SkinButton(kCommandClose), SkinButton(kCommandMinimize),
                                      SkinButton(kCommandNew), SkinButton(kCommandOpen),
                                      SkinButton(kCommandSave)};
    SkinMenuButton menu;
    std::array<SkinPanel, kPanelCount> panels;
    Image scorePictureBase;
    Image assistantPictureBase;

    // One of the five command buttons (kMenu is `menu`, not one of them).
    SkinButton& button(ButtonId id) { return buttons.at(static_cast<size_t>(id)); }
    // Either kind, for what both share (pictures, rectangle, capture).
    SkinButtonBase& anyButton(ButtonId id) {
        if (id == ButtonId::kMenu) {
            return menu;
        }
        return button(id);
    }
    SkinPanel& panel(PanelId id) { return panels[static_cast<size_t>(id)]; }
};

// Where the skin's files are and how pictures are read.
struct SkinContext {
    // The current skin folder (kept in the settings); a fall-back may change it.
    std::filesystem::path& skinFolder;
    std::filesystem::path defaultSkinFolder;
    SkinLayout& layout;
    MessageSink& messages;
    // PNG reading with the alpha plane (state sheets).
    PictureLoader loadPng;
    // Picture reading with messages off (backgrounds, the wait meter).
    PictureLoader loadImage;
};

// The screen side of applying a skin.
class SkinScreen {
  public:
    virtual ~SkinScreen() = default;
    // Carries out a button's actions (window geometry, pictures) in order.
    virtual void ApplyButton(ButtonId id, const ButtonActions& actions) = 0;
    // A panel was placed: move its window to its rectangle when result.moved (the wait meter
    // stays hidden), then repaint it from its surface.
    virtual void ApplyPanel(PanelId id, const SkinPanel::PlaceResult& result) = 0;
};

// The screen side of a skin change.
class SkinChangeScreen : public SkinScreen {
  public:
    // The folder browser, titled title and opened at current; nothing when cancelled.
    virtual std::optional<std::filesystem::path> BrowseForFolder(
        std::string_view title, const std::filesystem::path& current) = 0;
    // Sends kCommandReloadControlBackground to the control window or
    // kCommandReloadSliderBackground to the slider bar, synchronously.
    virtual void SendCommand(uint16_t command) = 0;
    // The assistant announces the skin: the score-side comment, then the assistant-side one.
    virtual void AnnounceSkin() = 0;
    // Repaints the whole control window and slider bar, backgrounds erased.
    virtual void InvalidateChrome() = 0;
};

inline constexpr std::string_view kSkinFolderBrowserTitle = "スキンのフォルダを指定";

// The pictures a skin's buttons and panels are cut from; released once they are applied.
struct SkinSources {
    StateSheets sheets;
    // ctrl_back.png and sub_ctrl_back.png of the skin folder; empty when missing (the panels
    // cut from them are then black).
    Image controlBack;
    Image sliderBack;
};
// Builds the state sheets and loads the two panel background sources from the skin folder.
void LoadSkinSources(const SkinContext& context, SkinSources& sources);

// Makes the buttons and panels of the current skin (start-up), in order: close, minimise,
// new, open, save, menu; score panel, assistant panel, first message panel, second message
// panel, wait meter. Each takes its rectangle from the layout whatever it is. The score panel
// and the message panels get their text style; the picture bases are captured. Text lines are
// left to the caller; the wait meter stays hidden. Returns 0.
int CreateChrome(const SkinContext& context, const SkinSources& sources, SkinChrome& chrome,
                 SkinScreen& screen);

// Applies the current skin to made buttons and panels in the same order, each moving only to
// a usable rectangle. Text lines keep their contents. Returns 0.
int ReskinChrome(const SkinContext& context, const SkinSources& sources, SkinChrome& chrome,
                 SkinScreen& screen);

// The skin change: folder browser (cancel → -1, nothing changed), the chosen folder becomes
// the skin folder, its layout is loaded (falling back to the default skin folder, its result
// not checked), the backgrounds are reloaded (32789, then 32790), the chrome is re-skinned,
// the assistant announces it and the chrome is repainted. Returns 0 after a change.
int ChangeSkin(const SkinContext& context, SkinChrome& chrome, SkinChangeScreen& screen);

}  // namespace tama05
