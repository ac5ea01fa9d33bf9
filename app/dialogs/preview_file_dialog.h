#pragma once

#include <QImage>
#include <filesystem>
#include <functional>

#include "app/dialogs/file_preview.h"
#include "app/dialogs/filtered_file_dialog.h"

class QLabel;
class QLineEdit;
class QShowEvent;

namespace tama05 {

// An open dialog with a preview panel below the standard controls: the group "プレビュー"
// with a 120 × 110 picture and the file's name, width and height. The preview follows the
// file under the cursor in the list. The dialog opens 120 pixels to the left of where Qt
// would place it, leaving room for the wider panel.
class PreviewFileDialog : public FilteredFileDialog {
    Q_OBJECT
  public:
    using PreviewLoader = std::function<FilePreview(const std::filesystem::path&)>;

    PreviewFileDialog(QWidget* parent, const QString& title, PreviewLoader loader);

    // Shows the preview of path (as when it becomes the current file of the list).
    void ShowPreviewOf(const QString& path);

    // What the panel shows.
    QImage PreviewImage() const { return m_previewImage; }
    QString PreviewName() const;
    QString PreviewWidth() const;
    QString PreviewHeight() const;
    QLabel* PictureBox() const { return m_picture; }

    static constexpr int kLeftShift = 120;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Show(const FilePreview& preview);

    PreviewLoader m_loader;
    QLabel* m_picture = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QImage m_previewImage;
    bool m_shifted = false;
};

}  // namespace tama05
