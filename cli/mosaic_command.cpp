#include "cli/mosaic_command.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

#include "cli/command_line_dialogs.h"
#include "cli/json_output.h"
#include "cli/verb.h"
#include "puzzle/drop_reader.h"
#include "puzzle/drop_worker.h"
#include "puzzle/piece_folder.h"
#include "puzzle/puzzle_creation.h"
#include "puzzle/puzzle_io.h"
#include "puzzle/save_or_export.h"

namespace tama05 {

namespace {

constexpr std::string_view kMosaicUsage =
    "mosaic ANSWER TILES... (--piece WxH | --divisions AxB) -o OUT.{png,jpg,bmp,tgr} "
    "[--seed N] [--json]";

struct MosaicOptions {
    std::filesystem::path answer;
    std::vector<std::filesystem::path> tiles;  // as given: files and folders
    PieceSizeChoice choice;
    std::filesystem::path output;
    SaveKind kind = SaveKind::kPng;  // chosen by the output's extension
    uint32_t seed = 0;
    bool json = false;
};

std::optional<MosaicOptions> ParseMosaicOptions(std::span<const std::string> args) {
    MosaicOptions options;
    options.seed = static_cast<uint32_t>(std::time(nullptr));
    bool sized = false;
    std::vector<std::filesystem::path> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((arg == "--piece" || arg == "--divisions") && hasValue && !sized) {
            const auto choice = ParsePieceSizeOption(arg, args[++i]);
            if (!choice) {
                return std::nullopt;
            }
            options.choice = *choice;
            sized = true;
        } else if (arg == "-o" && hasValue) {
            options.output = args[++i];
        } else if (arg == "--seed" && hasValue) {
            const std::string& text = args[++i];
            int64_t n = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (error != std::errc{} || end != text.data() + text.size() || n < INT32_MIN ||
                n > UINT32_MAX) {
                return std::nullopt;
            }
            options.seed = static_cast<uint32_t>(n);
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--") {
            positional.insert(positional.end(), args.begin() + static_cast<ptrdiff_t>(i) + 1,
                              args.end());
            break;
        } else if (!arg.empty() && arg[0] == '-') {
            return std::nullopt;
        } else {
            positional.emplace_back(arg);
        }
    }
    const std::optional<SaveKind> kind = SaveKindForExtension(options.output);
    if (positional.size() < 2 || !sized || !kind) {
        return std::nullopt;
    }
    options.kind = *kind;
    options.answer = positional[0];
    options.tiles.assign(positional.begin() + 1, positional.end());
    return options;
}

// Every tile file in order: folders stand for their pictures.
std::vector<std::filesystem::path> ExpandTiles(std::span<const std::filesystem::path> given) {
    std::vector<std::filesystem::path> tiles;
    for (const std::filesystem::path& path : given) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            const auto pictures = ScanPictureFolder(path);
            tiles.insert(tiles.end(), pictures.begin(), pictures.end());
        } else {
            tiles.push_back(path);
        }
    }
    return tiles;
}

// Notes, for every cell, the tile that last changed it.
class OwnerScreen final : public DropScreen {
  public:
    OwnerScreen(std::vector<size_t>& owners, size_t firstTile, int32_t columns, int32_t pieceWidth,
                int32_t pieceHeight)
        : m_owners(owners),
          m_firstTile(firstTile),
          m_columns(columns),
          m_pieceWidth(pieceWidth),
          m_pieceHeight(pieceHeight) {}
    void ShowWaitMeter(bool) override {}
    void DrawWaitMeter(int32_t index, int32_t) override {
        m_tile = m_firstTile + static_cast<size_t>(index);
    }
    void FlashCell(const Image&, int32_t x, int32_t y, int32_t, int32_t) override {
        const size_t cell =
            static_cast<size_t>(y / m_pieceHeight) * static_cast<size_t>(m_columns) +
            static_cast<size_t>(x / m_pieceWidth);
        if (cell < m_owners.size()) {
            m_owners[cell] = m_tile;
        }
    }
    void Comment(CommentKind, int32_t) override {}
    void ShowScore(int32_t) override {}

  private:
    std::vector<size_t>& m_owners;
    size_t m_firstTile;
    int32_t m_columns;
    int32_t m_pieceWidth;
    int32_t m_pieceHeight;
    size_t m_tile = 0;
};

// What the drops did together: counts summed, the score before the first and after the last,
// the last drop's comment.
struct MosaicReport {
    DropReport drops;
    std::vector<std::filesystem::path> tiles;
    std::vector<size_t> owners;  // for every cell, its tile
};

void AddDrop(DropReport& total, const DropReport& drop) {
    total.files += drop.files;
    total.processed += drop.processed;
    total.ignored += drop.ignored;
    total.changed += drop.changed;
    total.score = drop.score;
    total.skipped.insert(total.skipped.end(), drop.skipped.begin(), drop.skipped.end());
    total.comment = drop.comment;
}

