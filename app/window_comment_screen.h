#pragma once

#include <functional>

#include "app/ui_hand_over.h"
#include "assistant/comment_screen.h"

namespace tama05 {

class Game;

// The comments' view of the windows. Comments after a drop run on the worker thread: every call
// copies what it is given and hands it to the user-interface thread as a queued call, in order;
// Pause sleeps the calling thread while the windows keep painting. On the user-interface thread
// the calls take effect at once.
class WindowCommentScreen final : public CommentScreen {
  public:
    explicit WindowCommentScreen(Game& game) : m_game(game) {}

    void SetPanelLines(CommentPanel panel, const std::string& line1,
                       const std::string& line2) override;
    void SetPanelTextParameters(CommentPanel panel, const PanelTextParameters& parameters) override;
    void ShowPanelPicture(CommentPanel panel, const Image& picture) override;
    void Pause(int milliseconds) override;
    void InvalidatePanel(CommentPanel panel) override;
    void ShowAnswerSlider() override;

  private:
    void Post(std::function<void()> call);

    Game& m_game;
    UiHandOver m_handOver;
};

}  // namespace tama05
