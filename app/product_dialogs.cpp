#include "app/product_dialogs.h"

#include "app/dialogs/association_dialog.h"
#include "app/dialogs/file_association.h"
#include "app/dialogs/message_box_sink.h"
#include "app/dialogs/open_puzzle_dialog.h"
#include "app/dialogs/puzzle_creation_dialogs.h"
#include "app/dialogs/puzzle_info_dialog.h"
#include "app/dialogs/save_as_dialog.h"
#include "app/dialogs/version_dialog.h"
#include "core/text_encoding.h"
#include "painter/picture_source.h"

namespace tama05 {

ProductDialogs::ProductDialogs(std::filesystem::path programFolder,
                               std::filesystem::path programPath)
    : m_programFolder(std::move(programFolder)), m_programPath(std::move(programPath)) {}

std::optional<std::filesystem::path> ProductDialogs::ChoosePuzzleToOpen(
    QWidget* owner, const std::filesystem::path& folder) {
    AppSettings settings;
    settings.openFolder = folder;
    return tama05::ChoosePuzzleToOpen(owner, settings);
}

std::optional<SaveAsChoice> ProductDialogs::ChooseSaveAs(QWidget* owner,
                                                         const std::filesystem::path& folder) {
    AppSettings settings;
    settings.saveFolder = folder;
    const std::optional<SaveChoice> choice = ChooseSaveFile(owner, settings);
    if (!choice) {
        return std::nullopt;
    }
    SaveAsChoice result;
    result.path = choice->path;
    switch (choice->kind) {
        case SaveKind::kPuzzleFile:
            result.kind = SaveAsKind::kPuzzle;
            break;
        case SaveKind::kJpeg:
            result.kind = SaveAsKind::kJpeg;
            break;
        case SaveKind::kBmp:
            result.kind = SaveAsKind::kBmp;
            break;
        case SaveKind::kPng:
            result.kind = SaveAsKind::kPng;
            break;
    }
    return result;
}

std::unique_ptr<NewPuzzleDialogs> ProductDialogs::MakeNewPuzzleDialogs(QWidget* owner,
                                                                       NewPuzzleContext context) {
    auto dialogs = std::make_unique<PuzzleCreationDialogs>(owner, context.settings, context.messages);
    // The first type of the answer dialog reads items, painter and canvas files as well as
    // pictures; the painter name, kept in code page 932, is shown in the title.
    dialogs->SetAnswerFileReader([context](MessageSink& messages, const std::filesystem::path& path,
                                           Image& answer, AnswerFileInfo& info) {
        PictureSourceState state;
        AnswerSource source = AnswerSource::None;
        const int result = ReadAnswerFile(messages, state, path, answer, &info.alpha, &source);
        info.painterName = Cp932ToUtf8(state.painterName).value_or("－－");
        info.readState = state.read;
        if (result == 0) {
            if (context.setViewTitle) {
                context.setViewTitle(path, info.painterName);
            }
            if (source == AnswerSource::Item && !answer.empty() && context.showPainterPicture) {
                context.showPainterPicture(answer);
            }
        }
        return result;
    });
    return dialogs;
}

std::optional<std::filesystem::path> ProductDialogs::ChooseSkinFolder(
    QWidget* owner, const QString& title, const std::filesystem::path& current) {
    return m_plain.ChooseSkinFolder(owner, title, current);
}

void ProductDialogs::ShowPuzzleInfo(QWidget* owner, const Puzzle& puzzle) {
    PuzzleInfoDialog dialog(owner, puzzle);
    dialog.exec();
}

void ProductDialogs::ShowVersion(QWidget* owner) {
    VersionDialog dialog(owner, m_programFolder);
    dialog.exec();
}

void ProductDialogs::ShowAssociation(QWidget* owner) {
    MessageBoxSink messages(owner);
    AssociationDialog dialog(owner, AssociationPlacesFromEnvironment(m_programPath), messages);
    dialog.exec();
}

}  // namespace tama05
