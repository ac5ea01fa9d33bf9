#include "app/dialogs/qt_image.h"

#include <cstring>

namespace tama05 {

QImage ToQImage(const Image& picture) {
    if (picture.empty() || picture.width() <= 0 || picture.height() <= 0) {
        return {};
    }
    QImage image(picture.width(), picture.height(), QImage::Format_BGR888);
    if (image.isNull()) {
        return {};
    }
    const size_t rowBytes = static_cast<size_t>(picture.width()) * 3;
    for (int32_t y = 0; y < picture.height(); ++y) {
        std::memcpy(image.scanLine(y), picture.rowFromTop(y), rowBytes);
    }
    return image;
}

}  // namespace tama05
