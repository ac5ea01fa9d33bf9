#pragma once

#include "app/game_dialogs.h"

namespace tama05 {

// Plain stand-ins for the game's dialogs: Qt's own (non-native) file and folder dialogs and
// input boxes, without previews. The full dialogs replace them.
class PlaceholderDialogs final : public GameDialogs {
  public:
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
};

}  // namespace tama05
