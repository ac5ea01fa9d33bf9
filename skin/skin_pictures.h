#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "skin/skin_layout.h"

namespace tama05 {

// Reads a picture file into the Image (and, when given, its alpha plane: one byte a pixel,
// 255 everywhere for a picture without alpha). Returns 0 or a negative code. Shows nothing.
using PictureLoader = std::function<int(const std::filesystem::path&, Image&, AlphaPlane*)>;

// The pictures of a skin folder.
inline constexpr std::string_view kSkinText = "skin.txt";
inline constexpr std::string_view kCtrlBackPicture = "ctrl_back.png";
inline constexpr std::string_view kCtrlNormalPicture = "ctrl_normal.png";
inline constexpr std::string_view kCtrlOverPicture = "ctrl_over.png";
inline constexpr std::string_view kCtrlDownPicture = "ctrl_down.png";
inline constexpr std::string_view kSubCtrlBackPicture = "sub_ctrl_back.png";
inline constexpr std::string_view kWaitMeterPicture = "wait_meter.png";

// The three looks of all buttons, each the size of the control window's background.
struct StateSheets {
    Image normal;
    Image hover;
    Image pressed;
};

// Lays state over back: with a = alpha ÷ 255, each channel becomes (1 − a) × back + a × state,
// truncated. The result has the size of back; where state does not cover it (the two are
// aligned at their top-left corners) back shows through. Without a matching alpha plane the
// state picture is opaque. With an empty back the state picture is kept as it is; an empty
// state picture gives an empty result. Returns 0, or -1 when memory runs out.
int CompositeOver(const Image& back, const Image& state, const AlphaPlane* alpha, Image& result);

// Reads the back picture and the three state pictures from the folder and composites each
// state picture over the back. A state picture that cannot be read gives an empty sheet
// (the pictures cut from it are black). Returns 0.
int BuildStateSheets(const std::filesystem::path& folder, const PictureLoader& loadPng,
                     StateSheets& sheets, std::string_view backName = kCtrlBackPicture,
                     std::string_view normalName = kCtrlNormalPicture,
                     std::string_view hoverName = kCtrlOverPicture,
                     std::string_view pressedName = kCtrlDownPicture);

// The background picture of a window: from the skin folder, else from the default skin
// folder, else a white 400 × 300 picture. Returns 0, or -1 when even the white picture
// cannot be made.
inline constexpr int32_t kFallbackBackgroundWidth = 400;
inline constexpr int32_t kFallbackBackgroundHeight = 300;
int LoadSkinBackground(const std::filesystem::path& skinFolder,
                       const std::filesystem::path& defaultSkinFolder, std::string_view fileName,
                       const PictureLoader& loadImage, Image& picture);

// The background colour a window takes for its static children from its background picture:
// the pixel at column width ÷ 2 and row height ÷ 2 counted from the bottom edge, as a colour
// value red + green × 256 + blue × 65536 (0 for an empty picture).
uint32_t BackgroundCenterColor(const Image& background);

// Cuts rect out of source (both counted from the top-left) into a picture of the rectangle's
// size; pixels outside the source, or all of them when the source is empty, are black.
// Returns 0, or -1 (picture left empty) when the rectangle has no area or is too large.
int CutPicture(const Image& source, const SkinRect& rect, Image& picture);

}  // namespace tama05
