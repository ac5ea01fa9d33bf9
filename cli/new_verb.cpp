// tama05-cli new: a puzzle from an answer picture and a folder of piece pictures.
#include <ctime>
#include <memory>

#include "cli/command_line_dialogs.h"
#include "cli/progress_line.h"
#include "cli/puzzle_summary.h"
#include "cli/spoken_comment.h"
#include "cli/verb.h"
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

PieceSizeChoice ChoiceFrom(const NewOptions& options) {
    // One of the two was given and checked by the parser.
    return options.piece.empty() ? *ParsePieceSizeOption("--divisions", options.divisions)
                                 : *ParsePieceSizeOption("--piece", options.piece);
}

int RunNew(const NewOptions& options, VerbContext& context) {
    const int32_t maxPieces = options.maxPieces.empty()
                                  ? kFillPieces
                                  : static_cast<int32_t>(DecimalValue(options.maxPieces));
    Puzzle puzzle;
    RandomGenerator random(static_cast<uint32_t>(std::time(nullptr)));
    ProgressLine progress(options.quiet ? nullptr : context.progress);
    CommandLineDialogs dialogs(options.answer, options.folder, ChoiceFrom(options),
                               context.messages, &progress);
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
