#include "cli/puzzle_commands.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

#include "assistant/after_drop_comment.h"
#include "assistant/comment_routines.h"
#include "assistant/comment_screen.h"
#include "cli/command_line_dialogs.h"
#include "cli/json_writer.h"
#include "core/atomic_file.h"
#include "core/bmp_file.h"
#include "core/image_file.h"
#include "core/png_file.h"
#include "painter/picture_source.h"
#include "puzzle/drop_reader.h"
#include "puzzle/drop_worker.h"
#include "puzzle/piece_size.h"
#include "puzzle/puzzle_creation.h"
#include "puzzle/puzzle_io.h"
#include "puzzle/save_or_export.h"
#include "puzzlefile/puzzle_file.h"

namespace tama05 {

namespace {

constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

int Usage(std::string_view usage) {
    std::fprintf(stderr, "usage: tama05-cli %.*s\n", static_cast<int>(usage.size()), usage.data());
    return kUsage;
}

std::optional<int64_t> ParseInt(std::string_view text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string LowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

// Prints the characters' lines; pictures and pauses are not shown.
class TextCommentScreen final : public CommentScreen {
  public:
    explicit TextCommentScreen(std::ostream* out) : m_out(out) {}
    void SetPanelLines(CommentPanel panel, const std::string& line1,
                       const std::string& line2) override {
        if (m_out == nullptr) {
            return;
        }
        const char* who = panel == CommentPanel::MESSAGE1 ? "玉五郎" : "こまお";
        *m_out << who << ": " << line1;
        if (!line2.empty()) {
            *m_out << ' ' << line2;
        }
        *m_out << '\n';
    }
    void SetPanelTextParameters(CommentPanel, const PanelTextParameters&) override {}
    void ShowPanelPicture(CommentPanel, const Image&) override {}
    void BlinkPanelPictures(CommentPanel, const Image&, const Image&) override {}
    void Pause(int) override {}
    void InvalidatePanel(CommentPanel) override {}
    void ShowAnswerSlider() override {}

  private:
    std::ostream* m_out;
};

// Runs the comment routine the way the game does, without pictures or pauses.
void SpeakComment(CommentKind kind, int32_t value, RandomGenerator& random, std::ostream* out) {
    TextCommentScreen screen(out);
    const Image noPicture;
    CommentEnvironment environment{
        screen, random,    [](const std::filesystem::path&, Image&, AlphaPlane*) {
                                       return -1; },
        {},     noPicture, noPicture,
        {}};
    RunComment(environment, CommentRoutineFor(kind), value);
}

void WriteInfoMembers(JsonWriter& json, const Puzzle& puzzle, int32_t version) {
    const Grid grid = puzzle.grid();
    json.Member("version", version);
    json.Member("width", puzzle.AnswerImage.width());
    json.Member("height", puzzle.AnswerImage.height());
    json.Member("piece_width", puzzle.pieceWidth);
    json.Member("piece_height", puzzle.pieceHeight);
    json.Member("columns", grid.columns);
    json.Member("rows", grid.rows);
    json.Member("blend", puzzle.BlendValue);
    json.Key("scores");
    json.BeginArray();
    for (int32_t s : puzzle.PieceScores) {
        json.Int(s);
    }
    json.EndArray();
    json.Member("score", puzzle.PuzzleScore);
    json.Key("mean");
    json.Double(MeanPieceScore(puzzle.PieceScores));
}

void WriteInfoText(std::ostream& out, const Puzzle& puzzle, int32_t version) {
    const Grid grid = puzzle.grid();
    char mean[32];
    std::snprintf(mean, sizeof mean, "%3.3f", MeanPieceScore(puzzle.PieceScores));
    out << "version " << version << '\n'
        << "size " << puzzle.AnswerImage.width() << " x " << puzzle.AnswerImage.height() << '\n'
        << "piece " << puzzle.pieceWidth << " x " << puzzle.pieceHeight << '\n'
        << "cells " << grid.columns << " x " << grid.rows << " = " << grid.cellCount() << '\n'
        << "blend " << puzzle.BlendValue << '\n'
        << "score " << puzzle.PuzzleScore << " (" << mean << ")\n";
}

// Opens a puzzle file as the game does; the version is kept for the report.
bool LoadPuzzle(const std::filesystem::path& path, Puzzle& puzzle, int32_t& version,
                MessageSink& messages) {
    if (OpenPuzzleFile(puzzle, path, messages, {}, &version) != 0) {
        messages.ShowMessage("TGRファイルオープンに失敗しました。", "失敗");
        return false;
    }
    puzzle.saveState = SaveState::kSaved;
    puzzle.fileName = path;
    return true;
}

uint32_t TimeSeed() {
    return static_cast<uint32_t>(std::time(nullptr));
}

// The wait meter of a long drop, on stderr when that is a terminal.
class CommandLineDropScreen final : public DropScreen {
  public:
    CommandLineDropScreen() : m_progress(::isatty(STDERR_FILENO) != 0) {}
    void ShowWaitMeter(bool visible) override {
        if (!visible && m_progress && m_shown) {
            std::fputs("\n", stderr);
        }
    }
    void DrawWaitMeter(int32_t index, int32_t count) override {
        if (m_progress && count > 1) {
            std::fprintf(stderr, "\r%d/%d", index + 1, count);
            std::fflush(stderr);
            m_shown = true;
        }
    }
    void FlashCell(const Image&, int32_t, int32_t, int32_t, int32_t) override {}
    void Comment(CommentKind kind, int32_t) override { comment = kind; }
    void ShowScore(int32_t) override {}

    std::optional<CommentKind> comment;

  private:
    bool m_progress;
    bool m_shown = false;
};

}  // namespace

int RunNewCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages) {
    constexpr std::string_view kNewUsage =
        "new ANSWER PIECE_DIR (--piece WxH | --divisions AxB) [--max-pieces N] -o OUT.tgr "
        "[--json]";
    std::vector<std::string> positional;
    std::optional<PieceSizeChoice> choice;
    int64_t maxPieces = kFillPieces;
    std::filesystem::path output;
    bool json = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((arg == "--piece" || arg == "--divisions") && hasValue && !choice) {
            choice = ParsePieceSizeOption(arg, args[++i]);
            if (!choice) {
                return Usage(kNewUsage);
            }
        } else if (arg == "--max-pieces" && hasValue) {
            const auto n = ParseInt(args[++i]);
            if (!n || *n < 1 || *n > kMaxPieceNames) {
                return Usage(kNewUsage);
            }
            maxPieces = *n;
        } else if (arg == "-o" && hasValue) {
            output = args[++i];
        } else if (arg == "--json") {
            json = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage(kNewUsage);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2 || !choice || output.empty()) {
        return Usage(kNewUsage);
    }

    Puzzle puzzle;
    RandomGenerator random(TimeSeed());
    CommandLineDialogs dialogs(positional[0], positional[1], *choice, messages);
    const NewPuzzleResult result =
        NewPuzzle(puzzle, dialogs, messages, random, static_cast<int32_t>(maxPieces));
    if (result.outcome != NewPuzzleOutcome::kReady) {
        return kFailure;
    }
    if (SavePuzzle(puzzle, output, messages) != 0) {
        return kFailure;
    }
    if (json) {
        JsonWriter writer(out);
        writer.BeginObject();
        WriteInfoMembers(writer, puzzle, kPuzzleFileVersion);
        writer.Key("pieces");
        writer.BeginArray();
        for (const std::string& name : result.fill->pieces) {
            writer.String(name);
        }
        writer.EndArray();
        writer.EndObject();
        out << '\n';
    } else {
        WriteInfoText(out, puzzle, kPuzzleFileVersion);
        out << "pieces " << result.fill->pieces.size() << '\n';
        SpeakComment(result.fill->score.comment, result.fill->score.newScore, random, &out);
    }
    return kOk;
}

int RunDropCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages) {
    constexpr std::string_view kDropUsage =
        "drop PUZZLE.tgr FILE... [-o OUT.tgr] [--seed N] [--json]";
    std::vector<std::filesystem::path> positional;
    std::filesystem::path output;
    uint32_t seed = TimeSeed();
    bool json = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "-o" && hasValue) {
            output = args[++i];
        } else if (arg == "--seed" && hasValue) {
            const auto n = ParseInt(args[++i]);
            if (!n || *n < INT32_MIN || *n > UINT32_MAX) {
                return Usage(kDropUsage);
            }
            seed = static_cast<uint32_t>(*n);
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--") {
            positional.insert(positional.end(), args.begin() + static_cast<ptrdiff_t>(i) + 1,
                              args.end());
            break;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Usage(kDropUsage);
        } else {
            positional.emplace_back(arg);
        }
    }
    if (positional.size() < 2) {
        return Usage(kDropUsage);
    }
    const std::filesystem::path puzzlePath = positional[0];
    if (output.empty()) {
        output = puzzlePath;
    }
    Puzzle puzzle;
    int32_t version = 0;
    if (!LoadPuzzle(puzzlePath, puzzle, version, messages)) {
        return kFailure;
    }
    RandomGenerator random(seed);
    CommandLineDropScreen screen;
    MatchScratch scratch;
    const std::span<const std::filesystem::path> files(positional.data() + 1,
                                                       positional.size() - 1);
    // Each file's messages are passed on after the drop, each naming its file.
    NullMessageSink readerMessages;
    const DropReport report = ProcessDrop(puzzle, files, DropPictureReader(), screen, random,
                                          scratch, readerMessages, PiecePipeline::DefaultThreads());
    for (const DropFileMessage& message : report.messages) {
        messages.ShowMessage(message.path.string() + ": " + message.text, message.caption);
    }
    if (report.comment) {
        const int32_t value =
            *report.comment == CommentKind::kScoreUp ? report.score : report.changed;
        SpeakComment(*report.comment, value, random, json ? nullptr : &out);
    }
    if (SavePuzzle(puzzle, output, messages) != 0) {
        return kFailure;
    }
    if (json) {
        JsonWriter writer(out);
        writer.BeginObject();
        writer.Member("files", report.files);
        writer.Member("processed", report.processed);
        writer.Key("skipped");
        writer.BeginArray();
        for (const auto& path : report.skipped) {
            writer.String(path.string());
        }
        writer.EndArray();
        writer.Member("ignored", report.ignored);
        writer.Member("changed", report.changed);
        writer.Member("old_score", report.oldScore);
        writer.Member("score", report.score);
        writer.Key("comment");
        if (report.comment) {
            writer.String(CommentKindName(*report.comment));
        } else {
            writer.Null();
        }
        writer.EndObject();
        out << '\n';
    } else {
        out << "processed " << report.processed << " of " << report.files << " files";
        if (!report.skipped.empty()) {
            out << ", skipped " << report.skipped.size();
        }
        if (report.ignored != 0) {
            out << ", ignored " << report.ignored;
        }
        out << "\nchanged " << report.changed << " cells, score " << report.oldScore << " -> "
            << report.score << '\n';
    }
    return kOk;
}

