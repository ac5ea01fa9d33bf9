#include "command_test.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QtTest>
#include <thread>

#include "app/control_window.h"
#include "app/hand_cursors.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/skin_button_widget.h"
#include "app/slider_bar.h"
#include "app/window_drop_screen.h"
#include "game_fixture.h"
#include "skin/app_settings.h"

namespace tama05::test {

namespace {

void Send(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

const QString kSaveRefusal = QStringLiteral("保存すべきものが読み込まれていません。");

// A started game with a puzzle whose save state is "changed".
void StartChanged(GameRun& run) {
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    QCOMPARE(run.game->puzzle().state, PuzzleState::kReady);
    run.game->puzzle().saveState = SaveState::kChanged;
}

}  // namespace

void CommandTest::pressLeaveReleaseSendsNothing() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    SkinButtonWidget& save = *run.game->buttonWidget(ButtonId::kSave);
    QSignalSpy sent(&save, &SkinButtonWidget::commandTriggered);
    Send(save, QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton);
    QCOMPARE(save.look(), SkinButtonWidget::Look::kHover);
    Send(save, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(save.look(), SkinButtonWidget::Look::kPressed);
    Send(save, QEvent::MouseMove, {-20, 5}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(save.look(), SkinButtonWidget::Look::kNormal);
    Send(save, QEvent::MouseButtonRelease, {-20, 5}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(sent.count(), 0);
    QCOMPARE(save.button().state(), 0);
    QVERIFY(run.messages.empty());
}

void CommandTest::pressLeaveReturnReleaseSendsCommand() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    SkinButtonWidget& save = *run.game->buttonWidget(ButtonId::kSave);
    QSignalSpy sent(&save, &SkinButtonWidget::commandTriggered);
    Send(save, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    Send(save, QEvent::MouseMove, {5, 300}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(save.look(), SkinButtonWidget::Look::kNormal);
    Send(save, QEvent::MouseMove, {6, 6}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(save.look(), SkinButtonWidget::Look::kPressed);
    Send(save, QEvent::MouseButtonRelease, {6, 6}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).value<uint16_t>(), kCommandSave);
    QCOMPARE(save.look(), SkinButtonWidget::Look::kNormal);
    // The command reached the game: save without a puzzle is refused.
    QCOMPARE(run.messages.size(), size_t{1});
    QCOMPARE(run.messages[0].text, kSaveRefusal);
    QCOMPARE(run.messages[0].caption, QStringLiteral("保存できません。"));
}

void CommandTest::menuButtonOpensFileMenuWithCheckMark() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    SkinButtonWidget& menu = *run.game->buttonWidget(ButtonId::kMenu);
    QVERIFY(menu.isMenuButton());
    std::vector<bool> checks;
    std::vector<bool> pressedWhileOpen;
    menu.SetMenuRunner([&](const QPoint&, bool alwaysOnTop) -> uint16_t {
        checks.push_back(alwaysOnTop);
        pressedWhileOpen.push_back(menu.look() == SkinButtonWidget::Look::kPressed);
        return kCommandAlwaysOnTop;
    });
    Send(menu, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton, Qt::LeftButton);
    Send(menu, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(checks, (std::vector<bool>{false, true}));
    QCOMPARE(pressedWhileOpen, (std::vector<bool>{true, true}));
    QCOMPARE(menu.look(), SkinButtonWidget::Look::kNormal);
    QCOMPARE(run.game->settings().alwaysOnTop, uint8_t{0});

    QMenu fileMenu;
    BuildFileMenu(fileMenu, true);
    const QList<QAction*> actions = fileMenu.actions();
    QCOMPARE(actions.size(), 16);
    QCOMPARE(actions[0]->text(), QStringLiteral("パズルの新規作成"));
    QVERIFY(actions[4]->isSeparator());
    QCOMPARE(actions[11]->text(), QStringLiteral("常に手前に表示する"));
    QVERIFY(actions[11]->isChecked());
    QCOMPARE(actions[15]->text(), QStringLiteral("バージョン情報"));
}

void CommandTest::handCursorsAreDrawn() {
    for (bool bent : {false, true}) {
        const QImage picture = DrawHandPicture(bent).toImage();
        QCOMPARE(picture.size(), QSize(32, 32));
        // The finger tip sits at the hot spot.
        QVERIFY(qAlpha(picture.pixel(1, 1)) > 0 || qAlpha(picture.pixel(2, 2)) > 0);
    }
    QCOMPARE(HoverHandCursor().hotSpot(), QPoint(1, 1));
    QCOMPARE(PressedHandCursor().hotSpot(), QPoint(1, 1));
    QVERIFY(DrawHandPicture(false).toImage() != DrawHandPicture(true).toImage());
}

void CommandTest::saveWithoutPuzzleIsRefused() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    run.game->Command(kCommandSaveAs);
    QCOMPARE(run.messages.size(), size_t{1});
    QCOMPARE(run.messages[0].text, kSaveRefusal);
    QCOMPARE(run.dialogs->saveAsAsked, 0);
}

void CommandTest::exitAsksOnlyWhenChanged() {
    GameRun run(std::string("p.tgr"));
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    // A puzzle just opened has nothing to save.
    QVERIFY(run.game->Exit());
    QVERIFY(run.questions.empty());
    QVERIFY(run.game->exited());
    QVERIFY(!run.game->mainWindow()->isVisible());
}

void CommandTest::cancelKeepsGameRunning() {
    GameRun run(std::string("p.tgr"));
    StartChanged(run);
    run.answer = QMessageBox::Cancel;
    QVERIFY(!run.game->Exit());
    QCOMPARE(run.questions.size(), size_t{1});
    QCOMPARE(run.questions[0].text, QStringLiteral("データを保存しますか？"));
    QCOMPARE(run.questions[0].caption, QStringLiteral("保存する？"));
    QVERIFY(!run.game->exited());
    QVERIFY(run.game->controlWindow()->isVisible());
    // No: exit without saving.
    run.answer = QMessageBox::No;
    QVERIFY(run.game->Exit());
}

void CommandTest::yesOnNeverSavedPuzzleOpensSaveAs() {
    GameRun run(std::string("p.tgr"));
    StartChanged(run);
    run.game->puzzle().fileName.clear();
    run.answer = QMessageBox::Yes;
    // A cancelled save-as keeps the program running.
    QVERIFY(!run.game->Exit());
    QCOMPARE(run.dialogs->saveAsAsked, 1);
    // Saving the puzzle file lets the exit go on.
    const std::filesystem::path saved = run.folder.path() / "saved.tgr";
    run.dialogs->saveAsChoice = SaveRequest{saved, SaveKind::kPuzzleFile};
    QVERIFY(run.game->Exit());
    QVERIFY(std::filesystem::exists(saved));
    QCOMPARE(run.game->puzzle().saveState, SaveState::kSaved);
    QCOMPARE(run.game->puzzle().fileName, saved);
}

void CommandTest::exportOrFailedSaveKeepsPuzzleUnsaved() {
    GameRun run(std::string("p.tgr"));
    StartChanged(run);
    run.game->puzzle().fileName.clear();
    const std::filesystem::path jpeg = run.folder.path() / "picture.jpg";
    run.dialogs->saveAsChoice = SaveRequest{jpeg, SaveKind::kJpeg};
    run.game->Command(kCommandSaveAs);
    QVERIFY(std::filesystem::exists(jpeg));
    QCOMPARE(run.game->puzzle().saveState, SaveState::kChanged);
    run.answer = QMessageBox::Yes;
    QVERIFY(!run.game->Exit());

    // A puzzle file that cannot be written: the message, and still unsaved.
    const std::filesystem::path nowhere = run.folder.path() / "no such folder" / "p.tgr";
    run.dialogs->saveAsChoice = SaveRequest{nowhere, SaveKind::kPuzzleFile};
    run.game->Command(kCommandSaveAs);
    QVERIFY(!run.messages.empty());
    QCOMPARE(run.game->puzzle().saveState, SaveState::kChanged);
    QVERIFY(!run.game->Exit());
    QVERIFY(!run.game->exited());

    // The overwrite save to a good file marks it saved.
    run.game->puzzle().fileName = run.folder.path() / "again.tgr";
    run.game->Command(kCommandSave);
    QCOMPARE(run.game->puzzle().saveState, SaveState::kSaved);
}

void CommandTest::windowManagerCloseTakesTheSameRoad() {
    GameRun run(std::string("p.tgr"));
    StartChanged(run);
    run.answer = QMessageBox::Cancel;
    QCloseEvent close;
    QApplication::sendEvent(run.game->mainWindow(), &close);
    QVERIFY(!close.isAccepted());
    QCoreApplication::processEvents();
    QCOMPARE(run.questions.size(), size_t{1});
    QVERIFY(!run.game->exited());
    QVERIFY(run.game->mainWindow()->isVisible());
    run.answer = QMessageBox::No;
    QApplication::sendEvent(run.game->mainWindow(), &close);
    QCoreApplication::processEvents();
    QVERIFY(run.game->exited());
    QVERIFY(std::filesystem::exists(run.game->settingsFile()));
}

void CommandTest::exitWritesSettings() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    run.game->controlWindow()->move(30, 40);
    run.game->sliderBar()->move(50, 60);
    run.game->Command(kCommandClose);
    QVERIFY(run.game->exited());
    AppSettings read;
    LoadSettings(TAMA05_PROGRAM_DIR, run.game->settingsFile(), read);
    QCOMPARE(read.controlLeft, 30);
    QCOMPARE(read.controlTop, 40);
    QCOMPARE(read.sliderBarLeft, 50);
    QCOMPARE(read.sliderBarTop, 60);
}

void CommandTest::alwaysOnTopToggles() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    MainWindow& main = *run.game->mainWindow();
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    run.game->Command(kCommandAlwaysOnTop);
    QCOMPARE(run.game->settings().alwaysOnTop, uint8_t{1});
    QVERIFY(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main.isVisible());
    run.game->Command(kCommandAlwaysOnTop);
    QCOMPARE(run.game->settings().alwaysOnTop, uint8_t{0});
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main.isVisible());
    QVERIFY(run.game->controlWindow()->isVisible());
}

void CommandTest::skinChangeEndToEnd() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    const uint32_t textBackground = game.sliderBar()->textBackground();
    const QImage before = game.controlWindow()->background();
    // Cancelling the folder browser changes nothing.
    game.Command(kCommandChangeSkin);
    QCOMPARE(game.skinFolder(), std::filesystem::path(TAMA05_PROGRAM_DIR) / "skin");

