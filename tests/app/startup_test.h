#pragma once

#include <QObject>

namespace tama05::test {

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void startsWithoutPuzzle();
    void opensPuzzleNamedOnCommandLine();
    void showsSliderForHighScorePuzzle();
    void usesTheWindowDialogs();
    void reportsPuzzleThatCannotBeOpened();
    void secondStartHandsItsPuzzleToTheRunningGame();
    void helpAndVersionNeedNoDisplay();
};

}  // namespace tama05::test
