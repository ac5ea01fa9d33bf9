#include "painter/canvas_texture.h"

#include <algorithm>
#include <cmath>

#include "core/blend.h"

namespace tama05 {

namespace {

uint8_t ToByte(double value) {
    const double cut = std::trunc(value);
    return static_cast<uint8_t>(std::clamp(cut, 0.0, 255.0));
}

}  // namespace

int ResampleBilinear(const Image& source, Image& destination, int32_t width, int32_t height) {
    if (source.empty() || source.width() <= 0 || source.height() <= 0 || width <= 0 ||
        height <= 0) {
        return -1;
    }
    Image result;
    if (result.CreateFilled(width, height, 0) != 0) {
        return -1;
    }
    result.SetHeaders();
    const float rx = static_cast<float>(static_cast<double>(source.width()) / width);
    const float ry = static_cast<float>(static_cast<double>(source.height()) / height);
    const int32_t lastColumn = source.width() - 1;
    const int32_t lastRow = source.height() - 1;
    for (int32_t i = 0; i < height; ++i) {
        const double sy = i * static_cast<double>(ry);
        const int32_t y0 = static_cast<int32_t>(sy);
        const double fy = sy - y0;
        const uint8_t* row0 = source.row(std::min(y0, lastRow));
        const uint8_t* row1 = source.row(std::min(y0 + 1, lastRow));
        uint8_t* to = result.row(i);
        for (int32_t k = 0; k < width; ++k) {
            const double sx = k * static_cast<double>(rx);
            const int32_t x0 = static_cast<int32_t>(sx);
            const double fx = sx - x0;
            const size_t c0 = static_cast<size_t>(std::min(x0, lastColumn)) * 3;
            const size_t c1 = static_cast<size_t>(std::min(x0 + 1, lastColumn)) * 3;
            for (size_t b = 0; b < 3; ++b) {
                const double top = (1 - fx) * row0[c0 + b] + fx * row0[c1 + b];
                const double bottom = (1 - fx) * row1[c0 + b] + fx * row1[c1 + b];
                to[3 * static_cast<size_t>(k) + b] = ToByte((1 - fy) * top + fy * bottom);
            }
        }
    }
    destination = std::move(result);
    return 0;
}

int PrepareTexture(const Image& texture, int8_t& threshold, int8_t scalePercent, Image& working) {
    if (texture.empty() || texture.width() <= 0 || texture.height() <= 0) {
        return -1;
    }
    threshold = std::clamp<int8_t>(threshold, -127, 127);
    const int32_t h = 2 * threshold;
    int32_t width = texture.width();
    int32_t height = texture.height();
    if (scalePercent != 0) {
        const auto scaled = [&](int32_t size) {
            const double value = std::trunc(scalePercent * static_cast<double>(size) * 0.01);
            return static_cast<int32_t>(std::max(1.0, value));
        };
        width = scaled(width);
        height = scaled(height);
    }
    Image result;
    if (width == texture.width() && height == texture.height()) {
        if (result.CopyFrom(texture) != 0) {
            return -1;
        }
    } else if (ResampleBilinear(texture, result, width, height) != 0) {
        return -1;
    }
    for (int32_t r = 0; r < result.height(); ++r) {
        uint8_t* p = result.row(r);
        for (int32_t x = 0; x < result.width(); ++x, p += 3) {
            if (p[0] < h) {
                p[0] = p[1] = p[2] = 0;
                continue;
            }
            for (int b = 0; b < 3; ++b) {
                p[b] = ToByte(static_cast<double>(p[b] - h) * 255.0 / (255 - h));
            }
        }
    }
    working = std::move(result);
    return 0;
}

int BlendTexture(Image& target, const Image& texture, const Image& paper) {
    if (texture.empty() || texture.width() <= 0 || texture.height() <= 0) {
        return -1;
    }
    if (target.empty()) {
        return 0;
    }
    if (paper.empty() || paper.width() < target.width() || paper.height() < target.height()) {
        return -1;
    }
    const double scale = static_cast<double>(kBlendFactor);
    const uint8_t* paperBytes = paper.data();
    for (int32_t i = 0; i < target.height(); ++i) {
        const uint8_t* textureRow = texture.row(i % texture.height());
        uint8_t* to = target.row(i);
        const size_t rowOffset = static_cast<size_t>(i) * static_cast<size_t>(target.stride());
        for (int32_t j = 0; j < target.width(); ++j) {
            const double x = textureRow[static_cast<size_t>(j % texture.width()) * 3] * scale;
            for (size_t b = 0; b < 3; ++b) {
                const size_t offset = static_cast<size_t>(j) * 3 + b;
                to[offset] = ToByte((1 - x) * paperBytes[rowOffset + offset] + x * to[offset]);
            }
        }
    }
    return 0;
}

}  // namespace tama05
