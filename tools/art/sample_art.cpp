#include "tools/art/sample_art.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>

#include "tools/art/paint_util.h"

namespace tama05::art {

namespace {

void PutLE(std::array<uint8_t, 54>& h, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        h[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void DrawTree(QPainter& p, double x, double ground, double h, std::mt19937& rng) {
    std::uniform_int_distribution<int> shade(-25, 25);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 70, 40));
    p.drawRect(QRectF(x - h * 0.06, ground - h * 0.35, h * 0.12, h * 0.35));
    const int s = shade(rng);
    QRadialGradient crown(QPointF(x - h * 0.1, ground - h * 0.75), h * 0.5);
    crown.setColorAt(0.0, QColor(120 + s, 200 + s / 2, 90));
    crown.setColorAt(1.0, QColor(40 + s, 110 + s / 2, 50));
    p.setBrush(crown);
    p.drawEllipse(QPointF(x, ground - h * 0.62), h * 0.3, h * 0.36);
}

void DrawHouse(QPainter& p, double x, double ground, double w, const QColor& wall,
               const QColor& roof) {
    const double h = w * 0.7;
    p.setPen(QPen(wall.darker(150), 1.5));
    p.setBrush(wall);
    p.drawRect(QRectF(x, ground - h, w, h));
    QPainterPath r(QPointF(x - w * 0.12, ground - h));
    r.lineTo(QPointF(x + w * 0.5, ground - h - w * 0.5));
    r.lineTo(QPointF(x + w * 1.12, ground - h));
    r.closeSubpath();
    p.setBrush(roof);
    p.setPen(QPen(roof.darker(150), 1.5));
    p.drawPath(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 150));
    p.drawRect(QRectF(x + w * 0.15, ground - h * 0.7, w * 0.22, w * 0.2));
    p.drawRect(QRectF(x + w * 0.62, ground - h * 0.7, w * 0.22, w * 0.2));
    p.setBrush(QColor(120, 70, 50));
    p.drawRect(QRectF(x + w * 0.4, ground - h * 0.5, w * 0.2, h * 0.5));
}

// Smooth value noise on a grid of random values, bilinearly interpolated.
QImage NoisePiece(int w, int h, std::mt19937& rng, const QColor& a, const QColor& b) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int cells = 3 + static_cast<int>(unit(rng) * 6);
    std::vector<double> grid((cells + 1) * (cells + 1));
    for (double& v : grid) {
        v = unit(rng);
    }
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const double gx = static_cast<double>(x) * cells / w;
            const double gy = static_cast<double>(y) * cells / h;
            const int ix = static_cast<int>(gx), iy = static_cast<int>(gy);
            const double fx = gx - ix, fy = gy - iy;
            const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
            auto at = [&](int i, int j) { return grid[j * (cells + 1) + i]; };
            const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
            const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
            const double t =
                std::clamp(top + (bottom - top) * sy + (unit(rng) - 0.5) * 0.12, 0.0, 1.0);
            const QColor c = Mix(a, b, t);
            row[3 * x] = static_cast<uchar>(c.red());
            row[3 * x + 1] = static_cast<uchar>(c.green());
            row[3 * x + 2] = static_cast<uchar>(c.blue());
        }
    }
    return image;
}

}  // namespace

