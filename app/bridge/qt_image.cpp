#include "app/bridge/qt_image.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

namespace {

// Four pixels at a time: 12 bytes of blue, green, red spread into four 32-bit words with an
// opaque alpha byte. Reads 16 bytes, so the caller keeps 4 bytes of input past the last group.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("ssse3"))) int PutPixelsSsse3(QRgb* line, const uint8_t* bgr, int count) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 6 <= count; i += 4) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + i),
                         _mm_or_si128(_mm_shuffle_epi8(in, spread), alpha));
    }
    return i;
}

bool HaveSsse3() {
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}
#endif

}  // namespace

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
    int i = first;
#if defined(__x86_64__) || defined(__i386__)
    if (HaveSsse3() && last > first) {
        i += PutPixelsSsse3(line + x + first, bgr + static_cast<size_t>(first) * 3, last - first);
    }
#endif
    for (; i < last; ++i) {
        const uint8_t* p = bgr + static_cast<size_t>(i) * 3;
        line[x + i] = qRgb(p[2], p[1], p[0]);
    }
}

QColor ColorFromValue(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace tama05
