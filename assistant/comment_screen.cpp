#include "assistant/comment_screen.h"

namespace tama05 {

std::string_view CommentPanelName(CommentPanel panel) {
    switch (panel) {
        case CommentPanel::POINT_DISP:
            return "POINT_DISP";
        case CommentPanel::MESSAGE1:
            return "MESSAGE1";
        case CommentPanel::ASSISTANT_DISP:
            return "ASSISTANT_DISP";
        case CommentPanel::MESSAGE2:
            return "MESSAGE2";
    }
    return {};
}

void CommentScreen::BlinkPanelPictures(CommentPanel panel, const Image& first,
                                       const Image& second) {
    if (first.width() <= 0 || first.empty()) {
        return;
    }
    if (second.width() <= 0 || second.empty()) {
        ShowPanelPicture(panel, first);
        return;
    }
    // Three rounds of first then second; the pause follows every show but the last.
    constexpr int kShows = 6;
    for (int show = 0; show < kShows; ++show) {
        ShowPanelPicture(panel, show % 2 == 0 ? first : second);
        if (show + 1 < kShows) {
            Pause(kBlinkPauseMilliseconds);
        }
    }
}

}  // namespace tama05
