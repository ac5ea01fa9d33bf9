// tama05-cli info: a puzzle file's sizes and scores.
#include <memory>

#include "cli/puzzle_summary.h"
#include "cli/verb.h"

namespace tama05 {

Verb DefineInfoVerb(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand("info", "Show a puzzle file's sizes and scores.");
    struct Options {
        std::string puzzle;
        bool json = false;
    };
    auto options = std::make_shared<Options>();
    command->add_option("PUZZLE", options->puzzle, "The puzzle file (.tgr)")
        ->type_name("")
        ->required();
    command->add_flag("--json", options->json, "Print the report as JSON");
    SetVerbFooter(*command, "tama05-cli info puzzle.tgr --json",
                  R"({"version", "width", "height", "piece_width", "piece_height", "columns", )"
                  R"("rows", "blend", "scores": [per cell], "score", "mean"})",
                  "the puzzle could not be opened");
    return {command, [options](VerbContext& context) {
                Puzzle puzzle;
                int32_t version = 0;
                if (!LoadPuzzle(options->puzzle, puzzle, version, context.messages)) {
                    return kVerbFailed;
                }
                if (options->json) {
                    PrintJson(context.out, PuzzleSummaryJson(puzzle, version));
                } else {
                    PrintPuzzleSummary(context.out, puzzle, version);
                }
                return kVerbDone;
            }};
}

}  // namespace tama05
