#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "app/dialogs/answer_image_dialog.h"
#include "core/message_sink.h"
#include "puzzle/puzzle_creation.h"
#include "skin/app_settings.h"

namespace tama05 {

// The three dialogs of a new puzzle, for NewPuzzle:
//   AnswerImageDialog → the answer picture; the settings' answer folder becomes its folder;
//   PieceFolderDialog → the piece folder; the settings keep the folder browsed;
//   PieceSizeDialog   → the piece size; the settings keep the choice as entered.
// The window supplies the title handler (called with AnswerViewTitle once an answer file was
// read) and, once painter files are read, the reader of the first answer type.
class PuzzleCreationDialogs final : public NewPuzzleDialogs {
  public:
    PuzzleCreationDialogs(QWidget* parent, AppSettings& settings, MessageSink& messages);

    void SetAnswerFileReader(AnswerFileReader reader) { m_reader = std::move(reader); }
    void SetViewTitleHandler(std::function<void(const QString&)> handler) {
        m_setViewTitle = std::move(handler);
    }

    int ChooseAnswerImage(Image& candidate) override;
    // folder: the puzzle's piece folder, or empty for the one kept in the settings.
    bool ChoosePieceFolder(std::filesystem::path& folder) override;
    bool ChoosePieceSize(int32_t width, int32_t height, int32_t& pieceWidth,
                         int32_t& pieceHeight) override;

    // The last answer file read: its path and what came with the picture (painter name, the
    // PNG alpha the picture export uses). Take it once NewPuzzle has taken the answer.
    const std::filesystem::path& AnswerPath() const { return m_answerPath; }
    AnswerFileInfo& AnswerInfo() { return m_answerInfo; }

  private:
    QPointer<QWidget> m_parent;
    AppSettings& m_settings;
    MessageSink& m_messages;
    AnswerFileReader m_reader;
    std::function<void(const QString&)> m_setViewTitle;
    std::filesystem::path m_answerPath;
    AnswerFileInfo m_answerInfo;
};

}  // namespace tama05
