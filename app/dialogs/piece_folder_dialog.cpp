#include "app/dialogs/piece_folder_dialog.h"

#include <QFileInfo>

#include <algorithm>

#include "app/bridge/qt_path.h"

namespace tama05 {

PieceFolderDialog::PieceFolderDialog(QWidget* parent, const std::filesystem::path& currentFolder)
    : QFileDialog(parent,
                  QStringLiteral(
                      "画像ファイルのあるフォルダを指定してください。（ピース画像になります）")) {
    setObjectName(QStringLiteral("pieceFolderDialog"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::ShowDirsOnly, true);
    setFileMode(QFileDialog::Directory);
    setAcceptMode(QFileDialog::AcceptOpen);
    // Large enough for the name, size, type and date columns side by side.
    resize(std::max(width(), 760), std::max(height(), 480));
    const QString folder = ToQString(currentFolder);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        setDirectory(folder);
    }
}

std::filesystem::path PieceFolderDialog::ChosenFolder() const {
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty()) {
        return {};
    }
    return ToPath(QFileInfo(chosen.front()).absoluteFilePath());
}

}  // namespace tama05
