#pragma once

#include "app/game_dialogs.h"

namespace tama05 {

// The game's dialogs as windows (app/dialogs): open and save with previews, the dialogs of a new
// puzzle, the information, version and file-association dialogs.
class WindowDialogs final : public GameDialogs {
  public:
    WindowDialogs(AppSettings& settings, MessageSink& messages,
                  std::filesystem::path programFolder);

    std::optional<std::filesystem::path> ChoosePuzzleToOpen(
        QWidget* owner, const std::filesystem::path& folder) override;
    std::optional<SaveRequest> ChooseSaveAs(QWidget* owner,
                                            const std::filesystem::path& folder) override;
    std::unique_ptr<NewPuzzleDialogs> MakeNewPuzzleDialogs(QWidget* owner,
                                                           NewPuzzleContext context) override;
    AlphaPlane TakeAnswerAlpha(NewPuzzleDialogs& dialogs) override;
    std::optional<std::filesystem::path> ChooseSkinFolder(
        QWidget* owner, const QString& title, const std::filesystem::path& current) override;
    void ShowPuzzleInfo(QWidget* owner, const Puzzle& puzzle) override;
    void ShowVersion(QWidget* owner) override;
    void ShowAssociation(QWidget* owner) override;

  private:
    AppSettings& m_settings;
    MessageSink& m_messages;
    std::filesystem::path m_programFolder;
};

}  // namespace tama05
