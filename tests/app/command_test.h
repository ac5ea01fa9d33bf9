#pragma once

#include <QObject>

namespace tama05::test {

class CommandTest : public QObject {
    Q_OBJECT
  private slots:
    void pressLeaveReleaseSendsNothing();
    void pressLeaveReturnReleaseSendsCommand();
    void menuButtonOpensFileMenuWithCheckMark();
    void handCursorsAreDrawn();
    void saveWithoutPuzzleIsRefused();
    void exitAsksOnlyWhenChanged();
    void cancelKeepsGameRunning();
    void yesOnNeverSavedPuzzleOpensSaveAs();
    void exportOrFailedSaveKeepsPuzzleUnsaved();
    void windowManagerCloseTakesTheSameRoad();
    void exitWritesSettings();
    void alwaysOnTopToggles();
    void skinChangeEndToEnd();
    void newPuzzleIsMadeShownAndCommented();
    void draggingMovesAllThreeWindows();
    void minimiseHidesTheOwnedWindows();
    void waitMeterAndCommentsReachPanelsFromWorkerThread();
};

}  // namespace tama05::test
