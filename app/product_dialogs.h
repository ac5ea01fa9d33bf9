#pragma once

#include <filesystem>

#include "app/game_dialogs.h"
#include "app/placeholder_dialogs.h"

namespace tama05 {

// The game's own dialogs: answer, folder and piece size of a new puzzle, open and save-as with
// their previews, puzzle information, version and file association.
class ProductDialogs final : public GameDialogs {
  public:
    // programFolder: where the icons are; programPath: the executable the association starts.
    ProductDialogs(std::filesystem::path programFolder, std::filesystem::path programPath);

    std::optional<std::filesystem::path> ChoosePuzzleToOpen(
        QWidget* owner, const std::filesystem::path& folder) override;
    std::optional<SaveAsChoice> ChooseSaveAs(QWidget* owner,
                                             const std::filesystem::path& folder) override;
    std::unique_ptr<NewPuzzleDialogs> MakeNewPuzzleDialogs(QWidget* owner,
                                                           NewPuzzleContext context) override;
    std::optional<std::filesystem::path> ChooseSkinFolder(
        QWidget* owner, const QString& title, const std::filesystem::path& current) override;
    void ShowPuzzleInfo(QWidget* owner, const Puzzle& puzzle) override;
    void ShowVersion(QWidget* owner) override;
    void ShowAssociation(QWidget* owner) override;

  private:
    std::filesystem::path m_programFolder;
    std::filesystem::path m_programPath;
    // The skin folder browser has no dialog of its own.
    PlaceholderDialogs m_plain;
};

}  // namespace tama05
