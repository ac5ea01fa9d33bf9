#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>

#include "app/dialogs/filtered_file_dialog.h"
#include "puzzle/save_or_export.h"
#include "skin/app_settings.h"

namespace tama05 {

// "画像を保存する。": the puzzle file, then the JPEG, BMP and PNG pictures; a name typed
// without a suffix takes the selected type's; an existing file is replaced only after the
// question is answered yes.
class SaveAsDialog : public FilteredFileDialog {
    Q_OBJECT
  public:
    SaveAsDialog(QWidget* parent, const std::filesystem::path& startFolder);
    SaveKind SelectedKind() const;
};

// Runs the save-as dialog from the settings' save folder. Returns the file and type chosen,
// whose folder becomes the settings' save folder, or nothing when cancelled. Saving is the
// caller's (SaveOrExport).
std::optional<SaveRequest> ChooseSaveFile(QWidget* parent, AppSettings& settings);

}  // namespace tama05
