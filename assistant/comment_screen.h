#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/image.h"

namespace tama05 {

// The four panels the comments write. POINT_DISP shows the score and the mascot's picture,
// MESSAGE1 the mascot's two lines, ASSISTANT_DISP the assistant's picture and MESSAGE2 the
// assistant's line.
enum class CommentPanel { POINT_DISP, MESSAGE1, ASSISTANT_DISP, MESSAGE2 };

// "POINT_DISP", "MESSAGE1", "ASSISTANT_DISP" or "MESSAGE2".
std::string_view CommentPanelName(CommentPanel panel);

// Colours are red + green × 256 + blue × 65536.
constexpr uint32_t ColorFromRgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red + green * 256u + blue * 65536u;
}

// How a text panel draws its lines: colour, font height in pixels, and the origin of the
// first line in panel coordinates (a second line is drawn 20 pixels below the first).
struct PanelTextParameters {
    uint32_t color = 0xFFFFFF;
    int32_t fontHeight = 10;
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const PanelTextParameters&) const = default;
};

// The pause between two shows of a blinking picture pair.
inline constexpr int kBlinkPauseMilliseconds = 100;

// What the comments need of the screen. The comments only ever reach the panels through this
// interface, so they run the same in the game, in the command-line tool and in tests.
//
// How the game implements it: each method maps onto the skin panel of the same name. Lines
// and text parameters are copied into the panel's text buffers and settings (the POINT_DISP
// text itself is the score, which the comments never write: they only move its origin);
// ShowPanelPicture draws the picture into the panel's drawing surface and on screen, 1:1,
// bottom-left corner on the panel's bottom-left corner; InvalidatePanel requests a repaint
// with the background erased. After-drop comments run on the drop worker thread, so a window
// implementation copies what it is given (the Image references are valid only during the
// call) and hands it to the user-interface thread (for example as a queued event); Pause
// then sleeps the worker while the user-interface thread keeps painting. A headless
// implementation (the command-line tool, tests) records or ignores the calls and makes Pause
// return at once.
class CommentScreen {
  public:
    virtual ~CommentScreen() = default;

    // Replaces the text lines of MESSAGE1 (line1 and line2) or MESSAGE2 (line1; line2 is
    // always empty). An empty line is not drawn. Texts are UTF-8; the display takes them whole
    // (they contain no path separator). The comments call this for MESSAGE1 and MESSAGE2 only.
    virtual void SetPanelLines(CommentPanel panel, const std::string& line1,
                               const std::string& line2) = 0;

    // Sets the colour, font height and first-line origin of POINT_DISP, MESSAGE1 or MESSAGE2.
    // They stay until set again.
    virtual void SetPanelTextParameters(CommentPanel panel,
                                        const PanelTextParameters& parameters) = 0;

    // Shows a picture in POINT_DISP or ASSISTANT_DISP, in the drawing surface and on screen;
    // text is drawn again at the next repaint. The comments call it only with a picture that
    // holds pixels.
    virtual void ShowPanelPicture(CommentPanel panel, const Image& picture) = 0;

    // Blinks two pictures in POINT_DISP or ASSISTANT_DISP. Nothing when first is empty; first
    // alone when second is empty; otherwise first, second, first, second, first, second with
    // a pause of kBlinkPauseMilliseconds between consecutive shows (five pauses), leaving
    // second on display. The default does exactly that through ShowPanelPicture and Pause; a
    // panel that blinks by itself may override it with the same result.
    virtual void BlinkPanelPictures(CommentPanel panel, const Image& first, const Image& second);

    // Blocks the calling thread for the given time; tests return at once.
    virtual void Pause(int milliseconds) = 0;

    // Requests a repaint of the panel (its background and its lines).
    virtual void InvalidatePanel(CommentPanel panel) = 0;

    // Makes the answer slider and its value box of the slider bar visible (a score of 88 or
    // more has been reached).
    virtual void ShowAnswerSlider() = 0;
};

}  // namespace tama05
