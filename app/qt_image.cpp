#include "app/qt_image.h"

#include <algorithm>

namespace tama05 {

QImage ToScreenImage(const Image& picture, qreal devicePixelRatio) {
    if (picture.empty() || picture.width() <= 0 || picture.height() <= 0) {
        return {};
    }
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    for (int32_t y = 0; y < picture.height(); ++y) {
        PutPixels(image, 0, y, picture.rowFromTop(y), picture.width());
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

void PutPixels(QImage& target, int x, int y, const uint8_t* bgr, int count) {
    if (y < 0 || y >= target.height() || count <= 0) {
        return;
    }
    int first = 0;
    if (x < 0) {
        first = -x;
    }
    const int last = std::min(count, target.width() - x);
    auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
    for (int i = first; i < last; ++i) {
        const uint8_t* p = bgr + static_cast<size_t>(i) * 3;
        line[x + i] = qRgb(p[2], p[1], p[0]);
    }
}

QColor ColorFromValue(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace tama05
