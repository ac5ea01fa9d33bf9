#include "assistant/comment_picture.h"

#include <algorithm>
#include <cstdint>

namespace tama05 {

static_assert(kAlphaScale == 0.003921569f);

void BlendOverBackground(Image& picture, const AlphaPlane& alpha, const Image& background) {
    if (picture.empty() || background.empty() ||
        !alpha.Matches(picture.width(), picture.height())) {
        return;
    }
    const int32_t rows = std::min(picture.height(), background.height());
    const int32_t columns = std::min(picture.width(), background.width());
    for (int32_t r = 0; r < rows; ++r) {
        uint8_t* out = picture.row(r);
        const uint8_t* under = background.row(r);
        for (int32_t x = 0; x < columns; ++x) {
            double a = static_cast<double>(alpha.At(r, x)) * static_cast<double>(kAlphaScale);
            a = std::clamp(a, 0.0, 1.0);
            for (int32_t c = 0; c < 3; ++c) {
                const size_t i = static_cast<size_t>(x) * 3 + static_cast<size_t>(c);
                const double value =
                    (1.0 - a) * static_cast<double>(under[i]) + a * static_cast<double>(out[i]);
                // Truncation toward zero, then the byte range.
                const int32_t truncated = static_cast<int32_t>(value);
                out[i] = static_cast<uint8_t>(std::clamp(truncated, 0, 255));
            }
        }
    }
}

namespace {

void Empty(Image& image) {
    image.Clear();
    image.path.clear();
}

}  // namespace

int LoadCommentPicture(const PictureLoader& loader, const std::filesystem::path& folder,
                       std::string_view fileName, Image& target, const Image& background) {
    Empty(target);
    if (!loader || fileName.empty()) {
        return -1;
    }
    AlphaPlane alpha;
    const std::filesystem::path file =
        folder / std::filesystem::path(std::u8string(fileName.begin(), fileName.end()));
    if (loader(file, target, &alpha) != 0 || target.empty() || target.width() <= 0 ||
        target.height() <= 0) {
        Empty(target);
        return -1;
    }
    BlendOverBackground(target, alpha, background);
    return 0;
}

}  // namespace tama05
