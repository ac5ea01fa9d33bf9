#include "app/dialogs/puzzle_creation_dialogs.h"

#include "app/bridge/qt_path.h"
#include "app/dialogs/piece_folder_dialog.h"
#include "app/dialogs/piece_size_dialog.h"

namespace tama05 {

PuzzleCreationDialogs::PuzzleCreationDialogs(QWidget* parent, AppSettings& settings,
                                             MessageSink& messages)
    : m_parent(parent), m_settings(settings), m_messages(messages) {}

int PuzzleCreationDialogs::ChooseAnswerImage(Image& candidate) {
    AnswerImageDialog dialog(m_parent, m_settings.answerFolder);
    if (dialog.exec() != QDialog::Accepted) {
        return -1;
    }
    const std::filesystem::path path = ToPath(dialog.ChosenFile());
    if (path.empty()) {
        return -1;
    }
    AnswerFileInfo info;
    const int result =
        ReadAnswerChoice(m_messages, path, dialog.SelectedFilterIndex(), m_reader, candidate, info);
    if (result != 0) {
        return result;
    }
    m_answerPath = path;
    m_answerInfo = std::move(info);
    m_settings.answerFolder = path.parent_path();
    if (m_setViewTitle) {
        m_setViewTitle(ViewTitle(path, m_answerInfo.painterName));
    }
    return 0;
}

bool PuzzleCreationDialogs::ChoosePieceFolder(std::filesystem::path& folder) {
    if (folder.empty()) {
        folder = m_settings.pieceFolder;  // the folder of the last run, also when cancelled
    }
    PieceFolderDialog dialog(m_parent, folder);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const std::filesystem::path chosen = dialog.ChosenFolder();
    if (chosen.empty()) {
        return false;
    }
    folder = chosen;
    m_settings.pieceFolder = chosen;
    return true;
}

bool PuzzleCreationDialogs::ChoosePieceSize(int32_t width, int32_t height, int32_t& pieceWidth,
                                            int32_t& pieceHeight) {
    PieceSizeDialog dialog(m_parent, m_settings, m_messages, width, height);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    pieceWidth = dialog.PieceWidth();
    pieceHeight = dialog.PieceHeight();
    return true;
}

}  // namespace tama05
