#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "skin/skin_layout.h"
#include "skin/skin_pictures.h"

namespace tama05 {

// A skinned display panel: a background picture with up to two lines of text over it.
// Texts are UTF-8; the window code paints surface() and then textLines().
class SkinPanel {
  public:
    // Line 1 is drawn at the text origin, line 2 always this far below it.
    static constexpr int32_t kSecondLineOffset = 20;

    std::optional<std::string> line1;
    std::optional<std::string> line2;
    uint32_t textColor = 0xFFFFFF;
    int32_t fontHeight = 10;
    int32_t textX = 0;
    int32_t textY = 0;

    const SkinRect& rect() const { return m_rect; }
    // The picture cut or loaded at the last placement.
    const Image& background() const { return m_background; }
    // What the panel shows now (the background, or the last picture shown over it).
    const Image& surface() const { return m_surface; }

    struct PlaceResult {
        // The window is to be moved and resized to rect() (and shown).
        bool moved = false;
        // A background was shown.
        bool shown = false;
    };
    // Places the panel: it moves only to a usable rectangle; with cut set its background is
    // cut out of source at its rectangle (black where source has no pixels), otherwise it is
    // loaded from picturePath and, when that fails, the surface stays black.
    PlaceResult Place(const SkinRect& rect, bool cut, const Image* source,
                      const std::filesystem::path& picturePath, const PictureLoader& loadImage);
    // As Place, always taking the rectangle (a panel being made).
    PlaceResult Create(const SkinRect& rect, bool cut, const Image* source,
                       const std::filesystem::path& picturePath, const PictureLoader& loadImage);

    // Copies picture into the surface 1:1 with its bottom-left corner at the panel's
    // bottom-left corner (a smaller picture covers only that corner; a larger one is clipped).
    // An empty picture changes nothing. Returns 1.
    int ShowPicture(const Image& picture);
    // Copies the background into picture. Returns 0, or -1 when memory runs out.
    int CaptureBackground(Image& picture) const;

    // The text to draw: line 1 at the origin, line 2 twenty pixels below it, each only when
    // present and non-empty, each reduced to the text after its last "/" or "\".
    struct TextLine {
        std::string text;
        int32_t x = 0;
        int32_t y = 0;
        bool operator==(const TextLine&) const = default;
    };
    std::vector<TextLine> TextLines() const;

  private:
    PlaceResult Fill(bool cut, const Image* source, const std::filesystem::path& picturePath,
                     const PictureLoader& loadImage);

    SkinRect m_rect;
    Image m_background;
    Image m_surface;
};

// The final component of a panel text: what follows its last "/" or "\" (the whole text when
// it has none).
std::string_view PanelTextComponent(std::string_view text);

// The score as the score panel shows it: "%2d" (" 5", "100").
std::string FormatScore(int32_t score);

// The screen side of showing pictures on a panel.
class PanelPictureScreen {
  public:
    virtual ~PanelPictureScreen() = default;
    // The panel's surface changed: put it on screen now.
    virtual void SurfaceChanged(const SkinPanel& panel) = 0;
    // Waits (the caller is blocked meanwhile).
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// Shows a picture on the panel at once. Returns 1.
int ShowPanelPicture(SkinPanel& panel, PanelPictureScreen& screen, const Image& picture);

// Shows a, b, a, b, a, b with 100 ms after each of the first five, leaving b on the panel;
// only a when b is empty. Returns -1 (nothing shown) when a is empty, else 0.
inline constexpr std::chrono::milliseconds kBlinkPause{100};
int BlinkPanelPictures(SkinPanel& panel, PanelPictureScreen& screen, const Image& a,
                       const Image& b);

// One segment of the wait meter, in panel coordinates; right and bottom exclusive. A
// segment may be empty (right == left).
struct MeterSegment {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const MeterSegment&) const = default;
};

// The wait meter before file index (0-based) of count files: (index + 1) ÷ count × 20
// + 0.9 of them, truncated and held to 0..20, each barWidth × 0.05 + 0.9 (truncated) apart.
// No segments when count is not positive.
std::vector<MeterSegment> DrawWaitMeter(int32_t index, int32_t count, int32_t barWidth,
                                        int32_t barHeight, int32_t barLeft, int32_t barTop);
// The same with the bar keys of the layout.
std::vector<MeterSegment> DrawWaitMeter(int32_t index, int32_t count, const SkinLayout& layout);

}  // namespace tama05
