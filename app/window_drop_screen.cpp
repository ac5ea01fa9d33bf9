#include "app/window_drop_screen.h"

#include <mutex>

#include "app/game.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "assistant/after_drop_comment.h"
#include "skin/skin_panel.h"

namespace tama05 {

void WindowDropScreen::Post(std::function<void()> call) {
    m_handOver.Post(std::move(call));
}

void WindowDropScreen::ShowWaitMeter(bool visible) {
    Post([game = &m_game, visible] {
        if (PanelWidget* meter = game->panelWidget(PanelId::kWaitMeter)) {
            meter->SetMeter({}, 0);
            meter->setVisible(visible);
        }
    });
}

void WindowDropScreen::DrawWaitMeter(int32_t index, int32_t count) {
    // The skin cannot change while a drop runs (the skin change waits for its end).
    const SkinLayout& layout = m_game.layout();
    std::vector<MeterSegment> segments = tama05::DrawWaitMeter(index, count, layout);
    const uint32_t color = layout.color(SkinColor::kWaitMeter);
    Post([game = &m_game, segments = std::move(segments), color]() mutable {
        if (PanelWidget* meter = game->panelWidget(PanelId::kWaitMeter)) {
            meter->SetMeter(std::move(segments), color);
        }
    });
}

void WindowDropScreen::FlashCell(const Image& piece, int32_t x, int32_t y, int32_t width,
                                 int32_t height) {
    if (MainWindow* main = m_game.mainWindow()) {
        main->view().FlashCell(m_game.puzzle(), piece, x, y, width, height);
    }
}

void WindowDropScreen::Comment(CommentKind kind, int32_t value) {
    RunComment(m_game.CommentEnvironmentFor(m_game.commentScreen()), CommentRoutineFor(kind),
               value);
}

void WindowDropScreen::ShowScore(int32_t score) {
    Post([game = &m_game, score] {
        game->chrome().panel(PanelId::kPointDisp).line1 = FormatScore(score);
        if (PanelWidget* panel = game->panelWidget(PanelId::kPointDisp)) {
            panel->update();
        }
    });
}

}  // namespace tama05
