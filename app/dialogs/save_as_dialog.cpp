#include "app/dialogs/save_as_dialog.h"

#include "app/bridge/qt_path.h"

namespace tama05 {

SaveAsDialog::SaveAsDialog(QWidget* parent, const std::filesystem::path& startFolder)
    : FilteredFileDialog(parent, QStringLiteral("画像を保存する。")) {
    setObjectName(QStringLiteral("saveAsDialog"));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, false);
    SetFilters({
        {QStringLiteral("玉五郎ファイル (*.TGR)"),
         {QStringLiteral("*.tgr")},
         QStringLiteral("tgr")},
        {QStringLiteral("JPEG (*.JPG)"), {QStringLiteral("*.jpg")}, QStringLiteral("jpg")},
        {QStringLiteral("Bitmap (*.BMP)"), {QStringLiteral("*.bmp")}, QStringLiteral("bmp")},
        {QStringLiteral("PNG (*.PNG)"), {QStringLiteral("*.png")}, QStringLiteral("png")},
    });
    StartIn(ToQString(startFolder));
}

SaveKind SaveAsDialog::SelectedKind() const {
    return SaveKindForFilter(SelectedFilterIndex());
}

std::optional<SaveRequest> ChooseSaveFile(QWidget* parent, AppSettings& settings) {
    SaveAsDialog dialog(parent, settings.saveFolder);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    SaveRequest choice;
    choice.path = ToPath(dialog.ChosenFile());
    choice.kind = dialog.SelectedKind();
    if (choice.path.empty()) {
        return std::nullopt;
    }
    settings.saveFolder = choice.path.parent_path();
    return choice;
}

}  // namespace tama05
