#include "startup_test.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QtTest>
#include <fstream>
#include <iterator>
#include <string>

#include "app/control_window.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/single_instance.h"
#include "app/slider_bar.h"
#include "app/window_dialogs.h"
#include "game_fixture.h"
#include "skin/skin_panel.h"

// ThreadSanitizer's runtime (clang 14) stops on a fork from a process with running threads,
// which starting another program takes; the plain and address-checked builds run those tests.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define SKIP_CHILD_PROCESS_UNDER_TSAN() QSKIP("no child process under ThreadSanitizer")
#endif
#endif
#ifndef SKIP_CHILD_PROCESS_UNDER_TSAN
#define SKIP_CHILD_PROCESS_UNDER_TSAN()
#endif

namespace tama05::test {

namespace {

std::string Line1(Game& game, PanelId id) {
    return game.chrome().panel(id).line1.value_or("<none>");
}

}  // namespace

void StartupTest::startsWithoutPuzzle() {
    GameRun run;
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    QVERIFY(game.mainWindow()->isVisible());
    QVERIFY(game.controlWindow()->isVisible());
    QVERIFY(game.sliderBar()->isVisible());
    // The two owned windows belong to the main window (one program on the taskbar).
    QCOMPARE(game.controlWindow()->parentWidget(), game.mainWindow());
    QCOMPARE(game.sliderBar()->parentWidget(), game.mainWindow());
    QVERIFY(game.mainWindow()->windowFlags().testFlag(Qt::FramelessWindowHint));

    // The control window takes the size of the default skin's ctrl_back.png (503 × 76); the
    // main window lies 100 below the settings position, the slider bar under both.
    QCOMPARE(game.controlWindow()->geometry(), QRect(0, 0, 503, 76));
    QCOMPARE(game.mainWindow()->geometry(), QRect(0, 100, 503, 100));
    QCOMPARE(game.sliderBar()->geometry(), QRect(0, 176, 503, 32));

    // Both greetings, the score in its panel, the slider hidden at 128 and the blend at 255.
    QCOMPARE(Line1(game, PanelId::kMessage1), std::string("どうも～。玉五郎で～す。"));
    const std::string assistant = Line1(game, PanelId::kMessage2);
    QVERIFY(assistant == "アシスタントのこまおです。" ||
            assistant == "玉五郎様の召使のこまおです。");
    QCOMPARE(Line1(game, PanelId::kPointDisp), std::string(" 0"));
    QVERIFY(!game.sliderBar()->sliderShown());
    QCOMPARE(game.sliderBar()->slider()->value(), 128);
    QCOMPARE(game.sliderBar()->valueBox()->text(), QStringLiteral("128"));
    QCOMPARE(game.puzzle().BlendValue, 255);
    QVERIFY(game.panelWidget(PanelId::kWaitMeter)->isHidden());
    QVERIFY(game.panelWidget(PanelId::kPointDisp)->isVisible());
    QVERIFY(run.messages.empty());
    // The character pictures were drawn into the panels.
    const Image& base = game.chrome().scorePictureBase;
    const Image& shown = game.chrome().panel(PanelId::kPointDisp).surface();
    QVERIFY(!base.empty());
    QVERIFY(std::memcmp(base.data(), shown.data(), base.byteCount()) != 0);

    QCOMPARE(game.mainWindow()->windowTitle(), QStringLiteral("tama05"));
    game.SetViewTitle("/pictures/answer.png", "－－");
    QCOMPARE(game.mainWindow()->windowTitle(),
             QStringLiteral("/pictures/answer.png（絵師：－－） - nubes view"));
}

void StartupTest::opensPuzzleNamedOnCommandLine() {
    TempFolder start;
    QVERIFY(WriteTestPuzzle(start.path() / "my puzzle.tgr"));
    // Quotes are dropped wherever they stand; a relative path is taken from the start folder.
    GameRun run(std::string("\"my \"puzzle.tgr\""), start.path());
    QCOMPARE(run.game->Start(), 0);
    Game& game = *run.game;
    QVERIFY(run.messages.empty());
    QCOMPARE(game.puzzle().state, PuzzleState::kReady);
    QCOMPARE(game.puzzle().fileName, start.path() / "my puzzle.tgr");
    QCOMPARE(game.puzzle().saveState, SaveState::kNothingToSave);
    // The picture (96 × 64) is narrower than the control window: the main window takes the
    // control window's width, right under it, with the picture at its left edge.
    QCOMPARE(game.mainWindow()->geometry(), QRect(0, 76, 503, 64));
    QCOMPARE(game.sliderBar()->pos(), QPoint(0, 140));
    const QImage view = game.mainWindow()->view().Snapshot();
    const Image& canvas = game.puzzle().MosaicCanvas;
    for (int y : {0, 20, 63}) {
        for (int x : {0, 40, 95}) {
            const uint8_t* p = canvas.rowFromTop(y) + 3 * x;
            QCOMPARE(view.pixel(x, y), qRgb(p[2], p[1], p[0]));
        }
    }
    QCOMPARE(view.pixel(200, 10), ViewSurface::kGrey);
    QCOMPARE(Line1(game, PanelId::kPointDisp), FormatScore(game.puzzle().PuzzleScore));
    QVERIFY(!game.sliderBar()->sliderShown());
}

void StartupTest::showsSliderForHighScorePuzzle() {
    TempFolder start;
    QVERIFY(WriteTestPuzzle(start.path() / "high.tgr", 90));
    GameRun run(std::string("high.tgr"), start.path());
    QCOMPARE(run.game->Start(), 0);
    QVERIFY(run.game->sliderBar()->sliderShown());
    QCOMPARE(Line1(*run.game, PanelId::kPointDisp), std::string("90"));
}

void StartupTest::usesTheWindowDialogs() {
    GameOptions options;
    options.programFolder = TAMA05_PROGRAM_DIR;
    TempFolder folder;
    options.settingsFile = folder.path() / "tama05.ini";
    Game game(options);
    game.SetMessagePresenter([](QWidget*, const QString&, const QString&) {});
    QCOMPARE(game.Start(), 0);
    QVERIFY(dynamic_cast<WindowDialogs*>(&game.dialogs()) != nullptr);
}

void StartupTest::reportsPuzzleThatCannotBeOpened() {
    GameRun run(std::string("missing.tgr"));
    QCOMPARE(run.game->Start(), 0);
    QVERIFY(run.HasMessage(QStringLiteral("TGRファイルオープンに失敗しました。")));
    QCOMPARE(run.messages.back().caption, QStringLiteral("失敗"));
    QCOMPARE(run.game->puzzle().state, PuzzleState::kNone);
    QCOMPARE(Line1(*run.game, PanelId::kMessage1), std::string("どうも～。玉五郎で～す。"));
}

void StartupTest::secondStartHandsItsPuzzleToTheRunningGame() {
    SKIP_CHILD_PROCESS_UNDER_TSAN();
    GameRun run;
    QVERIFY(WriteTestPuzzle(run.folder.path() / "p.tgr"));
    QCOMPARE(run.game->Start(), 0);
    run.game->puzzle().MarkChanged();
    run.answer = QMessageBox::No;
    const QString settings = QString::fromStdString(run.game->settingsFile().string());
    SingleInstance instance(SingleInstance::NameFor(settings));
    QVERIFY(instance.Listen());
    connect(&instance, &SingleInstance::puzzleHandedOver, run.game.get(),
            [&run](const QString& path) { run.game->OpenHandedPuzzle(path.toStdString()); });

    const auto settingsBytes = [&run] {
        std::ifstream in(run.game->settingsFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string settingsBefore = settingsBytes();
    // The second start names the puzzle relative to its own folder and ends at once.
    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(run.folder.path().string()));
    second.start(QStringLiteral(TAMA05_PROGRAM_DIR "/tama05"),
                 {QStringLiteral("--settings"), settings, QStringLiteral("p.tgr")});
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(run.game->puzzle().fileName, run.folder.path() / "p.tgr", 10000);
    QCOMPARE(run.questions.size(), size_t{1});
    QCOMPARE(run.questions[0].text, QStringLiteral("データを保存しますか？"));
    QCOMPARE(run.game->puzzle().saveState, SaveState::kSaved);
    QCOMPARE(settingsBytes(), settingsBefore);
}

void StartupTest::helpAndVersionNeedNoDisplay() {
    SKIP_CHILD_PROCESS_UNDER_TSAN();
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TAMA05_PROGRAM_DIR "/tama05"), {option});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(out.contains(option == QStringLiteral("--help") ? QStringLiteral("--version")
                                                                 : QStringLiteral("tama05 ")),
                 qPrintable(out));
    }
}

}  // namespace tama05::test
