#include "app/skin_window_screen.h"

#include "app/bridge/qt_path.h"
#include "app/control_window.h"
#include "app/game.h"
#include "app/panel_widget.h"
#include "app/skin_button_widget.h"
#include "app/slider_bar.h"

namespace tama05 {

void SkinWindowScreen::ApplyButton(ButtonId id, const ButtonActions& actions) {
    if (SkinButtonWidget* button = m_game.buttonWidget(id)) {
        button->Apply(actions);
    }
}

void SkinWindowScreen::ApplyPanel(PanelId id, const SkinPanel::PlaceResult& result) {
    PanelWidget* panel = m_game.panelWidget(id);
    if (panel == nullptr) {
        return;
    }
    if (result.moved) {
        panel->PlaceAtPanelRect();
        // The wait meter shows only while dropped files are processed.
        panel->setVisible(id != PanelId::kWaitMeter);
    }
    panel->SurfaceChanged();
}

std::optional<std::filesystem::path> SkinWindowScreen::BrowseForFolder(
    std::string_view title, const std::filesystem::path& current) {
    return m_game.dialogs().ChooseSkinFolder(m_game.controlWindow(), FromUtf8(title), current);
}

void SkinWindowScreen::SendCommand(uint16_t command) {
    if (command == kCommandReloadControlBackground && m_game.controlWindow() != nullptr) {
        m_game.controlWindow()->ReloadBackground();
    } else if (command == kCommandReloadSliderBackground && m_game.sliderBar() != nullptr) {
        m_game.sliderBar()->ReloadBackground();
    }
}

void SkinWindowScreen::AnnounceSkin() {
    m_game.AnnounceSkin();
}

void SkinWindowScreen::InvalidateChrome() {
    if (m_game.controlWindow() != nullptr) {
        m_game.controlWindow()->update();
    }
    if (m_game.sliderBar() != nullptr) {
        m_game.sliderBar()->update();
    }
}

}  // namespace tama05
