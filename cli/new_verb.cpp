// tama05-cli new: a puzzle from an answer picture and a folder of piece pictures.
#include <ctime>
#include <memory>

#include "cli/progress_line.h"
#include "cli/puzzle_summary.h"
#include "cli/spoken_comment.h"
#include "cli/verb.h"
#include "painter/picture_source.h"
#include "puzzle/piece_size.h"
#include "puzzle/puzzle_creation.h"
#include "puzzle/puzzle_io.h"
#include "puzzlefile/puzzle_file.h"

namespace tama05 {

namespace {

struct NewOptions {
    std::string answer;
    std::string folder;
    std::string piece;
    std::string divisions;
    std::string maxPieces;
    std::string output;
    bool json = false;
    bool quiet = false;
};

// The answer, folder and piece size given on the command line, as the new-puzzle dialogs.
class CommandLineDialogs final : public NewPuzzleDialogs {
  public:
    CommandLineDialogs(std::filesystem::path answer, std::filesystem::path folder,
                       PieceSizeChoice choice, MessageSink& messages, ProgressLine& progress)
        : m_answer(std::move(answer)),
          m_folder(std::move(folder)),
          m_choice(choice),
          m_messages(messages),
          m_progress(progress) {}

    // Read as the answer dialog's first filter does: item, painter, canvas or picture.
    int ChooseAnswerImage(Image& candidate) override {
        PictureSourceState state;
        const int result = ReadAnswerFile(m_messages, state, m_answer, candidate);
        if (result != 0 || candidate.empty()) {
            return result != 0 ? result : -1;
        }
        return 0;
    }
    bool ChoosePieceFolder(std::filesystem::path& folder) override {
        folder = m_folder;
        return true;
    }
    bool ChoosePieceSize(int32_t width, int32_t height, int32_t& pieceWidth,
                         int32_t& pieceHeight) override {
        const PieceSizeDecision decision = DecidePieceSize(m_choice, width, height);
        if (!decision.accepted) {
            m_messages.ShowMessage(decision.refusal, kPieceSizeRefusalCaption);
            return false;
        }
        pieceWidth = decision.pieceWidth;
        pieceHeight = decision.pieceHeight;
        return true;
    }
    void ShowFillProgress(int32_t done, int32_t total) override {
        m_progress.Update(done, total);
        if (done == total) {
            m_progress.Finish();
        }
    }

  private:
    std::filesystem::path m_answer;
    std::filesystem::path m_folder;
    PieceSizeChoice m_choice;
    MessageSink& m_messages;
    ProgressLine& m_progress;
};

PieceSizeChoice ChoiceFrom(const NewOptions& options) {
    PieceSizeChoice choice;
    if (!options.piece.empty()) {
        const auto pair = ParseSizePair(options.piece);
        choice.mode = PieceSizeMode::kPieceSize;
        choice.pieceWidth = pair->first;
        choice.pieceHeight = pair->second;
    } else {
        const auto pair = ParseSizePair(options.divisions);
        choice.mode = PieceSizeMode::kDivisions;
        choice.columns = pair->first;
        choice.rows = pair->second;
    }
    return choice;
}

int RunNew(const NewOptions& options, VerbContext& context) {
    const int32_t maxPieces = options.maxPieces.empty()
                                  ? kFillPieces
                                  : static_cast<int32_t>(DecimalValue(options.maxPieces));
    Puzzle puzzle;
    RandomGenerator random(static_cast<uint32_t>(std::time(nullptr)));
    ProgressLine progress(options.quiet ? nullptr : context.progress);
    CommandLineDialogs dialogs(options.answer, options.folder, ChoiceFrom(options),
                               context.messages, progress);
    const NewPuzzleResult result = NewPuzzle(puzzle, dialogs, context.messages, random, maxPieces);
    progress.Finish();
    if (result.outcome != NewPuzzleOutcome::kReady) {
        return kVerbFailed;
    }
    if (SavePuzzle(puzzle, options.output, context.messages) != 0) {
        return kVerbFailed;
    }
    if (options.json) {
        Json json = PuzzleSummaryJson(puzzle, kPuzzleFileVersion);
        json["pieces"] = result.fill->pieces;
        PrintJson(context.out, json);
    } else {
        PrintPuzzleSummary(context.out, puzzle, kPuzzleFileVersion);
        context.out << "pieces " << result.fill->pieces.size() << '\n';
        SpeakComment(result.fill->score.comment, result.fill->score.newScore, random, &context.out);
    }
    return kVerbDone;
}

}  // namespace

Verb DefineNewVerb(CLI::App& tool) {
    CLI::App* command =
        tool.add_subcommand("new", "Make a puzzle from an answer picture and a folder of pieces.");
    auto options = std::make_shared<NewOptions>();
    command
        ->add_option("ANSWER", options->answer,
                     "The answer: a picture (BMP, PNG, JPEG) or a painter, item or canvas file")
        ->type_name("")
        ->required();
    command->add_option("PIECE_DIR", options->folder, "The folder of piece pictures")
        ->type_name("")
        ->required();
    CLI::Option_group* size = command->add_option_group("piece size", "The size of the pieces");
    size->add_option("--piece", options->piece, "Pieces of W x H pixels")
        ->type_name("WxH")
        ->check(SizePair());
    size->add_option("--divisions", options->divisions, "The answer cut into A columns and B rows")
        ->type_name("AxB")
        ->check(SizePair());
    size->require_option(1);
    command
        ->add_option("--max-pieces", options->maxPieces,
                     "Fill from the first N pictures of the folder, 1 to 128 (default 10)")
        ->type_name("N")
        ->check(DecimalBetween(1, kMaxPieceNames));
    command->add_option("-o,--output", options->output, "The puzzle file to write")
        ->type_name("OUT.tgr")
        ->required();
    command->add_flag("--json", options->json, "Print the report as JSON");
    command->add_flag("-q,--quiet", options->quiet, "No progress line on a terminal");
    SetVerbFooter(*command, "tama05-cli new answer.png pieces/ --piece 16x16 -o puzzle.tgr --json",
                  R"({"version", "width", "height", "piece_width", "piece_height", "columns", )"
                  R"("rows", "blend", "scores": [per cell], "score", "mean", )"
                  R"("pieces": [file names used]})",
                  "the answer, the folder or the piece size was refused, or the file was not "
                  "written");
    return {command, [options](VerbContext& context) { return RunNew(*options, context); }};
}

}  // namespace tama05