    run.dialogs->skinChoice = std::filesystem::path(TAMA05_PROGRAM_DIR) / "skin_night";
    game.Command(kCommandChangeSkin);
    QCOMPARE(game.skinFolder(), *run.dialogs->skinChoice);
    QVERIFY(game.controlWindow()->background() != before);
    QCOMPARE(game.sliderBar()->textBackground(), textBackground);
    QVERIFY(game.panelWidget(PanelId::kWaitMeter)->isHidden());
    const std::string line = game.chrome().panel(PanelId::kMessage1).line1.value_or("");
    QVERIFY(line == "スキンが変更になりまちた。" || line == "スキン変更で～す。");
    QVERIFY(run.messages.empty());
}

void CommandTest::newPuzzleIsMadeShownAndCommented() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    const std::filesystem::path pieces = run.folder.path() / "pieces";
    std::filesystem::create_directory(pieces);
    WriteCellPicture(pieces, 0, "a.png");
    WriteCellPicture(pieces, 5, "b.png");
    run.dialogs->pieceFolder = pieces;
    game.Command(kCommandNew);
    QCOMPARE(game.puzzle().state, PuzzleState::kReady);
    QCOMPARE(game.puzzle().saveState, SaveState::kChanged);
    QVERIFY(game.puzzle().fileName.empty());
    // The mosaic is shown under the control window and the score is in its panel.
    QCOMPARE(game.mainWindow()->geometry(), QRect(0, 76, 503, 64));
    QCOMPARE(*game.chrome().panel(PanelId::kPointDisp).line1,
             FormatScore(game.puzzle().PuzzleScore));
    QVERIFY(*game.chrome().panel(PanelId::kMessage1).line1 != "どうも～。玉五郎で～す。");
    uint8_t b, g, r;
    CellColour(5, b, g, r);
    QCOMPARE(game.mainWindow()->view().Snapshot().pixel(5 * kCellSize + 1, 1), qRgb(r, g, b));
    // Exit now asks.
    run.answer = QMessageBox::Cancel;
    QVERIFY(!game.Exit());
    QCOMPARE(run.questions.size(), size_t{1});
}

