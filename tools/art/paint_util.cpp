#include "tools/art/paint_util.h"

#include <QPainterPath>

#include <cmath>
#include <numbers>
#include <system_error>

namespace tama05::art {

QImage TransparentPicture(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

void FillStar(QPainter& painter, double cx, double cy, double outer, double inner, int points,
              const QColor& color, double rotationDegrees) {
    QPainterPath path;
    const double step = std::numbers::pi / points;
    const double start = -std::numbers::pi / 2 + rotationDegrees * std::numbers::pi / 180.0;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double angle = start + i * step;
        const QPointF p(cx + r * std::cos(angle), cy + r * std::sin(angle));
        if (i == 0) {
            path.moveTo(p);
        } else {
            path.lineTo(p);
        }
    }
    path.closeSubpath();
    painter.fillPath(path, color);
}

void FillHeart(QPainter& painter, double cx, double cy, double s, const QColor& color) {
    QPainterPath path;
    path.moveTo(cx, cy + s * 0.45);
    path.cubicTo(cx - s * 0.9, cy - s * 0.05, cx - s * 0.45, cy - s * 0.75, cx, cy - s * 0.25);
    path.cubicTo(cx + s * 0.45, cy - s * 0.75, cx + s * 0.9, cy - s * 0.05, cx, cy + s * 0.45);
    painter.fillPath(path, color);
}

bool SavePng(const QImage& image, const std::filesystem::path& path, std::string& error) {
    if (!image.save(QString::fromStdString(path.string()), "PNG")) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool MakeFolder(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) {
        error = "cannot create " + path.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace tama05::art
