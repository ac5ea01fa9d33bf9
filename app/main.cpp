// tama05: the photo-mosaic puzzle game.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/bridge/qt_path.h"
#include "app/game.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/slider_bar.h"

namespace {

// For the performance table: the time from start to the first painted window, and from a
// slider move to the painted blend (median and worst of 64 moves), printed on stdout.
void Measure(tama05::Game& game, const QElapsedTimer& sinceStart) {
    tama05::MainWindow* main = game.mainWindow();
    main->repaint();
    std::printf("startup_ms %.1f\n", static_cast<double>(sinceStart.nsecsElapsed()) / 1e6);
    tama05::SliderBar& bar = *game.sliderBar();
    bar.ShowSlider(true);
    std::vector<double> times;
    for (int i = 0; i < 64; ++i) {
        QElapsedTimer move;
        move.start();
        bar.slider()->setValue((i * 37 + 11) % 256);
        QCoreApplication::processEvents();
        main->repaint();
        times.push_back(static_cast<double>(move.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("slider_ms %.1f %.1f\n", times[times.size() / 2], times.back());
}

constexpr char kHelp[] =
    "使い方: tama05 [オプション] [パズルファイル.tgr]\n"
    "写真を落としてモザイクを育てるパズルゲーム。ゲームが動いていれば、\n"
    "パズルファイルはそのゲームで開きます。\n"
    "\n"
    "  --help             この説明を表示して終了する\n"
    "  --version          版を表示して終了する\n"
    "  --settings FILE    別の設定ファイルを使う\n";

// Qt's own texts (file dialogs, standard buttons) in Japanese, like the game's own.
void LoadQtTranslations(QApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    // "--version" and "--help" answer without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") {
            std::printf("tama05 %s\n", TAMA05_VERSION);
            return 0;
        }
        if (std::string_view(argv[i]) == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    // The three windows place themselves; a Wayland session lets them do that through XWayland.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tama05"));
    QApplication::setQuitOnLastWindowClosed(false);
    LoadQtTranslations(application);

    // Qt has removed its own options by now: the first remaining argument names a puzzle.
    // For the smoke test: "--screenshot FILE" saves the screen once the windows are up and ends
    // the program; "--settings FILE" reads and writes another settings file. For the performance
    // table: "--measure" prints start-up and slider times and ends the program.
    tama05::GameOptions options;
    options.startFolder = tama05::ToPath(QDir::currentPath());
    QString screenshot;
    bool measure = false;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--screenshot") && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
        } else if (arguments[i] == QStringLiteral("--measure")) {
            measure = true;
        } else if (arguments[i] == QStringLiteral("--settings") && i + 1 < arguments.size()) {
            options.settingsFile = tama05::ToPath(arguments[++i]);
        } else if (!options.puzzleArgument) {
            options.puzzleArgument = tama05::ToPath(arguments[i]).string();
        }
    }

    // A game already running for this user takes the puzzle over; this start then ends without
    // touching the settings.
    tama05::SingleInstance instance(tama05::SingleInstance::NameFor(
        options.settingsFile.empty()
            ? QString()
            : QDir(QDir::currentPath())
                  .absoluteFilePath(QString::fromStdString(options.settingsFile.string()))));
    const QString handedPuzzle =
        options.puzzleArgument
            ? QDir(QDir::currentPath())
                  .absoluteFilePath(
                      QString::fromStdString(*options.puzzleArgument).remove(QLatin1Char('"')))
            : QString();
    if (screenshot.isEmpty() && !measure && instance.HandOver(handedPuzzle)) {
        return 0;
    }
    instance.Listen();

    tama05::Game game(options);
    QObject::connect(&instance, &tama05::SingleInstance::puzzleHandedOver, &game,
                     [&game](const QString& path) { game.OpenHandedPuzzle(path.toStdString()); });
    QObject::connect(&game, &tama05::Game::exitRequested, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    if (game.Start() != 0) {
        return 0;
    }
    if (measure) {
        Measure(game, sinceStart);
        return 0;
    }
    if (!screenshot.isEmpty()) {
        // Waits until every shown window is on the screen, however slow the machine (with a
        // generous deadline), then paints them at once and grabs the screen.
        auto* poll = new QTimer(&application);
        QElapsedTimer waiting;
        waiting.start();
        QObject::connect(
            poll, &QTimer::timeout, &application, [&application, screenshot, poll, waiting] {
                const QWindowList windows = QGuiApplication::topLevelWindows();
                const bool shown = std::all_of(windows.begin(), windows.end(), [](QWindow* w) {
                    return !w->isVisible() || w->isExposed();
                });
                if (!shown && waiting.elapsed() < 90 * 1000) {
                    return;
                }
                poll->stop();
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    if (widget->isVisible()) {
                        widget->repaint();
                    }
                }
                QScreen* screen = QGuiApplication::primaryScreen();
                const bool saved = screen != nullptr && screen->grabWindow(0).save(screenshot);
                application.exit(saved ? 0 : 1);
            });
        poll->start(100);
    }
    return application.exec();
}
