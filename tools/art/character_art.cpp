#include "tools/art/character_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>
#include <random>

#include "tools/art/paint_util.h"

namespace tama05::art {

namespace {

// Both characters are drawn in a 60 × 60 box that is then scaled to the panel height.
constexpr double kBox = 60.0;
// The mascot's ball; its sprout reaches 11 units above it, its feet 2 below.
constexpr double kMascotCentreY = 34.0;
constexpr double kMascotRadius = 19.5;

enum class Eyes { Dot, Closed, Happy, Sad, Angry, Star, Shiny, Wink, Half, LookUp };
enum class Mouth { Smile, Open, Flat, Frown, Wavy, O, Zigzag, Cat, Tongue, Pout };
enum class Arms { None, Down, Up, Wave, Cheeks, Fists, Point };

enum Effect : unsigned {
    kHearts = 1u << 0,
    kNotes = 1u << 1,
    kSweat = 1u << 2,
    kTear = 1u << 3,
    kStream = 1u << 4,
    kVein = 1u << 5,
    kSteam = 1u << 6,
    kSparkles = 1u << 7,
    kRays = 1u << 8,
    kFlowers = 1u << 9,
    kQuestion = 1u << 10,
    kExclaim = 1u << 11,
    kGloom = 1u << 12,
    kMotion = 1u << 13,
    kDots = 1u << 14,
    kArrow = 1u << 15,
};

struct Pose {
    Eyes eyes;
    Mouth mouth;
    Arms arms;
    unsigned effects;
    double tilt = 0.0;    // degrees, clockwise
    double dy = 0.0;      // box units, negative is a hop
    double squash = 0.0;  // > 0 wider and lower, < 0 taller
};

Pose MascotPose(std::string_view mood, int n) {
    if (mood == "normal") {
        switch (n) {
            case 1:
                return {Eyes::Dot, Mouth::Smile, Arms::Down, 0};
            case 2:
                return {Eyes::Dot, Mouth::O, Arms::Wave, 0, -8};
            case 3:
                return {Eyes::Happy, Mouth::Cat, Arms::Wave, 0, 4};
            default:
                return {Eyes::LookUp, Mouth::O, Arms::Down, kNotes, 8};
        }
    }
    if (mood == "ki") {
        switch (n) {
            case 1:
                return {Eyes::Happy, Mouth::Open, Arms::Up, kFlowers, 0, -3};
            case 2:
                return {Eyes::Shiny, Mouth::Open, Arms::Cheeks, kFlowers};
            case 3:
                return {Eyes::Wink, Mouth::Tongue, Arms::Point, 0, -10};
            case 4:
                return {Eyes::Happy, Mouth::Open, Arms::Up, kHearts, 0, -3};
            case 5:
                return {Eyes::Closed, Mouth::Cat, Arms::Down, kFlowers | kNotes};
            case 6:
                return {Eyes::Happy, Mouth::Smile, Arms::Up, kMotion, 14, -2};
            case 7:
                return {Eyes::Happy, Mouth::Open, Arms::Up, kMotion, -14};
            case 8:
                return {Eyes::Dot, Mouth::Smile, Arms::Point, kExclaim | kSparkles};
            default:
                return {Eyes::Shiny, Mouth::Open, Arms::Cheeks, kHearts, 0, -4, -0.05};
        }
    }
    if (mood == "ai") {
        switch (n) {
            case 1:
                return {Eyes::Sad, Mouth::Frown, Arms::Down, kTear};
            case 2:
                return {Eyes::Dot, Mouth::Wavy, Arms::Down, kSweat | kQuestion};
            case 3:
                return {Eyes::Shiny, Mouth::Wavy, Arms::Cheeks, kTear};
            default:
                return {Eyes::Sad, Mouth::Frown, Arms::Down, kStream | kGloom, 0, 2, 0.06};
        }
    }
    if (mood == "do") {
        switch (n) {
            case 1:
                return {Eyes::Angry, Mouth::Frown, Arms::Fists, kVein};
            case 2:
                return {Eyes::Angry, Mouth::Zigzag, Arms::Fists, kSteam | kVein, 0, 0, 0.04};
            case 3:
                return {Eyes::Angry, Mouth::Pout, Arms::Down, kVein, 0, 0, 0.09};
            default:
                return {Eyes::Angry, Mouth::Open, Arms::Up, kExclaim | kSteam};
        }
    }
    switch (n) {  // pika
        case 1:
            return {Eyes::Star, Mouth::Open, Arms::Up, kSparkles | kRays};
        case 2:
            return {Eyes::Star, Mouth::Smile, Arms::Down, kSparkles | kRays, 0, -3};
        case 3:
            return {Eyes::Shiny, Mouth::Smile, Arms::Cheeks, kSparkles | kRays};
        default:
            return {Eyes::Star, Mouth::O, Arms::Wave, kSparkles | kRays, 8};
    }
}

Pose AssistantPose(std::string_view mood, int n) {
    if (mood == "normal") {
        return n == 1 ? Pose{Eyes::Dot, Mouth::Smile, Arms::None, 0}
                      : Pose{Eyes::Closed, Mouth::Smile, Arms::None, 0, -12, 2};
    }
    if (mood == "ki") {
        switch (n) {
            case 1:
                return {Eyes::Happy, Mouth::Open, Arms::None, 0, 0, -2};
            case 2:
                return {Eyes::Happy, Mouth::Smile, Arms::None, kSparkles};
            case 3:
                return {Eyes::Dot, Mouth::Open, Arms::None, kNotes};
            case 4:
                return {Eyes::Happy, Mouth::Open, Arms::None, kArrow, 6};
            case 5:
                return {Eyes::Happy, Mouth::Smile, Arms::None, kMotion, -14};
            default:
                return {Eyes::Happy, Mouth::Open, Arms::None, kMotion, 14};
        }
    }
    if (mood == "ai") {
        switch (n) {
            case 1:
                return {Eyes::Sad, Mouth::Frown, Arms::None, kSweat};
            case 2:
                return {Eyes::Dot, Mouth::Flat, Arms::None, kSweat};
            case 3:
                return {Eyes::Closed, Mouth::Flat, Arms::None, kDots};
            case 4:
                return {Eyes::Sad, Mouth::Frown, Arms::None, kTear};
            case 5:
                return {Eyes::Shiny, Mouth::O, Arms::None, kExclaim | kSweat};
            case 6:
                return {Eyes::Sad, Mouth::Wavy, Arms::None, kGloom};
            case 7:
                return {Eyes::Half, Mouth::Wavy, Arms::None, kSweat, 10};
            case 8:
                return {Eyes::Closed, Mouth::Frown, Arms::None, kQuestion};
            case 9:
                return {Eyes::Sad, Mouth::Flat, Arms::None, 0, -10};
            default:
                return {Eyes::Half, Mouth::Flat, Arms::None, kSweat | kDots};
        }
    }
    return n == 1 ? Pose{Eyes::Angry, Mouth::Frown, Arms::None, kVein}
                  : Pose{Eyes::Angry, Mouth::Open, Arms::None, kSteam};
}

// Line widths are given for the mascot's scale; the small assistant draws them bolder.
struct Ink {
    double line;
    QColor dark{52, 34, 30};
};

void DrawAura(QPainter& p, std::string_view mood, QPointF c, double r) {
    QColor color;
    if (mood == "ki") {
        color = QColor(255, 140, 190, 110);
    } else if (mood == "ai") {
        color = QColor(110, 150, 255, 100);
    } else if (mood == "do") {
        color = QColor(255, 80, 50, 110);
    } else if (mood == "pika") {
        color = QColor(255, 214, 60, 150);
    } else {
        return;
    }
    QRadialGradient g(c, r);
    g.setColorAt(0.0, color);
    g.setColorAt(0.6, QColor(color.red(), color.green(), color.blue(), color.alpha() / 2));
    g.setColorAt(1.0, QColor(color.red(), color.green(), color.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void DrawRays(QPainter& p, QPointF c, double inner, double outer, double turn) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    QRadialGradient g(QPointF(0, 0), outer);
    g.setColorAt(0.0, QColor(255, 236, 120, 200));
    g.setColorAt(1.0, QColor(255, 200, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    for (int i = 0; i < 12; ++i) {
        QPainterPath ray;
        ray.moveTo(inner * 0.8, -2.2);
        ray.lineTo(outer, 0);
        ray.lineTo(inner * 0.8, 2.2);
        ray.closeSubpath();
        p.drawPath(ray);
        p.rotate(30);
    }
    p.restore();
}

void DrawEye(QPainter& p, Eyes eyes, QPointF c, bool left, const Ink& ink) {
    const QPen pen(ink.dark, ink.line * 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // Brows run from the outer end (side) to the inner end (towards the nose).
    const double side = left ? -1.0 : 1.0;
    auto dot = [&](QPointF at, double rx, double ry) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink.dark);
        p.drawEllipse(at, rx, ry);
        p.setBrush(Qt::white);
        p.drawEllipse(at + QPointF(-rx * 0.3, -ry * 0.4), rx * 0.38, ry * 0.32);
    };
    switch (eyes) {
        case Eyes::Dot:
            dot(c, 2.6, 3.4);
            break;
        case Eyes::LookUp:
            dot(c + QPointF(0.8, -1.8), 2.6, 3.2);
            break;
        case Eyes::Shiny: {
            dot(c, 3.6, 4.6);
            p.setBrush(Qt::white);
            p.drawEllipse(c + QPointF(1.3, 1.6), 0.9, 0.9);
            break;
        }
        case Eyes::Closed: {
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            QPainterPath path(c + QPointF(-3.2, 0));
            path.quadTo(c + QPointF(0, 2.4), c + QPointF(3.2, 0));
            p.drawPath(path);
            break;
        }
        case Eyes::Happy: {
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            QPainterPath path(c + QPointF(-3.4, 1.4));
            path.quadTo(c + QPointF(0, -4.4), c + QPointF(3.4, 1.4));
            p.drawPath(path);
            break;
        }
        case Eyes::Wink: {
            if (left) {
                dot(c, 2.6, 3.4);
            } else {
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                QPainterPath path(c + QPointF(-3.0, -2.4));
                path.lineTo(c + QPointF(2.8, 0));
                path.lineTo(c + QPointF(-3.0, 2.4));
                p.drawPath(path);
            }
            break;
        }
        case Eyes::Sad: {
            dot(c + QPointF(0, 1.0), 2.2, 2.6);
            p.setPen(pen);
            p.drawLine(c + QPointF(side * 3.6, -4.2), c + QPointF(-side * 2.6, -6.6));
            break;
        }
        case Eyes::Angry: {
            dot(c + QPointF(0, 0.8), 2.4, 2.8);
            p.setPen(QPen(ink.dark, ink.line * 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c + QPointF(side * 3.6, -6.8), c + QPointF(-side * 3.0, -3.4));
            break;
        }
        case Eyes::Half: {
            dot(c + QPointF(0, 0.8), 2.4, 2.4);
            p.setPen(pen);
            p.drawLine(c + QPointF(-3.4, -0.6), c + QPointF(3.4, -0.6));
            break;
        }
        case Eyes::Star: {
            FillStar(p, c.x(), c.y(), 5.0, 2.1, 5, QColor(90, 60, 20));
            FillStar(p, c.x(), c.y(), 3.8, 1.6, 5, QColor(255, 226, 60));
            break;
        }
    }
}

void DrawMouth(QPainter& p, Mouth mouth, QPointF c, const Ink& ink) {
    const QPen pen(ink.dark, ink.line * 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QColor inside(150, 40, 50);
    const QColor tongue(255, 120, 130);
    p.setBrush(Qt::NoBrush);
    switch (mouth) {
        case Mouth::Smile: {
            p.setPen(pen);
            QPainterPath path(c + QPointF(-4.5, -1.2));
            path.quadTo(c + QPointF(0, 4.2), c + QPointF(4.5, -1.2));
            p.drawPath(path);
            break;
        }
        case Mouth::Tongue: {
            p.setPen(Qt::NoPen);
            p.setBrush(tongue);
            p.drawEllipse(c + QPointF(1.5, 2.8), 2.4, 2.6);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            QPainterPath path(c + QPointF(-4.5, -1.2));
            path.quadTo(c + QPointF(0, 4.0), c + QPointF(4.5, -1.2));
            p.drawPath(path);
            break;
        }
        case Mouth::Open: {
            QPainterPath path(c + QPointF(-5.5, -1.8));
            path.lineTo(c + QPointF(5.5, -1.8));
            path.quadTo(c + QPointF(0, 10.0), c + QPointF(-5.5, -1.8));
            p.setPen(QPen(ink.dark, ink.line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(inside);
            p.drawPath(path);
            p.save();
            p.setClipPath(path);
            p.setPen(Qt::NoPen);
            p.setBrush(tongue);
            p.drawEllipse(c + QPointF(0, 5.0), 3.6, 2.6);
            p.restore();
            break;
        }
        case Mouth::Flat:
            p.setPen(pen);
            p.drawLine(c + QPointF(-3.2, 0.5), c + QPointF(3.2, 0.5));
            break;
        case Mouth::Frown: {
            p.setPen(pen);
            QPainterPath path(c + QPointF(-4.0, 2.4));
            path.quadTo(c + QPointF(0, -2.6), c + QPointF(4.0, 2.4));
            p.drawPath(path);
            break;
        }
        case Mouth::Wavy: {
            p.setPen(pen);
            QPainterPath path(c + QPointF(-5.0, 1.0));
            path.cubicTo(c + QPointF(-3.4, -1.6), c + QPointF(-1.6, 3.0), c + QPointF(0, 1.0));
            path.cubicTo(c + QPointF(1.6, -1.6), c + QPointF(3.4, 3.0), c + QPointF(5.0, 1.0));
            p.drawPath(path);
            break;
        }
        case Mouth::O:
            p.setPen(QPen(ink.dark, ink.line));
            p.setBrush(inside);
            p.drawEllipse(c + QPointF(0, 1.2), 2.4, 3.0);
            break;
        case Mouth::Zigzag: {
            p.setPen(pen);
            QPainterPath path(c + QPointF(-5.0, 1.5));
            for (int i = 1; i <= 5; ++i) {
                path.lineTo(c + QPointF(-5.0 + 2.0 * i, (i % 2) ? -1.0 : 1.5));
            }
            p.drawPath(path);
            break;
        }
        case Mouth::Cat: {
            p.setPen(pen);
            QPainterPath path(c + QPointF(-4.6, -0.6));
            path.quadTo(c + QPointF(-2.3, 3.2), c + QPointF(0, -0.2));
            path.quadTo(c + QPointF(2.3, 3.2), c + QPointF(4.6, -0.6));
            p.drawPath(path);
            break;
        }
        case Mouth::Pout: {
            p.setPen(pen);
            QPainterPath path(c + QPointF(-1.0, -1.8));
            path.quadTo(c + QPointF(2.6, -1.0), c + QPointF(0, 0.6));
            path.quadTo(c + QPointF(2.6, 1.8), c + QPointF(-1.0, 2.8));
            p.drawPath(path);
            break;
        }
    }
}

void DrawDrop(QPainter& p, QPointF tip, double size, const QColor& color) {
    QPainterPath drop(tip);
    drop.cubicTo(tip + QPointF(size * 0.9, size * 1.1), tip + QPointF(size * 0.7, size * 1.9),
                 tip + QPointF(0, size * 1.9));
    drop.cubicTo(tip + QPointF(-size * 0.7, size * 1.9), tip + QPointF(-size * 0.9, size * 1.1),
                 tip);
    p.setPen(QPen(color.darker(140), 0.8));
    p.setBrush(color);
    p.drawPath(drop);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(tip + QPointF(-size * 0.25, size * 1.25), size * 0.18, size * 0.28);
}

void DrawNote(QPainter& p, QPointF c, double s, const QColor& color) {
    p.setPen(QPen(color, s * 0.18, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(s * 0.45, 0), c + QPointF(s * 0.45, -s * 1.3));
    p.drawLine(c + QPointF(s * 0.45, -s * 1.3), c + QPointF(s * 1.0, -s * 0.9));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.save();
    p.translate(c);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), s * 0.55, s * 0.4);
    p.restore();
}

void DrawFlower(QPainter& p, QPointF c, double s, const QColor& petal) {
    p.setPen(Qt::NoPen);
    p.setBrush(petal);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * std::numbers::pi / 5;
        p.drawEllipse(c + QPointF(std::cos(a) * s * 0.55, std::sin(a) * s * 0.55), s * 0.42,
                      s * 0.42);
    }
    p.setBrush(QColor(255, 214, 60));
    p.drawEllipse(c, s * 0.33, s * 0.33);
}

void DrawSign(QPainter& p, QPointF c, const QString& text, const QColor& color) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    QPainterPath path;
    path.addText(c, font, text);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
}

void DrawVein(QPainter& p, QPointF c, double s) {
    p.setPen(QPen(QColor(220, 30, 40), s * 0.28, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(c);
        p.rotate(90 * i);
        QPainterPath arc(QPointF(s * 0.35, -s));
        arc.quadTo(QPointF(s * 0.3, -s * 0.3), QPointF(s, -s * 0.35));
        p.drawPath(arc);
        p.restore();
    }
}

void DrawPuff(QPainter& p, QPointF c, double s) {
    p.setPen(QPen(QColor(180, 180, 190, 200), 0.8));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(c, s, s * 0.8);
    p.drawEllipse(c + QPointF(s * 0.8, -s * 0.5), s * 0.7, s * 0.6);
    p.drawEllipse(c + QPointF(-s * 0.7, -s * 0.6), s * 0.6, s * 0.5);
}

// Effects in box coordinates, around a body centred at c with radius r.
void DrawEffects(QPainter& p, unsigned effects, QPointF c, double r, int variant, bool front) {
    std::mt19937 rng(static_cast<unsigned>(variant * 7919 + (front ? 1 : 0)));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    if (!front) {
        if (effects & kRays) {
            DrawRays(p, c, r * 0.9, r * 1.45, variant * 15.0);
        }
        return;
    }
    const QPointF topRight = c + QPointF(r * 0.95, -r * 0.85);
    const QPointF topLeft = c + QPointF(-r * 1.05, -r * 0.85);
    if (effects & kHearts) {
        FillHeart(p, topRight.x() + 2, topRight.y() + 1 + variant % 2, 8.5, QColor(255, 80, 130));
        FillHeart(p, topLeft.x() + 3, topLeft.y() + 6, 6.0, QColor(255, 120, 170));
        FillHeart(p, topRight.x() + 6, topRight.y() + 14, 5.0, QColor(255, 150, 190));
    }
    if (effects & kNotes) {
        DrawNote(p, topRight + QPointF(0, 6), 6.5, QColor(70, 110, 220));
        DrawNote(p, topRight + QPointF(-9, -2 + variant % 3), 4.8, QColor(230, 90, 160));
    }
    if (effects & kSweat) {
        DrawDrop(p, topRight + QPointF(-2, 4), 4.4, QColor(150, 210, 255));
    }
    if (effects & kTear) {
        DrawDrop(p, c + QPointF(-r * 0.42, 0.5), 2.8, QColor(120, 190, 255));
    }
    if (effects & kStream) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 180, 255, 220));
        p.drawRoundedRect(QRectF(c.x() - r * 0.45, c.y() - 1, 3.2, r * 1.05), 1.5, 1.5);
        p.drawRoundedRect(QRectF(c.x() + r * 0.3, c.y() - 1, 3.2, r * 1.05), 1.5, 1.5);
    }
    if (effects & kVein) {
        DrawVein(p, topRight + QPointF(-1, 3), 4.6);
    }
    if (effects & kSteam) {
        DrawPuff(p, topLeft + QPointF(-1, -1), 4.0);
        DrawPuff(p, topRight + QPointF(2, -2), 3.4);
    }
    if (effects & kSparkles) {
        const int count = 5;
        for (int i = 0; i < count; ++i) {
            const double angle = unit(rng) * 2 * std::numbers::pi;
            const double dist = r * (1.05 + 0.35 * unit(rng));
            const QPointF at = c + QPointF(std::cos(angle) * dist, std::sin(angle) * dist * 0.9);
            const double size = 2.5 + 3.5 * unit(rng);
            FillStar(p, at.x(), at.y(), size, size * 0.28, 4, QColor(255, 250, 200));
            FillStar(p, at.x(), at.y(), size * 0.7, size * 0.2, 4, QColor(255, 210, 40));
        }
    }
    if (effects & kFlowers) {
        DrawFlower(p, topLeft + QPointF(2, 4), 5.0, QColor(255, 150, 200));
        DrawFlower(p, topRight + QPointF(0, 2 + variant), 4.0, QColor(255, 190, 90));
    }
    if (effects & kQuestion) {
        DrawSign(p, topRight + QPointF(1, 2), QStringLiteral("?"), QColor(60, 90, 200));
    }
    if (effects & kExclaim) {
        DrawSign(p, topRight + QPointF(3, 3), QStringLiteral("!"), QColor(230, 60, 40));
    }
    if (effects & kGloom) {
        p.setPen(QPen(QColor(80, 90, 170, 170), 1.2));
        for (int i = 0; i < 4; ++i) {
            const double x = c.x() - r * 0.5 + i * r * 0.33;
            p.drawLine(QPointF(x, c.y() - r * 1.2), QPointF(x, c.y() - r * 0.55));
        }
    }
    if (effects & kMotion) {
        p.setPen(QPen(QColor(120, 120, 140, 190), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 2; ++i) {
            const double d = r * (1.12 + 0.2 * i);
            p.drawArc(QRectF(c.x() - d, c.y() - d, 2 * d, 2 * d), 150 * 16, 40 * 16);
            p.drawArc(QRectF(c.x() - d, c.y() - d, 2 * d, 2 * d), -10 * 16, 40 * 16);
        }
    }
    if (effects & kDots) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 70, 90));
        for (int i = 0; i < 3; ++i) {
            p.drawEllipse(topRight + QPointF(-6 + i * 4.2, 0), 1.3, 1.3);
        }
    }
    if (effects & kArrow) {
        QPainterPath arrow(topRight + QPointF(-4, 8));
        arrow.lineTo(topRight + QPointF(4, 8));
        arrow.lineTo(topRight + QPointF(4, 4));
        arrow.lineTo(topRight + QPointF(10, 10));
        arrow.lineTo(topRight + QPointF(4, 16));
        arrow.lineTo(topRight + QPointF(4, 12));
        arrow.lineTo(topRight + QPointF(-4, 12));
        arrow.closeSubpath();
        p.setPen(QPen(Qt::white, 1.0));
        p.setBrush(QColor(240, 110, 40));
        p.drawPath(arrow);
    }
}

void DrawHand(QPainter& p, QPointF at, bool fist) {
    QRadialGradient g(at + QPointF(-1.2, -1.2), 5.0);
    g.setColorAt(0.0, QColor(255, 236, 170));
    g.setColorAt(1.0, fist ? QColor(236, 120, 40) : QColor(244, 160, 50));
    p.setPen(QPen(QColor(190, 110, 30), 0.9));
    p.setBrush(g);
    p.drawEllipse(at, fist ? 5.0 : 4.4, fist ? 4.6 : 4.4);
}

// The mascot: a warm yellow ball with a sprout, little feet and hands.
void DrawMascot(QPainter& p, std::string_view mood, int variant, const Pose& pose, bool withAura) {
    const QPointF c(30.0, kMascotCentreY);
    const double r = kMascotRadius;
    const Ink ink{1.0};
    if (withAura) {
        DrawAura(p, mood, c, 29.0);
        DrawEffects(p, pose.effects, c, r, variant, false);
        // Shadow on the ground.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawEllipse(QPointF(30, 56.5), 15 - pose.dy, 2.6);
    }

    p.save();
    p.translate(c + QPointF(0, pose.dy + r * pose.squash * 0.6));
    p.rotate(pose.tilt);
    p.scale(1.0 + pose.squash, 1.0 - pose.squash);

    // Feet.
    p.setPen(QPen(QColor(170, 90, 30), 0.9));
    p.setBrush(QColor(226, 126, 46));
    p.drawEllipse(QPointF(-9, r - 1.5), 6.0, 3.6);
    p.drawEllipse(QPointF(9, r - 1.5), 6.0, 3.6);

    // Hands behind the body.
    switch (pose.arms) {
        case Arms::Down:
            DrawHand(p, QPointF(-r - 1, 7), false);
            DrawHand(p, QPointF(r + 1, 7), false);
            break;
        case Arms::Up:
            DrawHand(p, QPointF(-r + 1, -r + 2), false);
            DrawHand(p, QPointF(r - 1, -r + 2), false);
            break;
        case Arms::Wave:
            DrawHand(p, QPointF(-r - 1, 7), false);
            DrawHand(p, QPointF(r + 2, -10), false);
            break;
        case Arms::Point:
            DrawHand(p, QPointF(-r - 1, 7), false);
            DrawHand(p, QPointF(r + 3, -3), false);
            break;
        default:
            break;
    }

    // Sprout.
    p.setPen(QPen(QColor(60, 140, 50), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath stem(QPointF(0, -r + 1));
    stem.quadTo(QPointF(-0.5, -r - 3), QPointF(1.5, -r - 5.5));
    p.drawPath(stem);
    p.setPen(QPen(QColor(50, 120, 40), 0.7));
    p.setBrush(QColor(110, 200, 80));
    QPainterPath leafRight(QPointF(1.5, -r - 5.5));
    leafRight.quadTo(QPointF(6, -r - 11), QPointF(10, -r - 6));
    leafRight.quadTo(QPointF(6, -r - 3), QPointF(1.5, -r - 5.5));
    p.drawPath(leafRight);
    QPainterPath leafLeft(QPointF(1.0, -r - 5.0));
    leafLeft.quadTo(QPointF(-3, -r - 10), QPointF(-7, -r - 6.5));
    leafLeft.quadTo(QPointF(-3, -r - 3), QPointF(1.0, -r - 5.0));
    p.drawPath(leafLeft);

    // Body.
    QColor mid(255, 190, 60), edge(230, 134, 34);
    if (mood == "ai") {
        mid = QColor(244, 190, 100);
        edge = QColor(196, 140, 110);
    } else if (mood == "do") {
        mid = QColor(255, 160, 60);
        edge = QColor(222, 90, 40);
    }
    QRadialGradient body(QPointF(-7, -8), r * 1.45);
    body.setColorAt(0.0, QColor(255, 246, 190));
    body.setColorAt(0.45, mid);
    body.setColorAt(1.0, edge);
    p.setPen(QPen(QColor(190, 100, 30), 1.1));
    p.setBrush(body);
    p.drawEllipse(QPointF(0, 0), r, r);
    // Shine.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.save();
    p.rotate(-35);
    p.drawEllipse(QPointF(-2, -r * 0.72), 6.0, 2.6);
    p.restore();

    // Cheeks.
    const bool rosy = mood == "ki" || mood == "pika" || mood == "do";
    p.setBrush(rosy ? QColor(255, 110, 120, mood == "do" ? 170 : 140) : QColor(255, 130, 120, 80));
    p.drawEllipse(QPointF(-12.5, 5.5), 4.0, 2.5);
    p.drawEllipse(QPointF(12.5, 5.5), 4.0, 2.5);

    DrawEye(p, pose.eyes, QPointF(-7.5, -4), true, ink);
    DrawEye(p, pose.eyes, QPointF(7.5, -4), false, ink);
    DrawMouth(p, pose.mouth, QPointF(0, 7), ink);

    // Hands in front of the body.
    if (pose.arms == Arms::Cheeks) {
        DrawHand(p, QPointF(-15, 9), false);
        DrawHand(p, QPointF(15, 9), false);
    } else if (pose.arms == Arms::Fists) {
        DrawHand(p, QPointF(-16, 11), true);
        DrawHand(p, QPointF(16, 11), true);
    }
    p.restore();
}

// The assistant: a small teal spinning top with a bow tie.
void DrawAssistant(QPainter& p, std::string_view mood, int variant, const Pose& pose) {
    const QPointF c(30.0, 30.0);
    const double r = 23.0;
    const Ink ink{1.7};
    DrawAura(p, mood, c, 29.0);
    DrawEffects(p, pose.effects, c, r, variant, false);

    p.save();
    p.translate(c + QPointF(0, pose.dy));
    p.rotate(pose.tilt);

    // Handle on top.
    QLinearGradient handle(QPointF(-3, 0), QPointF(3, 0));
    handle.setColorAt(0.0, QColor(120, 70, 40));
    handle.setColorAt(1.0, QColor(180, 120, 70));
    p.setPen(QPen(QColor(90, 50, 30), 1.0));
    p.setBrush(handle);
    p.drawRoundedRect(QRectF(-3.5, -27, 7, 12), 2.5, 2.5);

    // Body: a rounded crown tapering to the tip it spins on.
    QPainterPath body(QPointF(-24, -4));
    body.cubicTo(QPointF(-24, 10), QPointF(-8, 20), QPointF(0, 27));
    body.cubicTo(QPointF(8, 20), QPointF(24, 10), QPointF(24, -4));
    body.cubicTo(QPointF(24, -22), QPointF(-24, -22), QPointF(-24, -4));
    QColor mid(70, 196, 184), edge(30, 130, 130);
    if (mood == "ai") {
        mid = QColor(96, 168, 196);
        edge = QColor(50, 100, 150);
    } else if (mood == "do") {
        mid = QColor(110, 190, 150);
        edge = QColor(160, 70, 60);
    }
    QRadialGradient g(QPointF(-8, -10), 36);
    g.setColorAt(0.0, QColor(220, 255, 246));
    g.setColorAt(0.45, mid);
    g.setColorAt(1.0, edge);
    p.setPen(QPen(QColor(20, 90, 90), 1.6));
    p.setBrush(g);
    p.drawPath(body);
    // Stripe band.
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 214, 90));
    p.drawRect(QRectF(-26, 11, 52, 4.5));
    p.restore();

    // Face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 130, 140, mood == "ki" || mood == "do" ? 170 : 110));
    p.drawEllipse(QPointF(-14, 1), 4.2, 2.6);
    p.drawEllipse(QPointF(14, 1), 4.2, 2.6);
    DrawEye(p, pose.eyes, QPointF(-8.5, -5), true, ink);
    DrawEye(p, pose.eyes, QPointF(8.5, -5), false, ink);
    DrawMouth(p, pose.mouth, QPointF(0, 1.5), ink);

    // Bow tie, the mark of a polite companion.
    p.setPen(QPen(QColor(120, 20, 40), 1.0));
    p.setBrush(QColor(220, 50, 80));
    QPainterPath bow(QPointF(0, 8.5));
    bow.lineTo(QPointF(-7, 5));
    bow.lineTo(QPointF(-7, 12));
    bow.closeSubpath();
    bow.moveTo(QPointF(0, 8.5));
    bow.lineTo(QPointF(7, 5));
    bow.lineTo(QPointF(7, 12));
    bow.closeSubpath();
    p.drawPath(bow);
    p.drawEllipse(QPointF(0, 8.5), 2.0, 2.0);
    p.restore();
}

}  // namespace

std::string CharacterFileName(const CharacterPicture& picture) {
    return std::string(picture.who == Character::Mascot ? "point_disp_" : "assistant_disp_") +
           std::string(picture.mood) + std::to_string(picture.number) + ".tgp";
}

QImage DrawCharacter(const CharacterPicture& picture, QSize panelSize) {
    QImage image = TransparentPicture(panelSize.width(), panelSize.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scale = panelSize.height() / kBox;
    p.scale(scale, scale);
    const bool mascot = picture.who == Character::Mascot;
    const Pose pose = mascot ? MascotPose(picture.mood, picture.number)
                             : AssistantPose(picture.mood, picture.number);
    if (mascot) {
        DrawMascot(p, picture.mood, picture.number, pose, true);
        DrawEffects(p, pose.effects, QPointF(30, kMascotCentreY + pose.dy), kMascotRadius,
                    picture.number, true);
    } else {
        DrawAssistant(p, picture.mood, picture.number, pose);
        DrawEffects(p, pose.effects, QPointF(30, 30 + pose.dy), 23.0, picture.number, true);
    }
    p.end();
    return image;
}

QImage DrawMascotIcon(int size) {
    QImage image = TransparentPicture(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The ball and its sprout fill the square; no aura or shadow at icon sizes.
    p.scale(size / 56.0, size / 56.0);
    p.translate(-2, -1);
    DrawMascot(p, "normal", 1, Pose{Eyes::Dot, Mouth::Smile, Arms::None, 0}, false);
    p.end();
    return image;
}

bool WriteCharacterPictures(const std::filesystem::path& skinFolder, QSize mascotPanel,
                            QSize assistantPanel, std::string& error) {
    for (const CharacterPicture& picture : kCharacterPictures) {
        const QSize size = picture.who == Character::Mascot ? mascotPanel : assistantPanel;
        if (!SavePng(DrawCharacter(picture, size), skinFolder / CharacterFileName(picture),
                     error)) {
            return false;
        }
    }
    return true;
}

}  // namespace tama05::art
