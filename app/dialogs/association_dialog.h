#pragma once

#include <QDialog>

#include "app/dialogs/file_association.h"
#include "core/message_sink.h"

class QCheckBox;
class QPushButton;
class QShowEvent;

namespace tama05 {

// "関連付け": ticking ".tgr ファイル" and pressing "OK" registers puzzle files with the program,
// "OK" without the tick removes that registration; "ｷｬﾝｾﾙ" or Escape changes nothing. The box
// is clear whenever the dialog opens. Failures to register show their numbered message.
class AssociationDialog : public QDialog {
    Q_OBJECT
  public:
    AssociationDialog(QWidget* parent, AssociationPlaces places, MessageSink& messages,
                      ToolRunner runTool = RunTool);

    QCheckBox* TgrBox() const { return m_tgr; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    // The result of the registration or removal "OK" ran (1 when nothing was there to remove).
    int LastResult() const { return m_lastResult; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Confirm();

    AssociationPlaces m_places;
    MessageSink& m_messages;
    ToolRunner m_runTool;
    QCheckBox* m_tgr = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    int m_lastResult = 0;
};

}  // namespace tama05
