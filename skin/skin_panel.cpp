#include "skin/skin_panel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace tama05 {

SkinPanel::PlaceResult SkinPanel::Place(const SkinRect& rect, bool cut, const Image* source,
                                        const std::filesystem::path& picturePath,
                                        const PictureLoader& loadImage) {
    bool moved = false;
    if (rect.Usable()) {
        m_rect = rect;
        moved = true;
    }
    PlaceResult result = Fill(cut, source, picturePath, loadImage);
    result.moved = moved;
    return result;
}

SkinPanel::PlaceResult SkinPanel::Create(const SkinRect& rect, bool cut, const Image* source,
                                         const std::filesystem::path& picturePath,
                                         const PictureLoader& loadImage) {
    m_rect = rect;
    PlaceResult result = Fill(cut, source, picturePath, loadImage);
    result.moved = true;
    return result;
}

SkinPanel::PlaceResult SkinPanel::Fill(bool cut, const Image* source,
                                       const std::filesystem::path& picturePath,
                                       const PictureLoader& loadImage) {
    PlaceResult result;
    // A fresh surface of the panel's size: black until something is shown.
    if (m_surface.CreateFilled(std::max(m_rect.width, 0), std::max(m_rect.height, 0), 0) != 0) {
        m_surface.Clear();
    }
    m_surface.SetHeaders();
    if (cut) {
        const Image nothing;
        CutPicture(source != nullptr ? *source : nothing, m_rect, m_background);
        ShowPicture(m_background);
        result.shown = true;
        return result;
    }
    m_background.Clear();
    if (loadImage && loadImage(picturePath, m_background, nullptr) == 0 && !m_background.empty()) {
        ShowPicture(m_background);
        result.shown = true;
    } else {
        m_background.Clear();
    }
    return result;
}

int SkinPanel::ShowPicture(const Image& picture) {
    if (picture.empty() || picture.width() <= 0 || m_surface.empty()) {
        return 1;
    }
    // Bottom-left aligned: memory row r of the picture lands on memory row r of the surface.
    const int32_t columns = std::min(picture.width(), m_surface.width());
    const int32_t rows = std::min(picture.height(), m_surface.height());
    for (int32_t r = 0; r < rows; ++r) {
        std::memcpy(m_surface.row(r), picture.row(r), static_cast<size_t>(columns) * 3);
    }
    return 1;
}

int SkinPanel::CaptureBackground(Image& picture) const {
    if (m_background.empty()) {
        picture.Clear();
        return 0;
    }
    return picture.CopyFrom(m_background);
}

std::vector<SkinPanel::TextLine> SkinPanel::TextLines() const {
    std::vector<TextLine> lines;
    const std::optional<std::string>* texts[2] = {&line1, &line2};
    for (int i = 0; i < 2; ++i) {
        if (!texts[i]->has_value()) {
            continue;
        }
        const std::string_view text = PanelTextComponent(**texts[i]);
        if (text.empty()) {
            continue;
        }
        lines.push_back({std::string(text), textX, textY + i * kSecondLineOffset});
    }
    return lines;
}

std::string_view PanelTextComponent(std::string_view text) {
    const size_t separator = text.find_last_of("/\\");
    return separator == std::string_view::npos ? text : text.substr(separator + 1);
}

std::string FormatScore(int32_t score) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2d", static_cast<int>(score));
    return buffer;
}

int ShowPanelPicture(SkinPanel& panel, PanelPictureScreen& screen, const Image& picture) {
    if (picture.empty()) {
        return 1;
    }
    panel.ShowPicture(picture);
    screen.SurfaceChanged(panel);
    return 1;
}

int BlinkPanelPictures(SkinPanel& panel, PanelPictureScreen& screen, const Image& a,
                       const Image& b) {
    if (a.empty() || a.width() <= 0) {
        return -1;
    }
    if (b.empty() || b.width() <= 0) {
        ShowPanelPicture(panel, screen, a);
        return 0;
    }
    for (int step = 0; step < 6; ++step) {
        ShowPanelPicture(panel, screen, step % 2 == 0 ? a : b);
        if (step < 5) {
            screen.Pause(kBlinkPause);
        }
    }
    return 0;
}

std::vector<MeterSegment> DrawWaitMeter(int32_t index, int32_t count, int32_t barWidth,
                                        int32_t barHeight, int32_t barLeft, int32_t barTop) {
    std::vector<MeterSegment> segments;
    if (count <= 0) {
        return segments;
    }
    const double share = (static_cast<double>(index) + 1.0) / count * 20.0 + 0.9;
    const int64_t s =
        std::clamp<int64_t>(static_cast<int64_t>(std::clamp(share, -1.0, 21.0)), 0, 20);
    const int64_t d = std::max<int64_t>(0, static_cast<int64_t>(barWidth * 0.05 + 0.9));
    const int64_t left = barLeft;
    const int64_t width = barWidth;
    const auto toInt = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
    const int32_t top = barTop;
    const int32_t bottom = toInt(int64_t{barTop} + barHeight);
    for (int64_t k = 0; k < s; ++k) {
        const int64_t segmentLeft = std::min(left + d * k + 1, left + width - 1);
        const int64_t segmentRight = std::min(left + width, left + d * (k + 1));
        segments.push_back({toInt(segmentLeft), top, toInt(segmentRight), bottom});
    }
    return segments;
}

std::vector<MeterSegment> DrawWaitMeter(int32_t index, int32_t count, const SkinLayout& layout) {
    return DrawWaitMeter(index, count, layout[SkinKey::kWaitMeterW2], layout[SkinKey::kWaitMeterH2],
                         layout[SkinKey::kWaitMeterX], layout[SkinKey::kWaitMeterY]);
}

}  // namespace tama05
