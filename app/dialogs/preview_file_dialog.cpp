#include "app/dialogs/preview_file_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QShowEvent>

#include "app/bridge/qt_image.h"
#include "app/bridge/qt_path.h"
#include "puzzlefile/puzzle_file.h"

namespace tama05 {

namespace {

QLineEdit* AddField(QFormLayout* form, const QString& label, const QString& name) {
    auto* field = new QLineEdit;
    field->setReadOnly(true);
    field->setObjectName(name);
    form->addRow(label, field);
    return field;
}

}  // namespace

PreviewFileDialog::PreviewFileDialog(QWidget* parent, const QString& title, PreviewLoader loader)
    : FilteredFileDialog(parent, title), m_loader(std::move(loader)) {
    auto* group = new QGroupBox(QStringLiteral("プレビュー"));
    group->setObjectName(QStringLiteral("previewGroup"));
    auto* row = new QHBoxLayout(group);
    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("previewPicture"));
    m_picture->setFixedSize(kThumbnailWidth, kThumbnailHeight);
    row->addWidget(m_picture);
    auto* form = new QFormLayout;
    m_name = AddField(form, QStringLiteral("ファイル名 :"), QStringLiteral("previewName"));
    m_width = AddField(form, QStringLiteral("幅 :"), QStringLiteral("previewWidth"));
    m_height = AddField(form, QStringLiteral("高さ :"), QStringLiteral("previewHeight"));
    row->addLayout(form, 1);

    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(group, grid->rowCount(), 0, 1, grid->columnCount());
    } else if (layout() != nullptr) {
        layout()->addWidget(group);
    }
    connect(this, &QFileDialog::currentChanged, this,
            [this](const QString& path) { ShowPreviewOf(path); });
    Show(EmptyPreview());
}

void PreviewFileDialog::ShowPreviewOf(const QString& path) {
    Show(path.isEmpty() || !m_loader ? EmptyPreview() : m_loader(ToPath(path)));
}

QString PreviewFileDialog::PreviewName() const {
    return m_name->text();
}
QString PreviewFileDialog::PreviewWidth() const {
    return m_width->text();
}
QString PreviewFileDialog::PreviewHeight() const {
    return m_height->text();
}

void PreviewFileDialog::showEvent(QShowEvent* event) {
    FilteredFileDialog::showEvent(event);
    if (!m_shifted) {
        m_shifted = true;
        move(x() - kLeftShift, y());
    }
}

void PreviewFileDialog::Show(const FilePreview& preview) {
    m_previewImage = ToScreenImage(preview.picture);
    m_picture->setPixmap(QPixmap::fromImage(m_previewImage));
    m_name->setText(ToQString(std::filesystem::path(preview.name)));
    m_width->setText(QString::number(preview.width));
    m_height->setText(QString::number(preview.height));
}

}  // namespace tama05
