#include "tools/art/skin_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <fstream>
#include <random>

#include "skin/slider_bar_layout.h"
#include "tools/art/paint_util.h"

namespace tama05::art {

namespace {

constexpr QSize kSliderBarSize{kSliderBarWidth, kSliderBarHeight};

QRect ToQRect(const SliderBarRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

QFont PixelFont(const QString& family, int pixelSize, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void FillBackground(QPainter& painter, const SkinDesign& skin, QSize size, unsigned seed) {
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0.0, skin.backTop);
    gradient.setColorAt(1.0, skin.backBottom);
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
    if (skin.stars) {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> x(0, size.width());
        std::uniform_real_distribution<double> y(0, size.height());
        std::uniform_real_distribution<double> r(0.4, 1.1);
        std::uniform_int_distribution<int> alpha(60, 200);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < size.width() / 6; ++i) {
            painter.setBrush(QColor(255, 255, 230, alpha(rng)));
            painter.drawEllipse(QPointF(x(rng), y(rng)), r(rng), r(rng));
        }
        FillStar(painter, size.width() * 0.63, 9, 3.2, 0.9, 4, QColor(255, 240, 200, 180));
    } else {
        // Soft light blobs give the plain gradient some depth.
        QRadialGradient glow(size.width() * 0.72, -10, size.width() * 0.5);
        glow.setColorAt(0.0, QColor(255, 255, 255, 110));
        glow.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.fillRect(QRect(QPoint(0, 0), size), glow);
    }
    // Frame with a highlight along the top edge.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(skin.frame, 1.0));
    painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
    painter.setPen(QPen(QColor(255, 255, 255, skin.stars ? 40 : 150), 1.0));
    painter.drawLine(QPointF(4, 1.5), QPointF(size.width() - 4, 1.5));
}

// A recessed card that a panel cuts out as its background.
void DrawPanelCard(QPainter& painter, const SkinDesign& skin, const QRect& rect, double radius) {
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0.0, skin.panelTop);
    gradient.setColorAt(1.0, skin.panelBottom);
    painter.setPen(QPen(skin.panelEdge, 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(r, radius, radius);
    // Inner shadow along the top edge makes the card look sunk into the strip.
    painter.setPen(QPen(QColor(0, 0, 0, 28), 1.0));
    painter.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
                     QPointF(r.right() - radius, r.top() + 1.5));
}

QString ButtonLabel(const SkinDesign& skin, const QRect& rect) {
    if (rect == skin.menu0)
        return QStringLiteral("メニュー");
    if (rect == skin.newPuzzle)
        return QStringLiteral("新規");
    if (rect == skin.open)
        return QStringLiteral("開く");
    if (rect == skin.save)
        return QStringLiteral("保存");
    return {};
}

void DrawButton(QPainter& painter, const SkinDesign& skin, const QRect& rect, ButtonState state) {
    painter.save();
    painter.setClipRect(rect);
    const bool isClose = rect == skin.close;
    const bool isMinimize = rect == skin.minimize;
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = skin.shape == ButtonShape::Pill ? r.height() / 2 : 5.0;

    QColor top = skin.buttonTop, bottom = skin.buttonBottom, edge = skin.buttonEdge;
    QColor text = skin.buttonText;
    if (state == ButtonState::Hover) {
        top = skin.hoverTop;
        bottom = skin.hoverBottom;
        edge = skin.stars ? QColor(140, 230, 255) : QColor(255, 170, 60);
        text = skin.stars ? QColor(255, 222, 120) : skin.buttonText;
    } else if (state == ButtonState::Pressed) {
        top = skin.pressedTop;
        bottom = skin.pressedBottom;
        edge = skin.stars ? QColor(255, 214, 90) : QColor(200, 100, 20);
        text = skin.stars ? QColor(255, 214, 90) : QColor(255, 255, 255);
    }
    if (isClose) {
        const QColor base = skin.closeColor;
        top = state == ButtonState::Pressed ? base.darker(130)
                                            : base.lighter(state == ButtonState::Hover ? 135 : 115);
        bottom = state == ButtonState::Pressed ? base.darker(105) : base.darker(110);
        edge = base.darker(state == ButtonState::Hover ? 100 : 150);
        text = QColor(255, 255, 255);
    }
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    painter.setBrush(gradient);
    painter.setPen(QPen(edge, state == ButtonState::Normal ? 1.0 : 1.4));
    painter.drawRoundedRect(r, radius, radius);
    if (state != ButtonState::Pressed) {
        // Glossy upper half.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, skin.stars ? 30 : 90));
        painter.drawRoundedRect(
            QRectF(r.left() + 2, r.top() + 1.5, r.width() - 4, r.height() * 0.42), radius * 0.7,
            radius * 0.7);
    }
    const double shift = state == ButtonState::Pressed ? 1.0 : 0.0;
    const QPointF c = r.center() + QPointF(shift, shift);
    if (isClose || isMinimize) {
        const double s = r.height() * 0.22;
        painter.setPen(QPen(text, 2.0, Qt::SolidLine, Qt::RoundCap));
        if (isClose) {
            painter.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
            painter.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
        } else {
            painter.drawLine(c + QPointF(-s, s * 0.8), c + QPointF(s, s * 0.8));
        }
    } else {
        painter.setFont(PixelFont(skin.fontFamily, 12, !skin.stars));
        painter.setPen(text);
        painter.drawText(r.translated(shift, shift), Qt::AlignCenter, ButtonLabel(skin, rect));
    }
    painter.restore();
}

void WriteEntry(std::vector<std::pair<std::string, int>>& out, const std::string& name, int value) {
    out.emplace_back(name, value);
}

void WriteRect(std::vector<std::pair<std::string, int>>& out, const std::string& prefix,
               const QRect& r) {
    WriteEntry(out, prefix + "_L", r.left());
    WriteEntry(out, prefix + "_T", r.top());
    WriteEntry(out, prefix + "_W", r.width());
    WriteEntry(out, prefix + "_H", r.height());
}

void WriteColor(std::vector<std::pair<std::string, int>>& out, const std::string& prefix,
                const QColor& c) {
    WriteEntry(out, prefix + "_R", c.red());
    WriteEntry(out, prefix + "_G", c.green());
    WriteEntry(out, prefix + "_B", c.blue());
}

void WriteText(std::vector<std::pair<std::string, int>>& out, const std::string& prefix,
               const TextSpot& t) {
    WriteEntry(out, prefix + "_X", t.x);
    WriteEntry(out, prefix + "_Y", t.y);
    WriteEntry(out, prefix + "_FONT_SIZE", t.fontSize);
    WriteColor(out, prefix + "_COLOR", t.color);
}

}  // namespace

SkinDesign DefaultSkin() {
    SkinDesign s;
    s.folder = "skin";
    s.menu0 = QRect(128, 5, 64, 21);
    s.newPuzzle = QRect(196, 5, 52, 21);
    s.open = QRect(252, 5, 52, 21);
    s.save = QRect(308, 5, 52, 21);
    s.minimize = QRect(454, 5, 20, 20);
    s.close = QRect(477, 5, 20, 20);
    s.pointDisp = QRect(8, 8, 112, 60);
    s.pointText = {60, 12, 32, QColor(232, 96, 28)};
    s.message1 = QRect(128, 31, 369, 39);
    s.message1Text = {8, 3, 14, QColor(36, 48, 92)};
    s.waitMeter = QRect(366, 7, 84, 18);
    s.meterBarX = 2;
    s.meterBarY = 4;
    s.meterBarWidth = 80;
    s.meterBarHeight = 10;
    s.meterColor = QColor(72, 186, 92);
    s.assistantDisp = QRect(2, 1, 30, 30);
    s.message2 = QRect(34, 2, 344, 28);
    s.message2Text = {6, 8, 12, QColor(36, 48, 92)};
    s.subCtrlBackground = QColor(222, 235, 250);

    s.fontFamily = QStringLiteral("IPAGothic");
    s.shape = ButtonShape::RoundedBox;
    s.backTop = QColor(236, 246, 255);
    s.backBottom = QColor(190, 215, 242);
    s.frame = QColor(112, 146, 190);
    s.panelTop = QColor(255, 255, 255);
    s.panelBottom = QColor(244, 248, 255);
    s.panelEdge = QColor(150, 176, 210);
    s.buttonTop = QColor(255, 255, 255);
    s.buttonBottom = QColor(200, 222, 248);
    s.buttonEdge = QColor(110, 142, 186);
    s.buttonText = QColor(30, 50, 90);
    s.hoverTop = QColor(255, 250, 225);
    s.hoverBottom = QColor(255, 214, 140);
    s.pressedTop = QColor(236, 130, 40);
    s.pressedBottom = QColor(250, 170, 80);
    s.closeColor = QColor(226, 84, 78);
    return s;
}

SkinDesign NightSkin() {
    SkinDesign s;
    s.folder = "skin_night";
    s.menu0 = QRect(8, 6, 64, 21);
    s.newPuzzle = QRect(76, 6, 52, 21);
    s.open = QRect(132, 6, 52, 21);
    s.save = QRect(188, 6, 52, 21);
    s.waitMeter = QRect(248, 7, 84, 18);
    s.minimize = QRect(334, 6, 20, 20);
    s.close = QRect(357, 6, 20, 20);
    s.pointDisp = QRect(384, 8, 112, 60);
    s.pointText = {60, 12, 32, QColor(255, 214, 90)};
    s.message1 = QRect(8, 31, 369, 39);
    s.message1Text = {8, 3, 14, QColor(226, 228, 255)};
    s.meterBarX = 2;
    s.meterBarY = 4;
    s.meterBarWidth = 80;
    s.meterBarHeight = 10;
    s.meterColor = QColor(120, 220, 255);
    s.assistantDisp = QRect(2, 1, 30, 30);
    s.message2 = QRect(34, 2, 344, 28);
    s.message2Text = {6, 8, 12, QColor(226, 228, 255)};
    s.subCtrlBackground = QColor(40, 38, 80);

    s.fontFamily = QStringLiteral("IPAMincho");
    s.shape = ButtonShape::Pill;
    s.stars = true;
    s.backTop = QColor(22, 26, 58);
    s.backBottom = QColor(52, 36, 88);
    s.frame = QColor(120, 110, 190);
    s.panelTop = QColor(30, 30, 66);
    s.panelBottom = QColor(44, 40, 86);
    s.panelEdge = QColor(110, 104, 180);
    s.buttonTop = QColor(70, 62, 130);
    s.buttonBottom = QColor(42, 38, 92);
    s.buttonEdge = QColor(127, 190, 240);
    s.buttonText = QColor(230, 230, 255);
    s.hoverTop = QColor(96, 88, 170);
    s.hoverBottom = QColor(62, 56, 132);
    s.pressedTop = QColor(22, 20, 52);
    s.pressedBottom = QColor(44, 40, 90);
    s.closeColor = QColor(170, 70, 130);
    return s;
}

std::vector<std::pair<std::string, int>> SkinTxtEntries(const SkinDesign& skin) {
    std::vector<std::pair<std::string, int>> out;
    WriteEntry(out, "VERSION", skin.version);
    WriteRect(out, "CLOSE", skin.close);
    WriteRect(out, "MINIMIZE", skin.minimize);
    WriteRect(out, "MENU0", skin.menu0);
    WriteRect(out, "NEW", skin.newPuzzle);
    WriteRect(out, "OPEN", skin.open);
    WriteRect(out, "SAVE", skin.save);
    WriteRect(out, "ASSISTANT_DISP", skin.assistantDisp);
    WriteRect(out, "POINT_DISP", skin.pointDisp);
    WriteText(out, "POINT_DISP", skin.pointText);
    WriteRect(out, "MESSAGE1", skin.message1);
    WriteText(out, "MESSAGE1", skin.message1Text);
    WriteRect(out, "MESSAGE2", skin.message2);
    WriteText(out, "MESSAGE2", skin.message2Text);
    WriteColor(out, "SUB_CTRL_BG_COLOR", skin.subCtrlBackground);
    WriteRect(out, "WAIT_METER", skin.waitMeter);
    WriteEntry(out, "WAIT_METER_W2", skin.meterBarWidth);
    WriteEntry(out, "WAIT_METER_H2", skin.meterBarHeight);
    WriteEntry(out, "WAIT_METER_X", skin.meterBarX);
    WriteEntry(out, "WAIT_METER_Y", skin.meterBarY);
    WriteColor(out, "WAIT_METER_COLOR", skin.meterColor);
    return out;
}

QImage DrawCtrlBack(const SkinDesign& skin) {
    QImage image(skin.ctrlSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(skin.backBottom);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    FillBackground(painter, skin, skin.ctrlSize, 5);
    DrawPanelCard(painter, skin, skin.pointDisp, 8);
    DrawPanelCard(painter, skin, skin.message1, 6);
    // Shallow wells under the buttons, so the strip reads well before the sheets are laid on.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, skin.stars ? 60 : 22));
    for (const QRect& r :
         {skin.menu0, skin.newPuzzle, skin.open, skin.save, skin.minimize, skin.close}) {
        const double radius = skin.shape == ButtonShape::Pill ? (r.height() + 2) / 2.0 : 6.0;
        painter.drawRoundedRect(QRectF(r).adjusted(-1, -1, 1, 1), radius, radius);
    }
    // A faint groove where the wait meter appears while files are processed.
    painter.setBrush(QColor(0, 0, 0, skin.stars ? 40 : 14));
    painter.drawRoundedRect(QRectF(skin.waitMeter).adjusted(1, 2, -1, -2), 6, 6);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage DrawStateSheet(const SkinDesign& skin, ButtonState state) {
    QImage image = TransparentPicture(skin.ctrlSize.width(), skin.ctrlSize.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const QRect& r :
         {skin.close, skin.minimize, skin.menu0, skin.newPuzzle, skin.open, skin.save}) {
        DrawButton(painter, skin, r, state);
    }
    painter.end();
    return image;
}

QImage DrawSubCtrlBack(const SkinDesign& skin) {
    QImage image(kSliderBarSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(skin.backBottom);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    FillBackground(painter, skin, kSliderBarSize, 11);
    // A soft round badge behind the assistant.
    const QRectF badge = QRectF(skin.assistantDisp).adjusted(1, 1, -1, -1);
    QRadialGradient halo(badge.center(), badge.width() / 2);
    halo.setColorAt(0.0, skin.panelTop);
    halo.setColorAt(0.85, skin.panelBottom);
    halo.setColorAt(1.0, skin.panelEdge);
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(badge);
    DrawPanelCard(painter, skin, skin.message2, 5);
    // The flat area of the answer slider and its value box, in the colour the window paints
    // behind them, with a thin edge drawn only outside the two controls.
    const QRect area = ToQRect(kSliderControlsArea);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, skin.subCtrlBackground);
    painter.setPen(skin.panelEdge);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage DrawWaitMeterPicture(const SkinDesign& skin, const QImage& ctrlBack) {
    const QSize size = skin.waitMeter.size();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.drawImage(QPoint(0, 0), ctrlBack, skin.waitMeter);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF trough(0.5, 1.5, size.width() - 1, size.height() - 3);
    QLinearGradient gradient(trough.topLeft(), trough.bottomLeft());
    gradient.setColorAt(0.0, skin.stars ? QColor(14, 14, 34) : QColor(96, 110, 136));
    gradient.setColorAt(1.0, skin.stars ? QColor(40, 36, 80) : QColor(150, 164, 190));
    painter.setPen(QPen(skin.stars ? skin.buttonEdge : skin.frame, 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(trough, trough.height() / 2, trough.height() / 2);
    // The channel the segments fill, with faint tick marks every fifth segment.
    const QRect bar(skin.meterBarX, skin.meterBarY, skin.meterBarWidth, skin.meterBarHeight);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(bar, skin.stars ? QColor(10, 10, 26) : QColor(58, 68, 90));
    const int step = static_cast<int>(skin.meterBarWidth * 0.05 + 0.9);
    painter.setPen(QColor(255, 255, 255, 50));
    for (int k = 5; k < 20; k += 5) {
        const int x = skin.meterBarX + step * k;
        painter.drawLine(x, bar.top(), x, bar.bottom());
    }
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

bool WriteSkinFolder(const SkinDesign& skin, const std::filesystem::path& programDir,
                     std::string& error) {
    const std::filesystem::path folder = programDir / skin.folder;
    if (!MakeFolder(folder, error)) {
        return false;
    }
    {
        std::ofstream out(folder / "skin.txt", std::ios::binary);
        for (const auto& [key, value] : SkinTxtEntries(skin)) {
            out << key << '=' << value << "\r\n";
        }
        if (!out) {
            error = "cannot write " + (folder / "skin.txt").string();
            return false;
        }
    }
    const QImage ctrlBack = DrawCtrlBack(skin);
    return SavePng(ctrlBack, folder / "ctrl_back.png", error) &&
           SavePng(DrawStateSheet(skin, ButtonState::Normal), folder / "ctrl_normal.png", error) &&
           SavePng(DrawStateSheet(skin, ButtonState::Hover), folder / "ctrl_over.png", error) &&
           SavePng(DrawStateSheet(skin, ButtonState::Pressed), folder / "ctrl_down.png", error) &&
           SavePng(DrawSubCtrlBack(skin), folder / "sub_ctrl_back.png", error) &&
           SavePng(DrawWaitMeterPicture(skin, ctrlBack), folder / "wait_meter.png", error);
}

}  // namespace tama05::art