QImage DrawAnswerScene(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width / 1024.0, height / 768.0);
    std::mt19937 rng(2007);
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    // Evening sky.
    QLinearGradient sky(0, 0, 0, 460);
    sky.setColorAt(0.0, QColor(40, 70, 160));
    sky.setColorAt(0.45, QColor(120, 150, 230));
    sky.setColorAt(0.8, QColor(255, 180, 150));
    sky.setColorAt(1.0, QColor(255, 220, 140));
    p.fillRect(QRectF(0, 0, 1024, 768), sky);

    // Sun with a glow.
    QRadialGradient glow(QPointF(760, 300), 260);
    glow.setColorAt(0.0, QColor(255, 250, 210, 255));
    glow.setColorAt(0.15, QColor(255, 220, 120, 220));
    glow.setColorAt(1.0, QColor(255, 160, 80, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(760, 300), 260, 260);
    p.setBrush(QColor(255, 244, 200));
    p.drawEllipse(QPointF(760, 300), 46, 46);

    // Clouds: each one a union of puffs filled once, so the puffs do not show seams.
    for (int i = 0; i < 6; ++i) {
        const double cx = 60 + unit(rng) * 900, cy = 50 + unit(rng) * 170;
        const double s = 26 + unit(rng) * 34;
        QPainterPath cloud;
        for (int k = 0; k < 5; ++k) {
            QPainterPath puff;
            puff.addEllipse(QPointF(cx + (k - 2) * s * 0.7, cy - (k % 2) * s * 0.25),
                            s * (0.6 + 0.25 * (k % 2)), s * (0.45 + 0.2 * (k % 2)));
            cloud = cloud.united(puff);
        }
        QLinearGradient shade(0, cy - s, 0, cy + s * 0.5);
        shade.setColorAt(0.0, QColor(255, 255, 255, 235));
        shade.setColorAt(1.0, QColor(236, 214, 236, 215));
        p.fillPath(cloud, shade);
    }

    // Far mountains, then nearer hills.
    const std::array<QColor, 3> ridge = {QColor(110, 110, 180), QColor(80, 130, 150),
                                         QColor(70, 150, 90)};
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath path(QPointF(0, 768));
        const double base = 360 + layer * 50;
        for (int x = 0; x <= 1024; x += 16) {
            const double y = base - 70 * std::sin(x * 0.006 + layer * 2.1) -
                             35 * std::sin(x * 0.017 + layer) - 12 * unit(rng);
            path.lineTo(QPointF(x, y));
        }
        path.lineTo(QPointF(1024, 768));
        path.closeSubpath();
        QLinearGradient g(0, base - 120, 0, 600);
        g.setColorAt(0.0, ridge[layer].lighter(125));
        g.setColorAt(1.0, ridge[layer].darker(140));
        p.setBrush(g);
        p.drawPath(path);
    }

    // Lake with the sun's reflection.
    QLinearGradient water(0, 520, 0, 640);
    water.setColorAt(0.0, QColor(90, 150, 220));
    water.setColorAt(1.0, QColor(40, 80, 160));
    QPainterPath lake;
    lake.addEllipse(QPointF(640, 580), 330, 58);
    p.setBrush(water);
    p.drawPath(lake);
    p.save();
    p.setClipPath(lake);
    for (int i = 0; i < 40; ++i) {
        const double y = 528 + unit(rng) * 100;
        const double spread = 20 + (y - 528) * 0.9;
        const double x = 760 + (unit(rng) - 0.5) * spread * 2;
        p.setBrush(QColor(255, 232, 170, 110 + static_cast<int>(unit(rng) * 100)));
        p.drawRoundedRect(QRectF(x - 12, y, 14 + unit(rng) * 26, 2.2), 1.1, 1.1);
    }
    p.restore();

    // Meadow in front.
    QPainterPath meadow(QPointF(0, 768));
    for (int x = 0; x <= 1024; x += 32) {
        meadow.lineTo(QPointF(x, 630 + 20 * std::sin(x * 0.01)));
    }
    meadow.lineTo(QPointF(1024, 768));
    meadow.closeSubpath();
    QLinearGradient grass(0, 620, 0, 768);
    grass.setColorAt(0.0, QColor(130, 200, 80));
    grass.setColorAt(1.0, QColor(50, 130, 40));
    p.setBrush(grass);
    p.drawPath(meadow);

    // Village and trees.
    DrawHouse(p, 120, 640, 90, QColor(250, 235, 210), QColor(200, 70, 60));
    DrawHouse(p, 240, 650, 70, QColor(220, 240, 255), QColor(60, 110, 190));
    DrawHouse(p, 330, 636, 80, QColor(255, 245, 170), QColor(120, 80, 160));
    for (int i = 0; i < 12; ++i) {
        DrawTree(p, 20 + unit(rng) * 1000, 660 + unit(rng) * 90, 70 + unit(rng) * 70, rng);
    }
    // Flowers.
    for (int i = 0; i < 160; ++i) {
        const QColor petal = QColor::fromHsv(static_cast<int>(unit(rng) * 360), 170, 255);
        const double x = unit(rng) * 1024, y = 690 + unit(rng) * 78;
        p.setBrush(petal);
        p.drawEllipse(QPointF(x, y), 4.5, 4.5);
        p.setBrush(QColor(255, 230, 80));
        p.drawEllipse(QPointF(x, y), 1.8, 1.8);
    }
    // A kite in the sky.
    QPainterPath kite(QPointF(300, 110));
    kite.lineTo(QPointF(330, 150));
    kite.lineTo(QPointF(300, 210));
    kite.lineTo(QPointF(270, 150));
    kite.closeSubpath();
    QLinearGradient kg(270, 110, 330, 210);
    kg.setColorAt(0.0, QColor(255, 80, 90));
    kg.setColorAt(1.0, QColor(255, 200, 60));
    p.setBrush(kg);
    p.setPen(QPen(QColor(120, 40, 40), 2));
    p.drawPath(kite);
    p.setPen(QPen(QColor(80, 60, 60), 1.2));
    QPainterPath tail(QPointF(300, 210));
    tail.cubicTo(QPointF(320, 260), QPointF(260, 300), QPointF(290, 350));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tail);
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage DrawPiece(int index) {
    std::mt19937 rng(static_cast<unsigned>(index) * 2654435761u + 17u);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int w = 64 + static_cast<int>(unit(rng) * 97);
    const int h = 64 + static_cast<int>(unit(rng) * 97);
    // Hues walk around the wheel; value and saturation vary so that dark, light and greyish
    // pieces are all present.
    const int hue = (index * 37 + static_cast<int>(unit(rng) * 30)) % 360;
    const int sat = 40 + static_cast<int>(unit(rng) * 215);
    const int val = 30 + static_cast<int>(unit(rng) * 225);
    const QColor a = QColor::fromHsv(hue, sat, val);
    const QColor b =
        QColor::fromHsv((hue + 30 + static_cast<int>(unit(rng) * 150)) % 360,
                        static_cast<int>(unit(rng) * 255), static_cast<int>(unit(rng) * 255));
    const int kind = index % 8;
    if (kind == 7) {
        return NoisePiece(w, h, rng, a, b);
    }
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(a);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    switch (kind) {
        case 0: {  // linear gradient at an angle
            const double angle = unit(rng) * 2 * std::numbers::pi;
            QLinearGradient g(w / 2.0 - std::cos(angle) * w / 2, h / 2.0 - std::sin(angle) * h / 2,
                              w / 2.0 + std::cos(angle) * w / 2, h / 2.0 + std::sin(angle) * h / 2);
            g.setColorAt(0.0, a);
            g.setColorAt(1.0, b);
            p.fillRect(image.rect(), g);
            break;
        }
        case 1: {  // radial gradient
            QRadialGradient g(QPointF(w * unit(rng), h * unit(rng)), std::max(w, h) * 0.8);
            g.setColorAt(0.0, b);
            g.setColorAt(1.0, a);
            p.fillRect(image.rect(), g);
            break;
        }
        case 2: {  // stripes
            const double width = 4 + unit(rng) * 14;
            p.rotate(unit(rng) * 180);
            p.setBrush(b);
            for (double x = -2.0 * (w + h); x < 2.0 * (w + h); x += 2 * width) {
                p.drawRect(QRectF(x, -2.0 * (w + h), width, 4.0 * (w + h)));
            }
            break;
        }
        case 3: {  // checker
            const int cell = 8 + static_cast<int>(unit(rng) * 24);
            p.setBrush(b);
            for (int y = 0; y < h; y += cell) {
                for (int x = ((y / cell) % 2) * cell; x < w; x += 2 * cell) {
                    p.drawRect(x, y, cell, cell);
                }
            }
            break;
        }
        case 4: {  // circles
            const int n = 3 + static_cast<int>(unit(rng) * 12);
            for (int i = 0; i < n; ++i) {
                const QColor c = Mix(a, b, unit(rng));
                p.setBrush(
                    QColor(c.red(), c.green(), c.blue(), 120 + static_cast<int>(unit(rng) * 135)));
                const double r = 6 + unit(rng) * std::min(w, h) * 0.4;
                p.drawEllipse(QPointF(w * unit(rng), h * unit(rng)), r, r);
            }
            break;
        }
        case 5: {  // concentric rings, conical sweep
            QConicalGradient g(QPointF(w / 2.0, h / 2.0), unit(rng) * 360);
            g.setColorAt(0.0, a);
            g.setColorAt(0.5, b);
            g.setColorAt(1.0, a);
            p.fillRect(image.rect(), g);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(255, 255, 255, 90), 2 + unit(rng) * 4));
            for (double r = 6; r < std::max(w, h); r += 10 + unit(rng) * 8) {
                p.drawEllipse(QPointF(w / 2.0, h / 2.0), r, r);
            }
            break;
        }
        default: {  // triangles and squares over a soft gradient
            QLinearGradient g(0, 0, 0, h);
            g.setColorAt(0.0, a.lighter(130));
            g.setColorAt(1.0, a.darker(130));
            p.fillRect(image.rect(), g);
            const int n = 4 + static_cast<int>(unit(rng) * 8);
            for (int i = 0; i < n; ++i) {
                p.setBrush(
                    Mix(b, QColor(unit(rng) > 0.5 ? Qt::white : Qt::black), unit(rng) * 0.5));
                QPainterPath shape(QPointF(w * unit(rng), h * unit(rng)));
                shape.lineTo(QPointF(w * unit(rng), h * unit(rng)));
                shape.lineTo(QPointF(w * unit(rng), h * unit(rng)));
                if (i % 2) {
                    shape.lineTo(QPointF(w * unit(rng), h * unit(rng)));
                }
                shape.closeSubpath();
                p.drawPath(shape);
            }
            break;
        }
    }
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

