#pragma once

// The fixed layout of the slider bar, the strip below the puzzle window. The skin places the
// assistant's picture and the message line through skin.txt; the answer slider and its read-only
// value box always sit at these rectangles, and every skin's sub_ctrl_back.png leaves them room
// (a flat area in the skin's SUB_CTRL_BG_COLOR). The window and the art generator both read this.

namespace tama05 {

struct SliderBarRect {
    int left;
    int top;
    int width;
    int height;

    constexpr int right() const { return left + width; }   // exclusive
    constexpr int bottom() const { return top + height; }  // exclusive
};

inline constexpr int kSliderBarWidth = 503;
inline constexpr int kSliderBarHeight = 32;

// The answer slider (a horizontal track, 0..255).
inline constexpr SliderBarRect kAnswerSliderRect{382, 6, 84, 20};

// The read-only box that shows the slider's value ("255" fits).
inline constexpr SliderBarRect kBlendValueBoxRect{468, 7, 31, 18};

// The flat area that holds both controls; skins draw it in their SUB_CTRL_BG_COLOR.
inline constexpr SliderBarRect kSliderControlsArea{378, 3, 124, 26};

static_assert(kAnswerSliderRect.right() <= kBlendValueBoxRect.left);
static_assert(kBlendValueBoxRect.right() <= kSliderBarWidth);
static_assert(kSliderControlsArea.left <= kAnswerSliderRect.left &&
              kSliderControlsArea.right() >= kBlendValueBoxRect.right() &&
              kSliderControlsArea.right() <= kSliderBarWidth);
static_assert(kSliderControlsArea.top <= kAnswerSliderRect.top &&
              kSliderControlsArea.bottom() >= kAnswerSliderRect.bottom() &&
              kSliderControlsArea.bottom() <= kSliderBarHeight);

}  // namespace tama05
