#include "tools/art/docs_art.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

#include "skin/slider_bar_layout.h"
#include "tools/art/character_art.h"
#include "tools/art/paint_util.h"
#include "tools/art/sample_art.h"
#include "tools/art/skin_art.h"

namespace tama05::art {

namespace {

constexpr int kMargin = 8;
constexpr int kMainHeight = 64;

QFont PanelFont(int pixelSize) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(pixelSize);
    return font;
}

void PanelText(QPainter& p, const QRect& panel, const TextSpot& spot, const QString& text,
               int line) {
    p.setFont(PanelFont(spot.fontSize));
    p.setPen(spot.color);
    p.drawText(QRect(panel.left() + spot.x, panel.top() + spot.y + 20 * line,
                     panel.width() - spot.x, spot.fontSize + 4),
               Qt::AlignLeft | Qt::AlignTop, text);
}

// The strip, a stand-in for the puzzle window and the slider bar, as they appear on screen.
QImage SkinPreview(const SkinDesign& skin) {
    const int width = skin.ctrlSize.width() + 2 * kMargin;
    const int height = skin.ctrlSize.height() + kMainHeight + kSliderBarHeight + 2 * kMargin;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(96, 100, 110));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Control strip: background, buttons (the open button hovered), panels and the meter.
    p.save();
    p.translate(kMargin, kMargin);
    const QImage ctrlBack = DrawCtrlBack(skin);
    p.drawImage(0, 0, ctrlBack);
    p.drawImage(0, 0, DrawStateSheet(skin, ButtonState::Normal));
    const QImage hover = DrawStateSheet(skin, ButtonState::Hover);
    p.drawImage(skin.open.topLeft(), hover, skin.open);
    p.drawImage(skin.pointDisp.topLeft(),
                DrawCharacter({Character::Mascot, "ki", 4}, skin.pointDisp.size()));
    PanelText(p, skin.pointDisp, skin.pointText, QStringLiteral("87"), 0);
    PanelText(p, skin.message1, skin.message1Text, QStringLiteral("どうも～。玉五郎で～す。"), 0);
    PanelText(p, skin.message1, skin.message1Text, QStringLiteral("ファイルを開きまちょう。"), 1);
    p.drawImage(skin.waitMeter.topLeft(), DrawWaitMeterPicture(skin, ctrlBack));
    const int step = static_cast<int>(skin.meterBarWidth * 0.05 + 0.9);
    for (int k = 0; k < 13; ++k) {
        const int left =
            std::min(skin.meterBarX + step * k + 1, skin.meterBarX + skin.meterBarWidth - 1);
        const int right =
            std::min(skin.meterBarX + skin.meterBarWidth, skin.meterBarX + step * (k + 1));
        p.fillRect(QRect(skin.waitMeter.left() + left, skin.waitMeter.top() + skin.meterBarY,
                         right - left, skin.meterBarHeight),
                   skin.meterColor);
    }
    p.restore();

    // The puzzle window between them, showing a coarse mosaic of the sample answer.
    const QImage scene = DrawAnswerScene(256, 192);
    const QImage coarse = scene.scaled(skin.ctrlSize.width() / 8, kMainHeight / 8,
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(
        QRect(kMargin, kMargin + skin.ctrlSize.height(), skin.ctrlSize.width(), kMainHeight),
        coarse.scaled(skin.ctrlSize.width(), kMainHeight));

    // Slider bar with the slider and its value box at their fixed places.
    p.save();
    p.translate(kMargin, kMargin + skin.ctrlSize.height() + kMainHeight);
    p.drawImage(0, 0, DrawSubCtrlBack(skin));
    p.drawImage(skin.assistantDisp.topLeft(),
                DrawCharacter({Character::Assistant, "normal", 1}, skin.assistantDisp.size()));
    PanelText(p, skin.message2, skin.message2Text, QStringLiteral("アシスタントのこまおです。"), 0);
    const QRect slider(kAnswerSliderRect.left, kAnswerSliderRect.top, kAnswerSliderRect.width,
                       kAnswerSliderRect.height);
    const QColor ink = skin.message2Text.color;
    p.setPen(QPen(ink, 1));
    p.drawLine(slider.left() + 4, slider.center().y(), slider.right() - 4, slider.center().y());
    p.setBrush(skin.buttonBottom);
    p.drawRoundedRect(QRectF(slider.left() + 58, slider.top() + 3, 9, slider.height() - 6), 2, 2);
    const QRect box(kBlendValueBoxRect.left, kBlendValueBoxRect.top, kBlendValueBoxRect.width,
                    kBlendValueBoxRect.height);
    p.setFont(PanelFont(12));
    p.drawText(box, Qt::AlignCenter, QStringLiteral("200"));
    p.restore();
    p.end();
    return image;
}

QImage CharacterSheet() {
    constexpr int kCellW = 120, kCellH = 78, kSmallW = 60, kColumns = 5, kSmallColumns = 10;
    const int mascots = 25, assistants = 20;
    const int height = ((mascots + kColumns - 1) / kColumns) * kCellH +
                       ((assistants + kSmallColumns - 1) / kSmallColumns) * kCellH + 8;
    QImage image(kCellW * kColumns, height, QImage::Format_RGB32);
    image.fill(QColor(236, 240, 246));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(PanelFont(10));
    int mascot = 0, assistant = 0;
    for (const CharacterPicture& picture : kCharacterPictures) {
        QRect cell;
        QImage art;
        if (picture.who == Character::Mascot) {
            cell =
                QRect((mascot % kColumns) * kCellW, (mascot / kColumns) * kCellH, kCellW, kCellH);
            art = DrawCharacter(picture, QSize(112, 60));
            ++mascot;
        } else {
            const int top = ((mascots + kColumns - 1) / kColumns) * kCellH + 8;
            cell = QRect((assistant % kSmallColumns) * kSmallW,
                         top + (assistant / kSmallColumns) * kCellH, kSmallW, kCellH);
            art = DrawCharacter(picture, QSize(30, 30))
                      .scaled(60, 60, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            ++assistant;
        }
        p.fillRect(cell.adjusted(2, 2, -2, -16), QColor(255, 255, 255));
        p.drawImage(cell.left() + (cell.width() - art.width()) / 2, cell.top() + 2, art);
        p.setPen(QColor(60, 70, 90));
        const std::string name = CharacterFileName(picture);
        const std::string shortName =
            name.substr(name.find("disp_") + 5, name.size() - name.find("disp_") - 9);
        p.drawText(QRect(cell.left(), cell.bottom() - 14, cell.width(), 14), Qt::AlignCenter,
                   QString::fromStdString(shortName));
    }
    p.end();
    return image;
}

}  // namespace

bool WriteDocsPictures(const std::filesystem::path& docsFolder, std::string& error) {
    if (!MakeFolder(docsFolder, error)) {
        return false;
    }
    for (const SkinDesign& skin : {DefaultSkin(), NightSkin()}) {
        if (!SavePng(SkinPreview(skin), docsFolder / ("skin-" + skin.folder + ".png"), error)) {
            return false;
        }
    }
    return SavePng(CharacterSheet(), docsFolder / "characters.png", error);
}

}  // namespace tama05::art
