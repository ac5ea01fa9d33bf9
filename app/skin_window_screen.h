#pragma once

#include "skin/skin_chrome.h"

namespace tama05 {

class Game;

// The windows' side of making and changing a skin: buttons and panels take their places and
// pictures, the folder browser opens, the two skinned windows reload their backgrounds, the
// assistant announces the new skin and the chrome is repainted.
class SkinWindowScreen final : public SkinChangeScreen {
  public:
    explicit SkinWindowScreen(Game& game) : m_game(game) {}

    void ApplyButton(ButtonId id, const ButtonActions& actions) override;
    void ApplyPanel(PanelId id, const SkinPanel::PlaceResult& result) override;
    std::optional<std::filesystem::path> BrowseForFolder(
        std::string_view title, const std::filesystem::path& current) override;
    void SendCommand(uint16_t command) override;
    void AnnounceSkin() override;
    void InvalidateChrome() override;

  private:
    Game& m_game;
};

}  // namespace tama05
