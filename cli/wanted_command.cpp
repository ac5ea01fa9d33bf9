#include "cli/wanted_command.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

#include "cli/json_writer.h"
#include "puzzle/puzzle.h"
#include "puzzle/puzzle_io.h"

namespace tama05 {

namespace {

constexpr std::string_view kWantedUsage = "wanted PUZZLE.tgr [--count N] [--json]";

// "#rrggbb" of a colour red + green × 256 + blue × 65536.
std::string ColourText(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

}  // namespace

void WriteWantedJson(std::ostream& out, const std::vector<WantedColour>& wanted, int32_t score) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("wanted");
    json.BeginArray();
    for (const WantedColour& w : wanted) {
        json.BeginObject();
        json.Key("colour");
        json.String(ColourText(w.colour));
        json.Member("cells", static_cast<int64_t>(w.cells.size()));
        json.Key("gain");
        json.Double(w.gain);
        json.EndObject();
    }
    json.EndArray();
    json.Member("score", score);
    json.EndObject();
    out << '\n';
}

int RunWantedCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages) {
    std::vector<std::string> positional;
    int32_t count = kWantedColourCount;
    bool json = false;
    bool usage = false;
    for (size_t i = 0; i < args.size() && !usage; ++i) {
        const std::string& arg = args[i];
        if (arg == "--count" && i + 1 < args.size()) {
            const std::string& value = args[++i];
            int64_t n = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
            usage = error != std::errc{} || end != value.data() + value.size() || n < 1 ||
                    n > kMostWantedColours;
            count = static_cast<int32_t>(n);
        } else if (arg == "--json") {
            json = true;
        } else if (!arg.empty() && arg[0] == '-') {
            usage = true;
        } else {
            positional.push_back(arg);
        }
    }
    if (usage || positional.size() != 1) {
        std::fprintf(stderr, "usage: tama05-cli %.*s\n", static_cast<int>(kWantedUsage.size()),
                     kWantedUsage.data());
        return 2;
    }
    Puzzle puzzle;
    if (OpenPuzzleFile(puzzle, positional[0], messages) != 0) {
        messages.ShowMessage("TGRファイルオープンに失敗しました。", "失敗");
        return 1;
    }
    const std::vector<WantedColour> wanted =
        FindWantedColours(puzzle.AnswerImage,
                          std::span<const int32_t>(puzzle.PieceScores.data(),
                                                   static_cast<size_t>(puzzle.PieceScores.count())),
                          puzzle.pieceWidth, puzzle.pieceHeight, count);
    if (json) {
        WriteWantedJson(out, wanted, puzzle.PuzzleScore);
        return 0;
    }
    for (const WantedColour& w : wanted) {
        char line[80];
        std::snprintf(line, sizeof line, "%s %6zu cells  +%.3f\n", ColourText(w.colour).c_str(),
                      w.cells.size(), w.gain);
        out << line;
    }
    out << "score " << puzzle.PuzzleScore << '\n';
    return 0;
}

}  // namespace tama05
