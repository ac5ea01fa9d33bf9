// Helper of the smoke test.
//   smoke_check make PUZZLE [ANSWER PIECE_FOLDER PIECE_SIZE [WIDTH]]
//       writes a puzzle file: the test puzzle, or one made from an answer picture (shrunk to
//       WIDTH) and the first ten pictures of a folder;
//   smoke_check settings FILE LEFT TOP
//       writes a settings file that places the control window at (LEFT, TOP);
//   smoke_check crop SCREENSHOT OUT WIDTH HEIGHT
//       keeps the top-left corner of a screenshot (the documentation picture);
//   smoke_check check SCREENSHOT PUZZLE PROGRAM_FOLDER
//       checks a screenshot of the game started with that puzzle at the default position: the
//       control window at the top, the main window with the puzzle under it, the slider bar
//       under that, each painted.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/bridge/qt_image.h"
#include "core/image_file.h"
#include "game_fixture.h"
#include "puzzle/puzzle_creation.h"

namespace {

using namespace tama05;

int Fail(const char* what) {
    std::fprintf(stderr, "smoke check: %s\n", what);
    return 1;
}

int Make(int argc, char* argv[]) {
    if (argc == 3) {
        return test::WriteTestPuzzle(argv[2]) ? 0 : Fail("cannot write the test puzzle");
    }
    if (argc != 6 && argc != 7) {
        return Fail("make PUZZLE [ANSWER PIECE_FOLDER PIECE_SIZE [WIDTH]]");
    }
    RecordingMessageSink messages;
    Puzzle puzzle;
    if (LoadImageFile(messages, argv[3], puzzle.AnswerImage) != 0) {
        return Fail("cannot read the answer picture");
    }
    if (argc == 7) {
        const int32_t width = std::atoi(argv[6]);
        const Image& full = puzzle.AnswerImage;
        const auto height = static_cast<int32_t>(int64_t{full.height()} * width / full.width());
        Image scaled;
        if (width <= 0 || ScaleImage(full, scaled, width, height) != 0) {
            return Fail("cannot shrink the answer picture");
        }
        puzzle.AnswerImage = std::move(scaled);
    }
    puzzle.AnswerImage.SetHeaders();
    puzzle.PieceFolder = argv[4];
    puzzle.pieceWidth = puzzle.pieceHeight = std::atoi(argv[5]);
    puzzle.state = PuzzleState::kBeingMade;
    RandomGenerator random(1);
    if (!FillFromFolder(puzzle, messages, true, kFillPieces, random)) {
        return Fail("cannot fill the puzzle");
    }
    return SavePuzzle(puzzle, argv[2], messages) == 0 ? 0 : Fail("cannot save the puzzle");
}

// The share of pixels of rect in shot that equal the picture's.
double Matching(const QImage& shot, const QImage& picture, const QRect& rect) {
    int equal = 0;
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x) {
            if (shot.pixel(rect.x() + x, rect.y() + y) == picture.pixel(x, y)) {
                ++equal;
            }
        }
    }
    return static_cast<double>(equal) / (rect.width() * rect.height());
}

int Check(int argc, char* argv[]) {
    if (argc != 5) {
        return Fail("check SCREENSHOT PUZZLE PROGRAM_FOLDER");
    }
    const QImage shot =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (shot.isNull()) {
        return Fail("no screenshot");
    }
    RecordingMessageSink messages;
    Puzzle puzzle;
    if (OpenPuzzleFile(puzzle, argv[3], messages) != 0) {
        return Fail("cannot read the puzzle");
    }
    const std::filesystem::path skin = std::filesystem::path(argv[4]) / "skin";
    Image back;
    Image sliderBack;
    if (LoadImageFile(messages, skin / "ctrl_back.png", back) != 0 ||
        LoadImageFile(messages, skin / "sub_ctrl_back.png", sliderBack) != 0) {
        return Fail("cannot read the skin");
    }
    const QImage control = ToScreenImage(back);
    const QImage slider = ToScreenImage(sliderBack);
    const QImage mosaic = ToScreenImage(puzzle.MosaicCanvas);
    const int controlHeight = control.height();
    const int viewHeight = mosaic.height();
    // The control window: its background, except where buttons and panels lie over it.
    const double controlShare = Matching(shot, control, QRect(QPoint(0, 0), control.size()));
    std::printf("control window matches its background at %.0f%%\n", controlShare * 100);
    if (controlShare < 0.3) {
        return Fail("the control window is not at the top");
    }
    // The main window right under it: the mosaic exactly, at the blend of the file.
    const double viewShare = Matching(shot, mosaic, QRect(QPoint(0, controlHeight), mosaic.size()));
    std::printf("main window shows the mosaic at %.0f%%\n", viewShare * 100);
    if (puzzle.BlendValue == 255 && viewShare < 0.99) {
        return Fail("the main window does not show the puzzle under the control window");
    }
    // The slider bar under the main window.
    const double sliderShare =
        Matching(shot, slider, QRect(QPoint(0, controlHeight + viewHeight), slider.size()));
    std::printf("slider bar matches its background at %.0f%%\n", sliderShare * 100);
    if (sliderShare < 0.3) {
        return Fail("the slider bar is not under the main window");
    }
    return 0;
}

int Settings(int argc, char* argv[]) {
    if (argc != 5) {
        return Fail("settings FILE LEFT TOP");
    }
    AppSettings settings = DefaultSettings(TAMA05_PROGRAM_DIR);
    settings.controlLeft = std::atoi(argv[3]);
    settings.controlTop = std::atoi(argv[4]);
    return SaveSettings(argv[2], settings) == 0 ? 0 : Fail("cannot write the settings");
}

int Crop(int argc, char* argv[]) {
    if (argc != 6) {
        return Fail("crop SCREENSHOT OUT WIDTH HEIGHT");
    }
    const QImage shot(QString::fromLocal8Bit(argv[2]));
    const QImage part = shot.copy(0, 0, std::atoi(argv[4]), std::atoi(argv[5]));
    return !shot.isNull() && part.save(QString::fromLocal8Bit(argv[3])) ? 0 : Fail("cannot crop");
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "make") == 0) {
        return Make(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "check") == 0) {
        return Check(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "settings") == 0) {
        return Settings(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "crop") == 0) {
        return Crop(argc, argv);
    }
    return Fail("make, check or crop");
}
