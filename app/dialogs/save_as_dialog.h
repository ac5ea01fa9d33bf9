#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>

#include "app/dialogs/filtered_file_dialog.h"
#include "skin/app_settings.h"

namespace tama05 {

// The types of the save-as dialog, in the order of its list.
enum class SaveKind { kPuzzleFile = 0, kJpeg = 1, kBmp = 2, kPng = 3 };

struct SaveChoice {
    std::filesystem::path path;
    SaveKind kind = SaveKind::kPuzzleFile;
};

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
// caller's (SaveChosenFile).
std::optional<SaveChoice> ChooseSaveFile(QWidget* parent, AppSettings& settings);

}  // namespace tama05
