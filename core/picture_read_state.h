#pragma once

namespace tama05 {

// What the picture readers report beyond the picture itself. The owner clears the flag when
// a new answer image, puzzle or dropped file is about to be read; the PNG readers set it when
// they read a picture with its own RGBA alpha channel. Pass a null pointer where it is not
// tracked.
struct PictureReadState {
    bool PictureHasAlpha = false;
};

}  // namespace tama05