int RunInfoCommand(std::span<const std::string> args, std::ostream& out, MessageSink& messages) {
    constexpr std::string_view kInfoUsage = "info PUZZLE.tgr [--json]";
    std::vector<std::string> positional;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage(kInfoUsage);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 1) {
        return Usage(kInfoUsage);
    }
    Puzzle puzzle;
    int32_t version = 0;
    if (!LoadPuzzle(positional[0], puzzle, version, messages)) {
        return kFailure;
    }
    if (json) {
        JsonWriter writer(out);
        writer.BeginObject();
        WriteInfoMembers(writer, puzzle, version);
        writer.EndObject();
        out << '\n';
    } else {
        WriteInfoText(out, puzzle, version);
    }
    return kOk;
}

int RunExportCommand(std::span<const std::string> args, std::ostream&, MessageSink& messages) {
    constexpr std::string_view kExportUsage =
        "export PUZZLE.tgr OUT.{jpg,jpeg,png,bmp} [--blend N]";
    std::vector<std::string> positional;
    std::optional<int32_t> blend;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--blend" && i + 1 < args.size()) {
            const auto n = ParseInt(args[++i]);
            if (!n || *n < 0 || *n > 255) {
                return Usage(kExportUsage);
            }
            blend = static_cast<int32_t>(*n);
        } else if (!args[i].empty() && args[i][0] == '-') {
            return Usage(kExportUsage);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) {
        return Usage(kExportUsage);
    }
    const std::filesystem::path target = positional[1];
    const std::optional<SaveKind> kind = SaveKindForExtension(target);
    if (!kind || *kind == SaveKind::kPuzzleFile) {
        return Usage(kExportUsage);
    }
    Puzzle puzzle;
    int32_t version = 0;
    if (!LoadPuzzle(positional[0], puzzle, version, messages)) {
        return kFailure;
    }
    return SaveOrExport(puzzle, SaveRequest{target, *kind, blend}, messages) == 0 ? kOk : kFailure;
}

int RunThumbnailCommand(std::span<const std::string> args, std::ostream&, MessageSink& messages) {
    constexpr std::string_view kThumbnailUsage = "thumbnail PUZZLE.tgr OUT.{png,bmp}";
    if (args.size() != 2) {
        return Usage(kThumbnailUsage);
    }
    const std::filesystem::path target = args[1];
    const std::string extension = LowerExtension(target);
    if (extension != ".png" && extension != ".bmp") {
        return Usage(kThumbnailUsage);
    }
    Image thumbnail;
    if (ReadPuzzleThumbnail(messages, args[0], thumbnail, true) != 0) {
        messages.ShowMessage("TGRファイルオープンに失敗しました。", "失敗");
        return kFailure;
    }
    if (extension == ".png") {
        return WritePngFile(messages, target, thumbnail, nullptr) == 0 ? kOk : kFailure;
    }
    const std::vector<uint8_t> bytes = EncodeBmp(thumbnail);
    if (WriteFileAtomically(target, bytes) != 0) {
        messages.ShowMessage("ファイル生成に失敗しました。", "Error");
        return kFailure;
    }
    return kOk;
}

}  // namespace tama05
