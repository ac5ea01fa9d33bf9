// tama05-cli wanted: the colours the puzzle wants most, best first.
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cli/json_output.h"
#include "cli/puzzle_summary.h"
#include "cli/verb.h"
#include "puzzle/wanted_colours.h"

namespace tama05 {

namespace {

// "#rrggbb" of a colour red + green × 256 + blue × 65536.
std::string ColourText(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

// {"wanted":[{"colour":"#rrggbb","cells":n,"gain":x},...],"score":s}
Json WantedJson(const std::vector<WantedColour>& wanted, int32_t score) {
    Json json;
    json["wanted"] = Json::array();
    for (const WantedColour& w : wanted) {
        Json entry;
        entry["colour"] = ColourText(w.colour);
        entry["cells"] = w.cells.size();
        entry["gain"] = JsonNumber(w.gain);
        json["wanted"].push_back(std::move(entry));
    }
    json["score"] = score;
    return json;
}

}  // namespace

Verb DefineWantedVerb(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "wanted", "List the colours the puzzle still wants most, with the points each would gain.");
    struct Options {
        std::string puzzle;
        std::string count;
        bool json = false;
    };
    auto options = std::make_shared<Options>();
    command->add_option("PUZZLE", options->puzzle, "The puzzle file (.tgr)")
        ->type_name("")
        ->required();
    command
        ->add_option("--count", options->count,
                     "How many colours to list, 1 to " + std::to_string(kMostWantedColours) +
                         "; default " + std::to_string(kWantedColourCount))
        ->type_name("N")
        ->check(DecimalBetween(1, kMostWantedColours));
    command->add_flag("--json", options->json, "Print the list as JSON");
    SetVerbFooter(*command, "tama05-cli wanted puzzle.tgr --count 4 --json",
                  R"({"wanted": [{"colour": "#rrggbb", "cells", "gain"}], "score"})",
                  "the puzzle could not be opened");
    return {command, [options](VerbContext& context) {
                Puzzle puzzle;
                int32_t version = 0;
                if (!LoadPuzzle(options->puzzle, puzzle, version, context.messages)) {
                    return kVerbFailed;
                }
                const auto count = options->count.empty()
                                       ? kWantedColourCount
                                       : static_cast<int32_t>(DecimalValue(options->count));
                const std::vector<WantedColour> wanted = FindWantedColours(
                    puzzle.AnswerImage,
                    std::span<const int32_t>(puzzle.PieceScores.data(),
                                             static_cast<size_t>(puzzle.PieceScores.count())),
                    puzzle.pieceWidth, puzzle.pieceHeight, count);
                if (options->json) {
                    PrintJson(context.out, WantedJson(wanted, puzzle.PuzzleScore));
                    return kVerbDone;
                }
                for (const WantedColour& w : wanted) {
                    char line[80];
                    std::snprintf(line, sizeof line, "%s %6zu cells  +%.3f\n",
                                  ColourText(w.colour).c_str(), w.cells.size(), w.gain);
                    context.out << line;
                }
                context.out << "score " << puzzle.PuzzleScore << '\n';
                return kVerbDone;
            }};
}

}  // namespace tama05
