#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>

#include "app/dialogs/preview_file_dialog.h"
#include "skin/app_settings.h"

namespace tama05 {

// "パズルファイルを開く": puzzle files ("TGR (*.TGR)") with a thumbnail preview, opening in
// startFolder.
class OpenPuzzleDialog : public PreviewFileDialog {
    Q_OBJECT
  public:
    OpenPuzzleDialog(QWidget* parent, const std::filesystem::path& startFolder);
};

// Runs the open dialog from the settings' puzzle-open folder. Returns the chosen puzzle file,
// whose folder becomes the settings' puzzle-open folder, or nothing when cancelled (nothing
// changed, whatever was previewed). Opening it is the caller's (OpenPuzzleFile).
std::optional<std::filesystem::path> ChoosePuzzleToOpen(QWidget* parent, AppSettings& settings);

}  // namespace tama05
