#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/game_dialogs.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "core/png_file.h"
#include "puzzle/matching.h"
#include "puzzle/puzzle_io.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05::test {

// The answer of the test puzzles: 6 × 4 cells of 16 × 16, each cell one colour of its own.
inline constexpr int32_t kCellSize = 16;
inline constexpr int32_t kColumns = 6;
inline constexpr int32_t kRows = 4;

inline void CellColour(int cell, uint8_t& b, uint8_t& g, uint8_t& r) {
    b = static_cast<uint8_t>(40 + cell * 8);
    g = static_cast<uint8_t>(230 - cell * 9);
    r = static_cast<uint8_t>(cell % 2 == 0 ? 60 : 190);
}

inline Image CellAnswer() {
    Image answer;
    answer.CreateFilled(kColumns * kCellSize, kRows * kCellSize, 0);
    for (int32_t y = 0; y < answer.height(); ++y) {
        uint8_t* row = answer.rowFromTop(y);
        for (int32_t x = 0; x < answer.width(); ++x) {
            uint8_t b, g, r;
            CellColour((y / kCellSize) * kColumns + x / kCellSize, b, g, r);
            row[3 * x] = b;
            row[3 * x + 1] = g;
            row[3 * x + 2] = r;
        }
    }
    answer.SetHeaders();
    return answer;
}

// A puzzle file whose cells are all filled with black or white pieces, so that a picture of a
// cell's own colour improves that cell.
inline bool WriteTestPuzzle(const std::filesystem::path& path, int32_t score = -1) {
    Puzzle puzzle;
    puzzle.AnswerImage = CellAnswer();
    std::vector<Image> pieces;
    pieces.push_back(SolidImage(kCellSize, kCellSize, 0, 0, 0));
    pieces.push_back(SolidImage(kCellSize, kCellSize, 255, 255, 255));
    if (FillMosaic(puzzle.AnswerImage, pieces, puzzle.MosaicCanvas, puzzle.PieceScores) != 0) {
        return false;
    }
    puzzle.MosaicCanvas.SetHeaders();
    puzzle.pieceWidth = kCellSize;
    puzzle.pieceHeight = kCellSize;
    puzzle.PuzzleScore =
        score >= 0 ? score : static_cast<int32_t>(MeanPieceScore(puzzle.PieceScores));
    puzzle.state = PuzzleState::kReady;
    RecordingMessageSink sink;
    return SavePuzzle(puzzle, path, sink) == 0;
}

// A PNG picture of one cell's colour.
inline std::filesystem::path WriteCellPicture(const std::filesystem::path& folder, int cell,
                                              const std::string& name, int32_t size = 24) {
    uint8_t b, g, r;
    CellColour(cell, b, g, r);
    const Image picture = SolidImage(size, size, b, g, r);
    RecordingMessageSink sink;
    const std::filesystem::path path = folder / name;
    WritePngFile(sink, path, picture, nullptr);
    return path;
}

// The dialogs of a new puzzle, answered by the test: the cell answer, a folder, 16 × 16.
class ScriptedNewPuzzleDialogs final : public NewPuzzleDialogs {
  public:
    explicit ScriptedNewPuzzleDialogs(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    int ChooseAnswerImage(Image& candidate) override {
        candidate = CellAnswer();
        return 0;
    }
    bool ChoosePieceFolder(std::filesystem::path& folder) override {
        folder = m_folder;
        return true;
    }
    bool ChoosePieceSize(int32_t, int32_t, int32_t& pieceWidth, int32_t& pieceHeight) override {
        pieceWidth = kCellSize;
        pieceHeight = kCellSize;
        return true;
    }

  private:
    std::filesystem::path m_folder;
};

// Dialogs that answer as the test says and count what they were asked.
class FakeDialogs final : public GameDialogs {
  public:
    std::optional<std::filesystem::path> openChoice;
    std::optional<SaveRequest> saveAsChoice;
    std::optional<std::filesystem::path> skinChoice;
    // The piece folder of a new puzzle; none: the new-puzzle dialogs are cancelled.
    std::optional<std::filesystem::path> pieceFolder;
    int saveAsAsked = 0;
    int openAsked = 0;

    std::optional<std::filesystem::path> ChoosePuzzleToOpen(QWidget*,
                                                            const std::filesystem::path&) override {
        ++openAsked;
        return openChoice;
    }
    std::optional<SaveRequest> ChooseSaveAs(QWidget*, const std::filesystem::path&) override {
        ++saveAsAsked;
        return saveAsChoice;
    }
    std::unique_ptr<NewPuzzleDialogs> MakeNewPuzzleDialogs(QWidget*, NewPuzzleContext) override {
        if (!pieceFolder) {
            return nullptr;
        }
        return std::make_unique<ScriptedNewPuzzleDialogs>(*pieceFolder);
    }
    std::optional<std::filesystem::path> ChooseSkinFolder(QWidget*, const QString&,
                                                          const std::filesystem::path&) override {
        return skinChoice;
    }
    void ShowPuzzleInfo(QWidget*, const Puzzle&) override {}
    void ShowVersion(QWidget*) override {}
    void ShowAssociation(QWidget*) override {}
};

struct ShownMessage {
    QString text;
    QString caption;
};

// One game on a temporary settings file, with recorded messages and scripted answers.
class GameRun {
  public:
    explicit GameRun(std::optional<std::string> puzzleArgument = std::nullopt,
                     std::filesystem::path startFolder = {}) {
        GameOptions options;
        options.programFolder = TAMA05_PROGRAM_DIR;
        options.settingsFile = folder.path() / "tama05.ini";
        options.startFolder = startFolder.empty() ? folder.path() : startFolder;
        options.puzzleArgument = std::move(puzzleArgument);
        options.seed = 12345;
        game = std::make_unique<Game>(options);
        game->SetMessagePresenter([this](QWidget*, const QString& text, const QString& caption) {
            messages.push_back({text, caption});
        });
        game->SetQuestionBox([this](QWidget*, const QString& text, const QString& caption) {
            questions.push_back({text, caption});
            return answer;
        });
        auto fake = std::make_unique<FakeDialogs>();
        dialogs = fake.get();
        game->SetDialogs(std::move(fake));
    }
    ~GameRun() {
        if (game) {
            game->WaitForDrop();
        }
    }

    bool HasMessage(const QString& text) const {
        for (const ShownMessage& m : messages) {
            if (m.text == text) {
                return true;
            }
        }
        return false;
    }

    TempFolder folder;
    std::unique_ptr<Game> game;
    FakeDialogs* dialogs = nullptr;
    std::vector<ShownMessage> messages;
    std::vector<ShownMessage> questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

}  // namespace tama05::test