bool WriteBmp24(const QImage& source, const std::filesystem::path& path, std::string& error) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const uint32_t width = static_cast<uint32_t>(image.width());
    const uint32_t height = static_cast<uint32_t>(image.height());
    const uint32_t stride = (width * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * height;
    std::array<uint8_t, 54> header{};
    header[0] = 'B';
    header[1] = 'M';
    PutLE(header, 2, 54 + pixelBytes, 4);  // file size
    PutLE(header, 10, 54, 4);              // offset of the pixels
    PutLE(header, 14, 40, 4);              // info header size
    PutLE(header, 18, width, 4);
    PutLE(header, 22, height, 4);  // positive: rows stored bottom to top
    PutLE(header, 26, 1, 2);       // planes
    PutLE(header, 28, 24, 2);      // bits a pixel
    PutLE(header, 30, 0, 4);       // no compression
    PutLE(header, 34, pixelBytes, 4);
    PutLE(header, 38, 2835, 4);  // 72 dpi
    PutLE(header, 42, 2835, 4);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    std::vector<char> row(stride, 0);
    for (uint32_t y = height; y-- > 0;) {
        const uchar* rgb = image.constScanLine(static_cast<int>(y));
        for (uint32_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<char>(rgb[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(rgb[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(rgb[3 * x]);
        }
        out.write(row.data(), stride);
    }
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool WriteSamples(const std::filesystem::path& programDir, std::string& error) {
    const std::filesystem::path samples = programDir / "samples";
    const std::filesystem::path pieces = samples / "pieces";
    if (!MakeFolder(pieces, error)) {
        return false;
    }
    if (!SavePng(DrawAnswerScene(1024, 768), samples / "answer_scene.png", error)) {
        return false;
    }
    for (int i = 0; i < kSamplePieceCount; ++i) {
        const QImage piece = DrawPiece(i);
        char name[32];
        std::snprintf(name, sizeof name, "piece_%03d", i);
        bool ok = true;
        switch (i % 3) {
            case 0:
                ok = WriteBmp24(piece, pieces / (std::string(name) + ".bmp"), error);
                break;
            case 1: {
                const std::filesystem::path file = pieces / (std::string(name) + ".jpg");
                ok = piece.save(QString::fromStdString(file.string()), "JPEG", 90);
                if (!ok) {
                    error = "cannot write " + file.string();
                }
                break;
            }
            default:
                ok = SavePng(piece, pieces / (std::string(name) + ".png"), error);
                break;
        }
        if (!ok) {
            return false;
        }
    }
    return true;
}

}  // namespace tama05::art
