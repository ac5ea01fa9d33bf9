#include "skin/skin_chrome.h"

namespace tama05 {

namespace {

constexpr std::array<SkinKey, kButtonCount> kButtonKeys = {SkinKey::kCloseL, SkinKey::kMinimizeL,
                                                           SkinKey::kNewL,   SkinKey::kOpenL,
                                                           SkinKey::kSaveL,  SkinKey::kMenu0L};
constexpr std::array<std::string_view, kButtonCount> kButtonClasses = {
    "CLOSE", "MINIMIZE", "NEW", "OPEN", "SAVE", "MENU0"};
constexpr std::array<SkinKey, kPanelCount> kPanelKeys = {
    SkinKey::kPointDispL, SkinKey::kAssistantDispL, SkinKey::kMessage1L, SkinKey::kMessage2L,
    SkinKey::kWaitMeterL};
constexpr std::array<std::string_view, kPanelCount> kPanelClasses = {
    "POINT_DISP", "ASSISTANT_DISP", "MESSAGE1", "MESSAGE2", "WAITMETER"};

enum class Mode { kCreate, kReskin };

int ApplySkin(Mode mode, const SkinContext& context, const SkinSources& sources, SkinChrome& chrome,
              SkinScreen& screen) {
    const SkinLayout& layout = context.layout;
    for (int i = 0; i < kButtonCount; ++i) {
        const auto id = static_cast<ButtonId>(i);
        const SkinRect rect = ButtonRect(layout, id);
        if (id == ButtonId::kMenu) {
            screen.ApplyButton(id, mode == Mode::kCreate
                                       ? chrome.menu.Create(rect, sources.sheets)
                                       : chrome.menu.Reskin(rect, sources.sheets));
        } else {
            SkinButton& button = chrome.button(id);
            screen.ApplyButton(id, mode == Mode::kCreate ? button.Create(rect, sources.sheets)
                                                         : button.Reskin(rect, sources.sheets));
        }
    }
    for (int i = 0; i < kPanelCount; ++i) {
        const auto id = static_cast<PanelId>(i);
        SkinPanel& panel = chrome.panel(id);
        const SkinRect rect = PanelRect(layout, id);
        const bool cut = id != PanelId::kWaitMeter;
        const bool onSliderBar = id == PanelId::kAssistantDisp || id == PanelId::kMessage2;
        const Image* source = onSliderBar ? &sources.sliderBack : &sources.controlBack;
        const std::filesystem::path picture =
            cut ? std::filesystem::path() : context.skinFolder / kWaitMeterPicture;
        const SkinPanel::PlaceResult result =
            mode == Mode::kCreate ? panel.Create(rect, cut, source, picture, context.loadImage)
                                  : panel.Place(rect, cut, source, picture, context.loadImage);
        ApplyPanelTextStyle(layout, id, panel);
        if (id == PanelId::kPointDisp) {
            panel.CaptureBackground(chrome.scorePictureBase);
        } else if (id == PanelId::kAssistantDisp) {
            panel.CaptureBackground(chrome.assistantPictureBase);
        }
        screen.ApplyPanel(id, result);
    }
    return 0;
}

}  // namespace

SkinRect ButtonRect(const SkinLayout& layout, ButtonId id) {
    return layout.RectAt(kButtonKeys[static_cast<size_t>(id)]);
}

SkinRect PanelRect(const SkinLayout& layout, PanelId id) {
    return layout.RectAt(kPanelKeys[static_cast<size_t>(id)]);
}

std::string_view ButtonClassName(ButtonId id) {
    return kButtonClasses[static_cast<size_t>(id)];
}

std::string_view PanelClassName(PanelId id) {
    return kPanelClasses[static_cast<size_t>(id)];
}

void ApplyPanelTextStyle(const SkinLayout& layout, PanelId id, SkinPanel& panel) {
    SkinKey first;
    SkinColor color;
    switch (id) {
        case PanelId::kPointDisp:
            first = SkinKey::kPointDispX;
            color = SkinColor::kPointDisp;
            break;
        case PanelId::kMessage1:
            first = SkinKey::kMessage1X;
            color = SkinColor::kMessage1;
            break;
        case PanelId::kMessage2:
            first = SkinKey::kMessage2X;
            color = SkinColor::kMessage2;
            break;
        default:
            return;
    }
    // X, Y and FONT_SIZE follow one another in the key order.
    const auto x = static_cast<size_t>(first);
    panel.textX = layout.values[x];
    panel.textY = layout.values[x + 1];
    panel.fontHeight = layout.values[x + 2];
    panel.textColor = layout.color(color);
}

void LoadSkinSources(const SkinContext& context, SkinSources& sources) {
    BuildStateSheets(context.skinFolder, context.loadPng, sources.sheets);
    if (context.loadImage(context.skinFolder / kCtrlBackPicture, sources.controlBack, nullptr) !=
        0) {
        sources.controlBack.Clear();
    }
    if (context.loadImage(context.skinFolder / kSubCtrlBackPicture, sources.sliderBack, nullptr) !=
        0) {
        sources.sliderBack.Clear();
    }
}

int CreateChrome(const SkinContext& context, const SkinSources& sources, SkinChrome& chrome,
                 SkinScreen& screen) {
    return ApplySkin(Mode::kCreate, context, sources, chrome, screen);
}

int ReskinChrome(const SkinContext& context, const SkinSources& sources, SkinChrome& chrome,
                 SkinScreen& screen) {
    return ApplySkin(Mode::kReskin, context, sources, chrome, screen);
}

int ChangeSkin(const SkinContext& context, SkinChrome& chrome, SkinChangeScreen& screen) {
    std::optional<std::filesystem::path> chosen =
        screen.BrowseForFolder(kSkinFolderBrowserTitle, context.skinFolder);
    if (!chosen) {
        return -1;
    }
    context.skinFolder = std::move(*chosen);
    LoadSkinLayout(context.skinFolder, context.defaultSkinFolder, context.layout, context.messages);
    SkinSources sources;
    LoadSkinSources(context, sources);
    screen.SendCommand(kCommandReloadControlBackground);
    screen.SendCommand(kCommandReloadSliderBackground);
    ReskinChrome(context, sources, chrome, screen);
    screen.AnnounceSkin();
    screen.InvalidateChrome();
    return 0;
}

}  // namespace tama05
