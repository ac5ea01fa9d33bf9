// tama05: the photo-mosaic puzzle game.
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <cstdlib>

#include "app/game.h"

int main(int argc, char* argv[]) {
    // The three windows place themselves; a Wayland session lets them do that through XWayland.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tama05"));
    QApplication::setQuitOnLastWindowClosed(false);

    // Qt has removed its own options by now: the first remaining argument names a puzzle.
    // For the smoke test: "--screenshot FILE" saves the screen once the windows are up and ends
    // the program; "--settings FILE" reads and writes another settings file.
    tama05::GameOptions options;
    options.startFolder = QDir::currentPath().toStdString();
    QString screenshot;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--screenshot") && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
        } else if (arguments[i] == QStringLiteral("--settings") && i + 1 < arguments.size()) {
            options.settingsFile = arguments[++i].toStdString();
        } else if (!options.puzzleArgument) {
            options.puzzleArgument = arguments[i].toStdString();
        }
    }

    tama05::Game game(options);
    QObject::connect(&game, &tama05::Game::exitRequested, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    if (game.Start() != 0) {
        return 0;
    }
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(2000, &application, [&application, screenshot] {
            QScreen* screen = QGuiApplication::primaryScreen();
            const bool saved = screen != nullptr && screen->grabWindow(0).save(screenshot);
            application.exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
