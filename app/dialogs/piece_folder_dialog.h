#pragma once

#include <QFileDialog>
#include <filesystem>

namespace tama05 {

// The folder browser of a new puzzle, titled
// "画像ファイルのあるフォルダを指定してください。（ピース画像になります）": folders only, opening
// in the current piece folder, so that confirming at once keeps it.
class PieceFolderDialog : public QFileDialog {
    Q_OBJECT
  public:
    PieceFolderDialog(QWidget* parent, const std::filesystem::path& currentFolder);
    // The chosen folder (after accept).
    std::filesystem::path ChosenFolder() const;
};

}  // namespace tama05
