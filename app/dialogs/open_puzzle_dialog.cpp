#include "app/dialogs/open_puzzle_dialog.h"

#include "app/bridge/qt_path.h"

namespace tama05 {

OpenPuzzleDialog::OpenPuzzleDialog(QWidget* parent, const std::filesystem::path& startFolder)
    : PreviewFileDialog(parent, QStringLiteral("パズルファイルを開く"), PreviewPuzzleFile) {
    setObjectName(QStringLiteral("openPuzzleDialog"));
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    SetFilters({{QStringLiteral("TGR (*.TGR)"), {QStringLiteral("*.tgr")}, QStringLiteral("tgr")}});
    StartIn(ToQString(startFolder));
}

std::optional<std::filesystem::path> ChoosePuzzleToOpen(QWidget* parent, AppSettings& settings) {
    OpenPuzzleDialog dialog(parent, settings.openFolder);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const std::filesystem::path path = ToPath(dialog.ChosenFile());
    if (path.empty()) {
        return std::nullopt;
    }
    settings.openFolder = path.parent_path();
    return path;
}

}  // namespace tama05
