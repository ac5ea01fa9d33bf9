#pragma once

#include <functional>

#include "app/ui_hand_over.h"
#include "puzzle/drop_worker.h"

namespace tama05 {

class Game;

// What a drop shows, called on the worker thread. Cells are drawn straight into the main
// window's back buffer (it has its own lock and coalesces the repaints); the wait meter, the
// score and the comments' panel changes go to the user-interface thread as queued calls. The
// worker never touches a widget.
class WindowDropScreen final : public DropScreen {
  public:
    explicit WindowDropScreen(Game& game) : m_game(game) {}

    void ShowWaitMeter(bool visible) override;
    void DrawWaitMeter(int32_t index, int32_t count) override;
    void FlashCell(const Image& piece, int32_t x, int32_t y, int32_t width,
                   int32_t height) override;
    void Comment(CommentKind kind, int32_t value) override;
    void ShowScore(int32_t score) override;

  private:
    void Post(std::function<void()> call);

    Game& m_game;
    UiHandOver m_handOver;
};

}  // namespace tama05
