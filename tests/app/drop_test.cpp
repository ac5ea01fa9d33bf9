#include "drop_test.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QSlider>
#include <QUrl>
#include <QtTest>
#include <fstream>
#include <string>

#include "app/bridge/qt_image.h"
#include "app/bridge/qt_path.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/slider_bar.h"
#include "core/blend.h"
#include "game_fixture.h"
#include "puzzle/puzzle_io.h"
#include "skin/skin_panel.h"

namespace tama05::test {

namespace {

// Drops files on the main window the way a file manager does: a text/uri-list of local files.
void SynthesizeDrop(MainWindow& window, const std::vector<std::filesystem::path>& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::filesystem::path& file : files) {
        urls.push_back(QUrl::fromLocalFile(ToQString(file)));
    }
    data.setUrls(urls);
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

void WaitForDrop(Game& game) {
    // A generous deadline: a drop takes well under a second, but sanitizers and a loaded
    // machine may slow it down many times.
    QTRY_VERIFY_WITH_TIMEOUT(!game.dropBusy(), 120 * 1000);
    game.WaitForDrop();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

int CellScore(Game& game, int cell) {
    return game.puzzle().PieceScores[static_cast<size_t>(cell)];
}

}  // namespace

void DropTest::droppedFilesChangeCellsScoreAndComment() {
    GameRun run(std::string("p.tgr"));
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    const int oldScore = game.puzzle().PuzzleScore;
    const std::string greeting = *game.chrome().panel(PanelId::kMessage1).line1;
    QVERIFY(CellScore(game, 0) < 100);
    QVERIFY(CellScore(game, 7) < 100);

    const std::vector<std::filesystem::path> files = {
        WriteCellPicture(run.folder.path(), 0, "a.png"),
        WriteCellPicture(run.folder.path(), 7, "b.png")};
    SynthesizeDrop(*game.mainWindow(), files);
    QCOMPARE(game.puzzle().saveState, SaveState::kChanged);
    WaitForDrop(game);

    QVERIFY(run.messages.empty());
    QCOMPARE(CellScore(game, 0), 100);
    QCOMPARE(CellScore(game, 7), 100);
    QVERIFY(game.puzzle().PuzzleScore > oldScore);
    QCOMPARE(*game.chrome().panel(PanelId::kPointDisp).line1,
             FormatScore(game.puzzle().PuzzleScore));
    QVERIFY(*game.chrome().panel(PanelId::kMessage1).line1 != greeting);
    QVERIFY(game.panelWidget(PanelId::kWaitMeter)->isHidden());
    // The cells settled in the view with the dropped colour (blend 255 shows the mosaic).
    uint8_t b, g, r;
    CellColour(7, b, g, r);
    const QImage view = game.mainWindow()->view().Snapshot();
    QCOMPARE(view.pixel(1 * kCellSize + 3, 1 * kCellSize + 3), qRgb(r, g, b));
}

void DropTest::dropWithoutPuzzleIsRefused() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    SynthesizeDrop(*run.game->mainWindow(), {WriteCellPicture(run.folder.path(), 0, "a.png")});
    QVERIFY(!run.game->dropBusy());
    QCOMPARE(run.messages.size(), size_t{1});
    QCOMPARE(run.messages[0].text, QStringLiteral("まだパズルファイルが読み込まれていません。"));
    QCOMPARE(run.messages[0].caption, QStringLiteral("ファイルを読み込んでください。"));
    QCOMPARE(run.game->puzzle().saveState, SaveState::kNothingToSave);
}

void DropTest::unusedFilesAreListedInOneBoxInDropOrder() {
    GameRun run(std::string("p.tgr"));
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    const std::filesystem::path folder = run.folder.path();
    std::filesystem::create_directory(folder / "dir");
    std::ofstream(folder / "notes.txt") << "not a picture\n";
    std::ofstream(folder / "empty.png").flush();
    const std::filesystem::path good = WriteCellPicture(folder, 0, "a.png");
    std::filesystem::resize_file(WriteCellPicture(folder, 3, "cut.png"), 40);
    SynthesizeDrop(*run.game->mainWindow(),
                   {folder / "notes.txt", good, folder / "dir", folder / "empty.png",
                    folder / "cut.png", WriteCellPicture(folder, 7, "b.png")});
    WaitForDrop(*run.game);

    QCOMPARE(run.game->puzzle().PieceScores[0], 100);
    QCOMPARE(run.game->puzzle().PieceScores[7], 100);
    QCOMPARE(run.messages.size(), size_t{1});
    QCOMPARE(run.messages[0].caption, QStringLiteral("失敗"));
    QCOMPARE(run.messages[0].text, QStringLiteral("notes.txt: 画像として読み込めませんでした。\n"
                                                  "dir: ファイルを開けませんでした。\n"
                                                  "empty.png: 画像として読み込めませんでした。\n"
                                                  "cut.png: 画像として読み込めませんでした。"));
}

void DropTest::dropOfMoreThan256FilesUpdatesTheScore() {
    GameRun run(std::string("p.tgr"));
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    const int oldScore = game.puzzle().PuzzleScore;
    const size_t cells = game.puzzle().PieceScores.count();
    QVERIFY(oldScore < 100);
    std::vector<std::filesystem::path> files;
    for (size_t i = 0; i < 257; ++i) {
        files.push_back(WriteCellPicture(run.folder.path(), static_cast<int>(i % cells),
                                         "f" + std::to_string(i) + ".png"));
    }
    SynthesizeDrop(*game.mainWindow(), files);
    WaitForDrop(game);

    // Every cell took its exact colour among the first 256 files: the stored and shown score is
    // the new mean, not the score from before the drop.
    for (size_t cell = 0; cell < cells; ++cell) {
        QCOMPARE(CellScore(game, static_cast<int>(cell)), 100);
    }
    QCOMPARE(game.puzzle().PuzzleScore, 100);
    QCOMPARE(*game.chrome().panel(PanelId::kPointDisp).line1, FormatScore(100));
    const std::filesystem::path saved = run.folder.path() / "saved.tgr";
    QCOMPARE(SavePuzzle(game.puzzle(), saved, game.messages()), 0);
    Puzzle reread;
    QCOMPARE(OpenPuzzleFile(reread, saved, game.messages()), 0);
    QCOMPARE(reread.PuzzleScore, 100);
    QVERIFY(run.messages.empty());
}

void DropTest::secondDropWhileBusyIsIgnored() {
    GameRun run(std::string("p.tgr"));
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    std::vector<std::filesystem::path> many;
    // Large pictures keep the worker busy long enough for the second drop to meet it.
    const std::filesystem::path first = WriteCellPicture(run.folder.path(), 0, "first.png", 1200);
    for (int i = 0; i < 100; ++i) {
        many.push_back(first);
    }
    QVERIFY(CellScore(game, 9) < 100);
    game.DropFiles(many);
    QVERIFY(game.dropBusy());
    game.DropFiles({WriteCellPicture(run.folder.path(), 9, "second.png")});
    // Commands that would save or replace the puzzle are refused meanwhile.
    game.Command(kCommandSave);
    QVERIFY(run.HasMessage(
        QString::fromUtf8(kBusyMessage.data(), static_cast<qsizetype>(kBusyMessage.size()))));
    QVERIFY(!game.Exit());
    WaitForDrop(game);
    QCOMPARE(CellScore(game, 0), 100);
    // Cell 9 never received the picture of its own colour.
    uint8_t b, g, r;
    CellColour(9, b, g, r);
    const uint8_t* p =
        game.puzzle().MosaicCanvas.rowFromTop(kCellSize + 2) + 3 * (3 * kCellSize + 2);
    QVERIFY(p[0] != b || p[1] != g || p[2] != r);
}

void DropTest::hoverMarksCellAndShowsScore() {
    GameRun run(std::string("p.tgr"));
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    game.HoverAt(2 * kCellSize + 5, kCellSize + 5);
    ViewSurface& view = game.mainWindow()->view();
    QCOMPARE(view.hoveredCell(), QPoint(2, 1));
    QCOMPARE(view.hoverText(), QString::number(CellScore(game, kColumns + 2)));
    QImage shot = view.Snapshot();
    QCOMPARE(qRed(shot.pixel(2 * kCellSize + 1, kCellSize + 1)), 255);
    // Moving on puts the old cell back in its blended look.
    game.HoverAt(5, 5);
    shot = view.Snapshot();
    const uint8_t* p =
        game.puzzle().MosaicCanvas.rowFromTop(kCellSize + 1) + 3 * (2 * kCellSize + 1);
    QCOMPARE(shot.pixel(2 * kCellSize + 1, kCellSize + 1), qRgb(p[2], p[1], p[0]));
    // Outside the picture nothing is marked.
    QCOMPARE(view.HoverCell(game.puzzle(), 400, 5), -2);
}

void DropTest::sliderBlendsAnswerIn() {
    GameRun run(std::string("p.tgr"));
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    SliderBar& bar = *game.sliderBar();
    bar.ShowSlider(true);
    // Opening a puzzle sets the slider to the file's blend value.
    QCOMPARE(bar.slider()->value(), 255);
    QCOMPARE(bar.valueBox()->text(), QStringLiteral("255"));
    QCOMPARE(game.puzzle().BlendValue, 255);

    // Moves are coalesced: the blend is drawn once the waiting events are handled.
    bar.slider()->setValue(50);
    bar.slider()->setValue(0);
    QCOMPARE(bar.valueBox()->text(), QStringLiteral("0"));
    QCOMPARE(game.puzzle().BlendValue, 0);
    QCoreApplication::processEvents();
    QImage shot = game.mainWindow()->view().Snapshot();
    uint8_t b, g, r;
    CellColour(3, b, g, r);
    QCOMPARE(shot.pixel(3 * kCellSize + 2, 2), qRgb(r, g, b));

    bar.slider()->setValue(128);
    QCOMPARE(bar.valueBox()->text(), QStringLiteral("128"));
    QCoreApplication::processEvents();
    shot = game.mainWindow()->view().Snapshot();
    const uint8_t* canvas = game.puzzle().MosaicCanvas.rowFromTop(2) + 3 * (3 * kCellSize + 2);
    const auto t = BlendWeight(128);
    QCOMPARE(
        shot.pixel(3 * kCellSize + 2, 2),
        qRgb(BlendByte(canvas[2], r, t), BlendByte(canvas[1], g, t), BlendByte(canvas[0], b, t)));
}

void DropTest::flashedCellRunsThroughItsFramesAndSettles() {
    // A 100-pixel-wide picture with 33-pixel cells: the last column's cell is one pixel wide.
    Puzzle puzzle;
    puzzle.AnswerImage = SolidImage(100, 40, 10, 20, 30);
    puzzle.MosaicCanvas = SolidImage(100, 40, 0, 0, 0);
    puzzle.pieceWidth = 33;
    puzzle.pieceHeight = 20;
    puzzle.BlendValue = 200;
    ViewSurface view;
    view.Attach(QSize(160, 60), 0xFF000000);
    const Image piece = SolidImage(33, 20, 100, 150, 250);
    view.FlashCell(puzzle, piece, 99, 20, 100, 40);
    const QImage settled = view.Snapshot();
    const auto t = BlendWeight(200);
    const QRgb expected = qRgb(BlendByte(250, 30, t), BlendByte(150, 20, t), BlendByte(100, 10, t));
    QCOMPARE(settled.pixel(99, 20), expected);
    QCOMPARE(settled.pixel(99, 39), expected);
    QCOMPARE(settled.pixel(100, 20), qRgb(0, 0, 0));
    QCOMPARE(settled.pixel(98, 20), qRgb(0, 0, 0));

    // Painted at once, the cell shows one of its frames (the first, unless the machine is slow):
    // its own green and blue with the red byte at 25 × frame.
    QImage window(160, 60, QImage::Format_RGB32);
    {
        QPainter painter(&window);
        view.Paint(painter, window.rect());
    }
    const QRgb shown = window.pixel(99, 25);
    QCOMPARE(qGreen(shown), qGreen(expected));
    QCOMPARE(qBlue(shown), qBlue(expected));
    QVERIFY(qRed(shown) % ViewSurface::kFlashStep == 0 || shown == expected);
    QVERIFY(qRed(shown) < 250);
    // Until its frames are over the cell is repainted; then it settles, is repainted once
    // more, and nothing flashes (waited for with a generous deadline, however slow the machine).
    QRect repainted = view.AdvanceFlashes();
    QVERIFY(repainted.contains(99, 25));
    QVERIFY(QTest::qWaitFor(
        [&] {
            const QRect next = view.AdvanceFlashes();
            repainted = next.isEmpty() ? repainted : next;
            return next.isEmpty();
        },
        120 * 1000));
    QVERIFY(repainted.contains(99, 25));
    {
        QPainter painter(&window);
        view.Paint(painter, window.rect());
    }
    QCOMPARE(window.pixel(99, 25), expected);
}

void DropTest::hoveredCellOfReplacedPuzzleIsNotAddressed() {
    Puzzle large;
    large.AnswerImage = SolidImage(64, 64, 1, 2, 3);
    large.MosaicCanvas = SolidImage(64, 64, 4, 5, 6);
    large.pieceWidth = large.pieceHeight = 16;
    large.PieceScores.AllocateFilled(16, 50);
    large.state = PuzzleState::kReady;
    ViewSurface view;
    view.Attach(QSize(100, 100), 0xFF000000);
    QCOMPARE(view.HoverCell(large, 60, 60), 0);
    QCOMPARE(view.hoveredCell(), QPoint(3, 3));
    // A puzzle of one cell replaces it: the old cell (3, 3) is not drawn again.
    Puzzle small;
    small.AnswerImage = SolidImage(16, 16, 1, 2, 3);
    small.MosaicCanvas = SolidImage(16, 16, 4, 5, 6);
    small.pieceWidth = small.pieceHeight = 16;
    small.PieceScores.AllocateFilled(1, 50);
    small.state = PuzzleState::kReady;
    QCOMPARE(view.HoverCell(small, 5, 5), 0);
    QCOMPARE(view.hoveredCell(), QPoint(0, 0));
    QCOMPARE(view.HoverCell(small, 20, 5), -2);
    small.state = PuzzleState::kBeingMade;
    QCOMPARE(view.HoverCell(small, 5, 5), -1);
}

// Rows of every length and offset reach the screen image byte for byte, clipped at its edges.
void DropTest::screenPixelsKeepEveryByte() {
    std::vector<uint8_t> bgr(3 * 40 + 4);
    for (size_t i = 0; i < bgr.size(); ++i) {
        bgr[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    for (int count = 0; count <= 40; ++count) {
        for (int x : {-3, 0, 5, 30}) {
            QImage image(32, 2, QImage::Format_RGB32);
            image.fill(0xFF123456);
            PutPixels(image, x, 1, bgr.data(), count);
            for (int column = 0; column < 32; ++column) {
                const int i = column - x;
                const QRgb expected = i >= 0 && i < count
                                          ? qRgb(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i])
                                          : 0xFF123456;
                QCOMPARE(image.pixel(column, 1), expected);
                QCOMPARE(image.pixel(column, 0), QRgb(0xFF123456));
            }
        }
    }
}

}  // namespace tama05::test
