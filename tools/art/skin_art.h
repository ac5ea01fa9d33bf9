#pragma once

// The two skins we ship: their placement values (written as skin.txt) and the drawing of their
// background pictures, button state sheets and wait meter.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tama05::art {

struct TextSpot {
    int x = 0;
    int y = 0;
    int fontSize = 12;
    QColor color;
};

enum class ButtonShape { RoundedBox, Pill };
enum class ButtonState { Normal, Hover, Pressed };

struct SkinDesign {
    std::string folder;  // folder name inside the program folder
    int version = 1;
    QSize ctrlSize{503, 76};

    QRect close, minimize, menu0, newPuzzle, open, save;
    QRect assistantDisp, pointDisp, message1, message2, waitMeter;
    TextSpot pointText, message1Text, message2Text;
    QColor subCtrlBackground;  // behind the answer slider and its value box
    int meterBarWidth = 0, meterBarHeight = 0, meterBarX = 0, meterBarY = 0;
    QColor meterColor;

    // Look.
    QString fontFamily;
    ButtonShape shape = ButtonShape::RoundedBox;
    QColor backTop, backBottom, frame, panelTop, panelBottom, panelEdge;
    QColor buttonTop, buttonBottom, buttonEdge, buttonText;
    QColor hoverTop, hoverBottom, pressedTop, pressedBottom;
    QColor closeColor;
    bool stars = false;
};

SkinDesign DefaultSkin();
SkinDesign NightSkin();

// The 73 skin.txt entries, in the order the scanner expects them.
std::vector<std::pair<std::string, int>> SkinTxtEntries(const SkinDesign& skin);

QImage DrawCtrlBack(const SkinDesign& skin);
QImage DrawStateSheet(const SkinDesign& skin, ButtonState state);
QImage DrawSubCtrlBack(const SkinDesign& skin);
// The meter carries its own surroundings, cut from the strip drawn by DrawCtrlBack.
QImage DrawWaitMeterPicture(const SkinDesign& skin, const QImage& ctrlBack);

// Writes skin.txt and the six pictures into programDir / skin.folder.
bool WriteSkinFolder(const SkinDesign& skin, const std::filesystem::path& programDir,
                     std::string& error);

}  // namespace tama05::art
