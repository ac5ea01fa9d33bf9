#pragma once

#include <cstdint>
#include <vector>

#include "core/image.h"
#include "skin/skin_layout.h"
#include "skin/skin_pictures.h"

namespace tama05 {

// What the screen side does for a button, in the order given.
enum class ButtonActionKind : uint8_t {
    kMoveWindow,      // move, resize and show the button's window at rect()
    kShowNormal,      // show the normal picture (window and backing surface)
    kShowHover,       // show the hover picture
    kShowPressed,     // show the pressed picture
    kHoverCursor,     // the pointing hand
    kPressedCursor,   // the hand with the finger bent
    kArrowCursor,     // the standard arrow
    kTakeCapture,     // grab the pointer
    kReleaseCapture,  // let the pointer go
    kSendCommand,     // send command to the control window
    kOpenMenu,        // open the File menu below the button (blocks until it closes)
};

struct ButtonAction {
    ButtonActionKind kind;
    // For kSendCommand: the command identifier.
    uint16_t command = 0;
    bool operator==(const ButtonAction&) const = default;
};
using ButtonActions = std::vector<ButtonAction>;

// The pictures and placement shared by both kinds of button.
class SkinButtonBase {
  public:
    const SkinRect& rect() const { return m_rect; }
    const Image& normalPicture() const { return m_normal; }
    const Image& hoverPicture() const { return m_hover; }
    const Image& pressedPicture() const { return m_pressed; }
    // Whether the button believes it holds the pointer capture.
    bool holdsCapture() const { return m_captured; }
    int32_t state() const { return m_state; }
    // The screen lost the capture behind the button's back (another window took it).
    void OnCaptureLost() { m_captured = false; }
    // A point in button coordinates lies on the button.
    bool Contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < m_rect.width && y < m_rect.height;
    }

  protected:
    // Takes the rectangle and cuts the three pictures out of the sheets.
    ButtonActions Place(const SkinRect& rect, const StateSheets& sheets);
    // Moves to rect only when it is usable; the pictures are cut at the button's rectangle.
    ButtonActions Replace(const SkinRect& rect, const StateSheets& sheets);
    void Capture(ButtonActions& actions);
    void Release(ButtonActions& actions);

    SkinRect m_rect;
    Image m_normal;
    Image m_hover;
    Image m_pressed;
    int32_t m_state = 0;
    bool m_captured = false;

  private:
    void CutPictures(const StateSheets& sheets);
};

// A button that sends its command when it is clicked. States: 0 idle, 1 hover, 2 pressed,
// 3 pressed with the pointer away. Coordinates are in the button's own client space.
class SkinButton : public SkinButtonBase {
  public:
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kHover = 1;
    static constexpr int32_t kPressed = 2;
    static constexpr int32_t kPressedAway = 3;

    explicit SkinButton(uint16_t command = 0) : m_command(command) {}
    uint16_t command() const { return m_command; }

    // The button is made at the rectangle: pictures cut, normal picture shown.
    ButtonActions Create(const SkinRect& rect, const StateSheets& sheets) {
        return Place(rect, sheets);
    }
    // A skin change: the button moves only to a usable rectangle.
    ButtonActions Reskin(const SkinRect& rect, const StateSheets& sheets) {
        return Replace(rect, sheets);
    }
    ButtonActions OnPointerMove(int32_t x, int32_t y);
    ButtonActions OnLeftButtonDown();
    ButtonActions OnLeftButtonUp(int32_t x, int32_t y);

  private:
    uint16_t m_command;
};

// The button that opens the File menu. States: 0 idle, 1 hover, 2 pressed.
class SkinMenuButton : public SkinButtonBase {
  public:
    ButtonActions Create(const SkinRect& rect, const StateSheets& sheets) {
        return Place(rect, sheets);
    }
    ButtonActions Reskin(const SkinRect& rect, const StateSheets& sheets) {
        return Replace(rect, sheets);
    }
    ButtonActions OnPointerMove(int32_t x, int32_t y);
    // Ends with kOpenMenu; the screen opens the menu (checking "常に手前に表示する" when the
    // always-on-top setting is 1) at the button's bottom-left corner and calls OnMenuClosed
    // when it returns.
    ButtonActions OnLeftButtonDown();
    ButtonActions OnMenuClosed();
};

}  // namespace tama05