void CommandTest::draggingMovesAllThreeWindows() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    const QPoint control = game.controlWindow()->pos();
    const QPoint main = game.mainWindow()->pos();
    const QPoint slider = game.sliderBar()->pos();
    // Grab the strip where no button lies (its bottom-right corner) and move by (25, 35).
    ControlWindow& strip = *game.controlWindow();
    const QPoint at(strip.width() - 3, strip.height() - 3);
    Send(strip, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Send(strip, QEvent::MouseMove, at + QPoint(25, 35), Qt::NoButton, Qt::LeftButton);
    Send(strip, QEvent::MouseButtonRelease, at + QPoint(25, 35), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(game.controlWindow()->pos(), control + QPoint(25, 35));
    QCOMPARE(game.mainWindow()->pos(), main + QPoint(25, 35));
    QCOMPARE(game.sliderBar()->pos(), slider + QPoint(25, 35));
    // The slider bar drags the three the same way.
    SliderBar& bar = *game.sliderBar();
    Send(bar, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    Send(bar, QEvent::MouseMove, {-8, 12}, Qt::NoButton, Qt::LeftButton);
    Send(bar, QEvent::MouseButtonRelease, {-8, 12}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(game.controlWindow()->pos(), control + QPoint(15, 45));
    QCOMPARE(game.mainWindow()->pos(), main + QPoint(15, 45));
}

void CommandTest::minimiseHidesTheOwnedWindows() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    game.Command(kCommandMinimize);
    QVERIFY(game.mainWindow()->isMinimized());
    QVERIFY(!game.controlWindow()->isVisible());
    QVERIFY(!game.sliderBar()->isVisible());
    game.mainWindow()->showNormal();
    QVERIFY(game.controlWindow()->isVisible());
    QVERIFY(game.sliderBar()->isVisible());
}

void CommandTest::waitMeterAndCommentsReachPanelsFromWorkerThread() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    WindowDropScreen screen(game);
    std::thread worker([&] {
        screen.ShowWaitMeter(true);
        screen.DrawWaitMeter(0, 4);
        game.commentScreen().SetPanelLines(CommentPanel::MESSAGE1, "line one", "line two");
        game.commentScreen().SetPanelLines(CommentPanel::MESSAGE2, "assistant", "ignored");
        screen.ShowScore(42);
    });
    worker.join();
    // Nothing has reached the widgets before the user-interface thread runs the queued calls.
    QVERIFY(game.panelWidget(PanelId::kWaitMeter)->isHidden());
    QCOMPARE(*game.chrome().panel(PanelId::kPointDisp).line1, std::string(" 0"));
    QCoreApplication::processEvents();
    QVERIFY(game.panelWidget(PanelId::kWaitMeter)->isVisible());
    // Four files: 5 segments before the first.
    QCOMPARE(game.panelWidget(PanelId::kWaitMeter)->meter().size(), size_t{5});
    QCOMPARE(*game.chrome().panel(PanelId::kMessage1).line2, std::string("line two"));
    QCOMPARE(*game.chrome().panel(PanelId::kMessage2).line1, std::string("assistant"));
    QVERIFY(!game.chrome().panel(PanelId::kMessage2).line2.has_value());
    QCOMPARE(*game.chrome().panel(PanelId::kPointDisp).line1, std::string("42"));
}

}  // namespace tama05::test
