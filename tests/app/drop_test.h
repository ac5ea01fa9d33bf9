#pragma once

#include <QObject>

namespace tama05::test {

class DropTest : public QObject {
    Q_OBJECT
  private slots:
    void droppedFilesChangeCellsScoreAndComment();
    void dropWithoutPuzzleIsRefused();
    void secondDropWhileBusyIsIgnored();
    void unusedFilesAreListedInOneBoxInDropOrder();
    void dropOfMoreThan256FilesUpdatesTheScore();
    void hoverMarksCellAndShowsScore();
    void sliderBlendsAnswerIn();
    void flashedCellRunsThroughItsFramesAndSettles();
    void hoveredCellOfReplacedPuzzleIsNotAddressed();
    void screenPixelsKeepEveryByte();
};

}  // namespace tama05::test
