#include "app/dialogs/version_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/bridge/qt_path.h"

namespace tama05 {

namespace {

constexpr int kIconSize = 48;

QLabel* TextLine(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

}  // namespace

VersionDialog::VersionDialog(QWidget* parent, const std::filesystem::path& programFolder)
    : QDialog(parent) {
    setObjectName(QStringLiteral("versionDialog"));
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("icon"));
    icon->setFixedSize(kIconSize, kIconSize);
    const QPixmap picture(
        ToQString(programFolder / "icons" / ("tama05-" + std::to_string(kIconSize) + ".png")));
    if (!picture.isNull()) {
        icon->setPixmap(picture);
    }

    auto* lines = new QVBoxLayout;
    lines->addWidget(TextLine(QStringLiteral("tama05 ver 1.00"), QStringLiteral("name")));
    lines->addWidget(TextLine(QStringLiteral("バージョン　：　1.00"), QStringLiteral("version")));
    lines->addWidget(TextLine(QStringLiteral("完成日：平成19年2月5日"), QStringLiteral("date")));
    lines->addWidget(TextLine(QStringLiteral("制作：tama05 開発チーム"), QStringLiteral("maker")));

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(lines, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace tama05