void WriteMosaicJson(std::ostream& out, const MosaicReport& report) {
    const DropReport& drops = report.drops;
    Json json;
    json["files"] = drops.files;
    json["processed"] = drops.processed;
    json["skipped"] = Json::array();
    for (const auto& path : drops.skipped) {
        json["skipped"].push_back(path.string());
    }
    json["ignored"] = drops.ignored;
    json["changed"] = drops.changed;
    json["old_score"] = drops.oldScore;
    json["score"] = drops.score;
    json["comment"] = drops.comment ? Json(CommentKindName(*drops.comment)) : Json(nullptr);
    std::vector<std::vector<size_t>> cells(report.tiles.size());
    for (size_t c = 0; c < report.owners.size(); ++c) {
        cells[report.owners[c]].push_back(c);
    }
    Json tiles = Json::array();
    for (size_t t = 0; t < report.tiles.size(); ++t) {
        Json tile;
        tile["path"] = report.tiles[t].string();
        tile["cells"] = cells[t];
        tiles.push_back(std::move(tile));
    }
    json["tiles"] = std::move(tiles);
    PrintJson(out, json);
}

}  // namespace

int RunMosaicCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages) {
    const std::optional<MosaicOptions> options = ParseMosaicOptions(args);
    if (!options) {
        std::fprintf(stderr, "usage: tama05-cli %.*s\n", static_cast<int>(kMosaicUsage.size()),
                     kMosaicUsage.data());
        return 2;
    }
    MosaicReport report;
    report.tiles = ExpandTiles(options->tiles);

    // The new puzzle's folder holds the first ten tiles; the fill takes them in its order.
    const size_t seeded = std::min<size_t>(report.tiles.size(), kFillPieces);
    std::vector<std::string> names;
    for (size_t t = 0; t < seeded; ++t) {
        names.push_back(report.tiles[t].filename().string());
    }
    const std::vector<size_t> fillTiles = PieceFolderOrder(names, kFillPieces);
    std::vector<std::filesystem::path> fillFiles;
    for (size_t t : fillTiles) {
        fillFiles.push_back(report.tiles[t]);
    }

    Puzzle puzzle;
    RandomGenerator random(options->seed);
    CommandLineDialogs dialogs(options->answer, {}, options->choice, messages);
    const int threads = PiecePipeline::DefaultThreads();
    const NewPuzzleResult made =
        NewPuzzleFromFiles(puzzle, dialogs, messages, random, fillFiles, threads);
    if (made.outcome != NewPuzzleOutcome::kReady) {
        return 1;
    }
    for (int32_t piece : made.fill->cellPieces) {
        report.owners.push_back(fillTiles[static_cast<size_t>(piece)]);
    }
    report.drops.oldScore = puzzle.PuzzleScore;
    report.drops.score = puzzle.PuzzleScore;

    // The other tiles in drops of at most 256, each with a generator from the seed.
    const Grid grid = puzzle.grid();
    MatchScratch scratch;
    for (size_t first = seeded; first < report.tiles.size(); first += kMaxDropFiles) {
        const size_t count = std::min<size_t>(kMaxDropFiles, report.tiles.size() - first);
        RandomGenerator dropRandom(options->seed);
        OwnerScreen screen(report.owners, first, grid.columns, puzzle.pieceWidth,
                           puzzle.pieceHeight);
        AddDrop(report.drops,
                ProcessDrop(puzzle, std::span(report.tiles).subspan(first, count),
                            DropPictureReader(), screen, dropRandom, scratch, messages, threads));
    }

    // The mosaic itself: a picture at blend 255, or the puzzle file as made.
    const int result =
        SaveOrExport(puzzle, SaveRequest{options->output, options->kind, 255}, messages);
    if (result != 0) {
        return 1;
    }
    if (options->json) {
        WriteMosaicJson(out, report);
    } else {
        out << "tiles " << report.tiles.size() << ", processed "
            << made.fill->pieces.size() + static_cast<size_t>(report.drops.processed);
        if (!report.drops.skipped.empty()) {
            out << ", skipped " << report.drops.skipped.size();
        }
        out << "\nscore " << report.drops.score << '\n';
    }
    return 0;
}

// Its words go to RunMosaicCommand as they are (its own options and usage message).
Verb DefineMosaicVerb(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "mosaic", "Make a whole photomosaic in one process, with no intermediate file.");
    command->prefix_command();
    command->set_help_flag();
    command->add_flag_callback(
        "-h,--help", [] { throw CLI::CallForHelp(); }, "Print this help message and exit");
    SetVerbFooter(*command,
                  "tama05-cli mosaic answer.png photos/ --piece 16x16 -o mosaic.png --json\n"
                  "Words: ANSWER TILES... (--piece WxH | --divisions AxB) "
                  "-o OUT.{png,jpg,jpeg,bmp,tgr} [--seed N] [--json]; a folder among TILES "
                  "stands for its pictures",
                  R"({"files", "processed", "skipped", "ignored", "changed", "old_score", )"
                  R"("score", "comment", "tiles": [{"path", "cells": [cell numbers]}]})",
                  "a file could not be read or written");
    return {command, [command](VerbContext& context) {
                return RunMosaicCommand(command->remaining(), context.out, context.messages);
            }};
}

}  // namespace tama05
