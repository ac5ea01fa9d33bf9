#include "app/window_dialogs.h"

#include <QFileDialog>

#include "app/bridge/qt_path.h"
#include "app/dialogs/answer_image_dialog.h"
#include "app/dialogs/association_dialog.h"
#include "app/dialogs/file_association.h"
#include "app/dialogs/open_puzzle_dialog.h"
#include "app/dialogs/puzzle_creation_dialogs.h"
#include "app/dialogs/puzzle_info_dialog.h"
#include "app/dialogs/save_as_dialog.h"
#include "app/dialogs/version_dialog.h"
#include "core/text_encoding.h"
#include "painter/picture_source.h"

namespace tama05 {

WindowDialogs::WindowDialogs(AppSettings& settings, MessageSink& messages,
                             std::filesystem::path programFolder)
    : m_settings(settings), m_messages(messages), m_programFolder(std::move(programFolder)) {}

std::optional<std::filesystem::path> WindowDialogs::ChoosePuzzleToOpen(
    QWidget* owner, const std::filesystem::path&) {
    return tama05::ChoosePuzzleToOpen(owner, m_settings);
}

std::optional<SaveRequest> WindowDialogs::ChooseSaveAs(QWidget* owner,
                                                       const std::filesystem::path&) {
    return ChooseSaveFile(owner, m_settings);
}

std::unique_ptr<NewPuzzleDialogs> WindowDialogs::MakeNewPuzzleDialogs(QWidget* owner,
                                                                      NewPuzzleContext context) {
    auto dialogs =
        std::make_unique<PuzzleCreationDialogs>(owner, context.settings, context.messages);
    dialogs->SetViewTitleHandler(context.setViewTitle);
    // The first answer type also takes item, painter and canvas files; an item picture is shown
    // alone in the main window.
    dialogs->SetAnswerFileReader([showPicture = context.showPainterPicture](
                                     MessageSink& messages, const std::filesystem::path& path,
                                     Image& answer, AnswerFileInfo& info) {
        PictureSourceState state;
        AnswerSource source = AnswerSource::None;
        const int result = ReadAnswerFile(messages, state, path, answer, &info.alpha, &source);
        info.readState = state.read;
        if (!state.painterName.empty()) {
            info.painterName = Cp932ToUtf8(state.painterName).value_or(info.painterName);
        }
        if (result == 0 && source == AnswerSource::Item && !answer.empty() && showPicture) {
            showPicture(answer);
        }
        return result;
    });
    return dialogs;
}

AlphaPlane WindowDialogs::TakeAnswerAlpha(NewPuzzleDialogs& dialogs) {
    // Made by MakeNewPuzzleDialogs above.
    return std::move(static_cast<PuzzleCreationDialogs&>(dialogs).AnswerInfo().alpha);
}

std::optional<std::filesystem::path> WindowDialogs::ChooseSkinFolder(
    QWidget* owner, const QString& title, const std::filesystem::path& current) {
    const QString chosen = QFileDialog::getExistingDirectory(
        owner, title, ToQString(current),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ToPath(chosen);
}

void WindowDialogs::ShowPuzzleInfo(QWidget* owner, const Puzzle& puzzle) {
    PuzzleInfoDialog dialog(owner, puzzle);
    dialog.exec();
}

void WindowDialogs::ShowVersion(QWidget* owner) {
    VersionDialog dialog(owner, m_programFolder);
    dialog.exec();
}

void WindowDialogs::ShowAssociation(QWidget* owner) {
    AssociationDialog dialog(owner, AssociationPlacesFromEnvironment(m_programFolder / "tama05"),
                             m_messages);
    dialog.exec();
}

}  // namespace tama05
