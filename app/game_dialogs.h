#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "puzzle/puzzle.h"
#include "puzzle/puzzle_creation.h"
#include "puzzle/save_or_export.h"
#include "skin/app_settings.h"

namespace tama05 {

// What the dialogs of a new puzzle may do to the window while they run.
struct NewPuzzleContext {
    AppSettings& settings;
    MessageSink& messages;
    // The main window's title, once an answer picture was read (see ViewTitle).
    std::function<void(const QString& title)> setViewTitle;
    // Shows a picture alone in the main window (an item picture made the answer).
    std::function<void(const Image& picture)> showPainterPicture;
};

// Every dialog the game opens. The game holds one implementation; tests give their own.
class GameDialogs {
  public:
    virtual ~GameDialogs() = default;
    // The puzzle file to open, starting in folder; nothing when cancelled.
    virtual std::optional<std::filesystem::path> ChoosePuzzleToOpen(
        QWidget* owner, const std::filesystem::path& folder) = 0;
    // The file to save to and its kind (answerAlpha left null); nothing when cancelled.
    virtual std::optional<SaveRequest> ChooseSaveAs(QWidget* owner,
                                                    const std::filesystem::path& folder) = 0;
    // The answer picture, piece folder and piece size of a new puzzle.
    virtual std::unique_ptr<NewPuzzleDialogs> MakeNewPuzzleDialogs(QWidget* owner,
                                                                   NewPuzzleContext context) = 0;
    // The answer picture's own alpha (a PNG with one), taken from the dialogs of a new puzzle
    // once the puzzle has its answer; the PNG export keeps it. Empty by default.
    virtual AlphaPlane TakeAnswerAlpha(NewPuzzleDialogs&) { return {}; }
    // The folder of another skin; nothing when cancelled.
    virtual std::optional<std::filesystem::path> ChooseSkinFolder(
        QWidget* owner, const QString& title, const std::filesystem::path& current) = 0;
    // "パズルの情報"; the dialog reads the puzzle under its lock.
    virtual void ShowPuzzleInfo(QWidget* owner, const Puzzle& puzzle) = 0;
    virtual void ShowVersion(QWidget* owner) = 0;
    virtual void ShowAssociation(QWidget* owner) = 0;
};

}  // namespace tama05
