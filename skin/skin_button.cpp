#include "skin/skin_button.h"

namespace tama05 {

void SkinButtonBase::CutPictures(const StateSheets& sheets) {
    CutPicture(sheets.normal, m_rect, m_normal);
    CutPicture(sheets.hover, m_rect, m_hover);
    CutPicture(sheets.pressed, m_rect, m_pressed);
}

ButtonActions SkinButtonBase::Place(const SkinRect& rect, const StateSheets& sheets) {
    m_rect = rect;
    CutPictures(sheets);
    return {{ButtonActionKind::kMoveWindow}, {ButtonActionKind::kShowNormal}};
}

ButtonActions SkinButtonBase::Replace(const SkinRect& rect, const StateSheets& sheets) {
    ButtonActions actions;
    if (rect.Usable()) {
        m_rect = rect;
        actions.push_back({ButtonActionKind::kMoveWindow});
    }
    CutPictures(sheets);
    actions.push_back({ButtonActionKind::kShowNormal});
    return actions;
}

void SkinButtonBase::Capture(ButtonActions& actions) {
    if (!m_captured) {
        m_captured = true;
        actions.push_back({ButtonActionKind::kTakeCapture});
    }
}

void SkinButtonBase::Release(ButtonActions& actions) {
    if (m_captured) {
        m_captured = false;
        actions.push_back({ButtonActionKind::kReleaseCapture});
    }
}

ButtonActions SkinButton::OnPointerMove(int32_t x, int32_t y) {
    ButtonActions actions;
    Capture(actions);
    const bool inside = Contains(x, y);
    if (inside && m_state == kIdle) {
        actions.push_back({ButtonActionKind::kHoverCursor});
        actions.push_back({ButtonActionKind::kShowHover});
        m_state = kHover;
    } else if (inside && m_state == kPressedAway) {
        actions.push_back({ButtonActionKind::kPressedCursor});
        actions.push_back({ButtonActionKind::kShowPressed});
        m_state = kPressed;
    } else if (!inside && m_state == kHover) {
        actions.push_back({ButtonActionKind::kArrowCursor});
        actions.push_back({ButtonActionKind::kShowNormal});
        Release(actions);
        m_state = kIdle;
    } else if (!inside && m_state == kPressed) {
        actions.push_back({ButtonActionKind::kPressedCursor});
        actions.push_back({ButtonActionKind::kShowNormal});
        m_state = kPressedAway;
    }
    return actions;
}

ButtonActions SkinButton::OnLeftButtonDown() {
    ButtonActions actions{{ButtonActionKind::kPressedCursor}};
    Capture(actions);
    actions.push_back({ButtonActionKind::kShowPressed});
    m_state = kPressed;
    return actions;
}

ButtonActions SkinButton::OnLeftButtonUp(int32_t x, int32_t y) {
    ButtonActions actions;
    Release(actions);
    if (m_state == kPressed && Contains(x, y)) {
        actions.push_back({ButtonActionKind::kSendCommand, m_command});
        actions.push_back({ButtonActionKind::kShowNormal});
    }
    m_state = kIdle;
    return actions;
}

ButtonActions SkinMenuButton::OnPointerMove(int32_t x, int32_t y) {
    ButtonActions actions;
    Capture(actions);
    if (Contains(x, y)) {
        if (m_state != 1) {
            actions.push_back({ButtonActionKind::kHoverCursor});
            actions.push_back({ButtonActionKind::kShowHover});
            m_state = 1;
        }
    } else if (m_state != 0) {
        actions.push_back({ButtonActionKind::kArrowCursor});
        actions.push_back({ButtonActionKind::kShowNormal});
        Release(actions);
        m_state = 0;
    }
    return actions;
}

ButtonActions SkinMenuButton::OnLeftButtonDown() {
    ButtonActions actions{{ButtonActionKind::kPressedCursor}};
    Release(actions);
    if (m_state != 2) {
        actions.push_back({ButtonActionKind::kShowPressed});
        m_state = 2;
    }
    actions.push_back({ButtonActionKind::kOpenMenu});
    return actions;
}

ButtonActions SkinMenuButton::OnMenuClosed() {
    m_state = 0;
    return {{ButtonActionKind::kShowNormal}};
}

}  // namespace tama05
