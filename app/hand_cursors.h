#pragma once

#include <QCursor>
#include <QPixmap>

namespace tama05 {

// The two cursors of the skinned buttons, 32 × 32 with the hot spot at (1, 1): a hand whose
// index finger points at the top-left corner while the pointer hovers a button, and the same
// hand with the finger bent while the button is held down.
QPixmap DrawHandPicture(bool fingerBent);
QCursor HoverHandCursor();
QCursor PressedHandCursor();

inline constexpr int kHandCursorSize = 32;
inline constexpr int kHandHotSpot = 1;

}  // namespace tama05
