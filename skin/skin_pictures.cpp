#include "skin/skin_pictures.h"

#include <algorithm>
#include <cstring>

namespace tama05 {

int CompositeOver(const Image& back, const Image& state, const AlphaPlane* alpha, Image& result) {
    if (state.empty()) {
        result.Clear();
        return 0;
    }
    if (back.empty()) {
        return result.CopyFrom(state);
    }
    if (result.CopyFrom(back) != 0) {
        return -1;
    }
    const bool useAlpha = alpha != nullptr && alpha->Matches(state.width(), state.height());
    const int32_t width = std::min(back.width(), state.width());
    const int32_t height = std::min(back.height(), state.height());
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = state.rowFromTop(y);
        uint8_t* to = result.rowFromTop(y);
        const int32_t alphaRow = state.height() - 1 - y;
        for (int32_t x = 0; x < width; ++x) {
            const double a = useAlpha ? std::clamp(alpha->At(alphaRow, x) / 255.0, 0.0, 1.0) : 1.0;
            for (int32_t c = 0; c < 3; ++c) {
                const size_t i = static_cast<size_t>(x) * 3 + static_cast<size_t>(c);
                const double v = (1.0 - a) * to[i] + a * from[i];
                to[i] = static_cast<uint8_t>(std::clamp(static_cast<int>(v), 0, 255));
            }
        }
    }
    return 0;
}

int BuildStateSheets(const std::filesystem::path& folder, const PictureLoader& loadPng,
                     StateSheets& sheets, std::string_view backName, std::string_view normalName,
                     std::string_view hoverName, std::string_view pressedName) {
    Image back;
    AlphaPlane plane;
    if (loadPng(folder / backName, back, &plane) != 0) {
        back.Clear();
    }
    const std::string_view names[3] = {normalName, hoverName, pressedName};
    Image* targets[3] = {&sheets.normal, &sheets.hover, &sheets.pressed};
    for (int i = 0; i < 3; ++i) {
        Image state;
        plane.Clear();
        if (loadPng(folder / names[i], state, &plane) != 0) {
            state.Clear();
        }
        if (CompositeOver(back, state, &plane, *targets[i]) != 0) {
            targets[i]->Clear();
        }
        targets[i]->SetHeaders();
    }
    return 0;
}

int LoadSkinBackground(const std::filesystem::path& skinFolder,
                       const std::filesystem::path& defaultSkinFolder, std::string_view fileName,
                       const PictureLoader& loadImage, Image& picture) {
    if (loadImage(skinFolder / fileName, picture, nullptr) == 0 && !picture.empty()) {
        return 0;
    }
    if (loadImage(defaultSkinFolder / fileName, picture, nullptr) == 0 && !picture.empty()) {
        return 0;
    }
    if (picture.CreateFilled(kFallbackBackgroundWidth, kFallbackBackgroundHeight, 255) != 0) {
        return -1;
    }
    picture.SetHeaders();
    return 0;
}

uint32_t BackgroundCenterColor(const Image& background) {
    if (background.empty() || background.width() <= 0 || background.height() <= 0) {
        return 0;
    }
    const uint8_t* p = background.row(background.height() / 2) + 3 * (background.width() / 2);
    return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[0]) << 16);
}

int CutPicture(const Image& source, const SkinRect& rect, Image& picture) {
    if (rect.width <= 0 || rect.height <= 0 ||
        picture.CreateFilled(rect.width, rect.height, 0) != 0) {
        picture.Clear();
        return -1;
    }
    picture.SetHeaders();
    if (source.empty()) {
        return 0;
    }
    // The columns and rows of the rectangle that lie inside the source, in 64 bits so that
    // no position from a skin file can overflow.
    const int64_t firstColumn = std::max<int64_t>(0, -int64_t{rect.left});
    const int64_t endColumn = std::min<int64_t>(rect.width, int64_t{source.width()} - rect.left);
    const int64_t firstRow = std::max<int64_t>(0, -int64_t{rect.top});
    const int64_t endRow = std::min<int64_t>(rect.height, int64_t{source.height()} - rect.top);
    if (firstColumn >= endColumn || firstRow >= endRow) {
        return 0;
    }
    const size_t bytes = static_cast<size_t>(endColumn - firstColumn) * 3;
    for (int64_t j = firstRow; j < endRow; ++j) {
        const uint8_t* from = source.rowFromTop(static_cast<int32_t>(rect.top + j)) +
                              static_cast<size_t>(rect.left + firstColumn) * 3;
        uint8_t* to =
            picture.rowFromTop(static_cast<int32_t>(j)) + static_cast<size_t>(firstColumn) * 3;
        std::memcpy(to, from, bytes);
    }
    return 0;
}

}  // namespace tama05
