#include "app/window_comment_screen.h"

#include <QThread>
#include <chrono>
#include <memory>
#include <thread>

#include "app/game.h"
#include "app/panel_widget.h"
#include "app/slider_bar.h"

namespace tama05 {

namespace {

PanelId PanelFor(CommentPanel panel) {
    switch (panel) {
        case CommentPanel::POINT_DISP:
            return PanelId::kPointDisp;
        case CommentPanel::MESSAGE1:
            return PanelId::kMessage1;
        case CommentPanel::ASSISTANT_DISP:
            return PanelId::kAssistantDisp;
        case CommentPanel::MESSAGE2:
            return PanelId::kMessage2;
    }
    return PanelId::kMessage1;
}

bool OnUserInterfaceThread(const QObject& object) {
    return QThread::currentThread() == object.thread();
}

}  // namespace

void WindowCommentScreen::Post(std::function<void()> call) {
    m_handOver.Post(std::move(call));
}

void WindowCommentScreen::SetPanelLines(CommentPanel panel, const std::string& line1,
                                        const std::string& line2) {
    Post([game = &m_game, id = PanelFor(panel), line1, line2] {
        SkinPanel& target = game->chrome().panel(id);
        target.line1 = line1;
        if (id == PanelId::kMessage2) {
            target.line2.reset();
        } else {
            target.line2 = line2;
        }
    });
}

void WindowCommentScreen::SetPanelTextParameters(CommentPanel panel,
                                                 const PanelTextParameters& parameters) {
    Post([game = &m_game, id = PanelFor(panel), parameters] {
        SkinPanel& target = game->chrome().panel(id);
        target.textColor = parameters.color;
        target.fontHeight = parameters.fontHeight;
        target.textX = parameters.x;
        target.textY = parameters.y;
    });
}

void WindowCommentScreen::ShowPanelPicture(CommentPanel panel, const Image& picture) {
    auto copy = std::make_shared<Image>();
    if (picture.empty() || copy->CopyFrom(picture) != 0) {
        return;
    }
    const bool now = OnUserInterfaceThread(m_game);
    Post([game = &m_game, id = PanelFor(panel), copy, now] {
        game->chrome().panel(id).ShowPicture(*copy);
        if (PanelWidget* widget = game->panelWidget(id)) {
            widget->SurfaceChanged();
            if (now && widget->isVisible()) {
                // A blink on this thread would otherwise show only its last picture.
                widget->repaint();
            }
        }
    });
}

void WindowCommentScreen::Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void WindowCommentScreen::InvalidatePanel(CommentPanel panel) {
    Post([game = &m_game, id = PanelFor(panel)] {
        if (PanelWidget* widget = game->panelWidget(id)) {
            widget->update();
        }
    });
}

void WindowCommentScreen::ShowAnswerSlider() {
    Post([game = &m_game] {
        if (SliderBar* slider = game->sliderBar()) {
            slider->ShowSlider(true);
        }
    });
}

}  // namespace tama05
