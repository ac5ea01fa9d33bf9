#include "app/dialogs/association_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tama05 {

AssociationDialog::AssociationDialog(QWidget* parent, AssociationPlaces places,
                                     MessageSink& messages, ToolRunner runTool)
    : QDialog(parent),
      m_places(std::move(places)),
      m_messages(messages),
      m_runTool(std::move(runTool)) {
    setObjectName(QStringLiteral("associationDialog"));
    setWindowTitle(QStringLiteral("関連付け"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("関連付けしたい拡張子にチェックしてください。")));
    m_tgr = new QCheckBox(QStringLiteral(".tgr ファイル"));
    m_tgr->setObjectName(QStringLiteral("tgr"));
    layout->addWidget(m_tgr);
    auto* removal = new QLabel(QStringLiteral(
        "関連付けを削除するには、チェックをはずした状態で、「ＯＫ」を押してください。"));
    removal->setWordWrap(true);
    layout->addWidget(removal);

    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
}

void AssociationDialog::showEvent(QShowEvent* event) {
    m_tgr->setChecked(false);
    QDialog::showEvent(event);
}

void AssociationDialog::Confirm() {
    m_lastResult = m_tgr->isChecked() ? RegisterAssociation(m_places, m_messages, m_runTool)
                                      : RemoveAssociation(m_places, m_runTool);
    accept();
}

}  // namespace tama05
