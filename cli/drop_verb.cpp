// tama05-cli drop: files dropped on a puzzle, as on the game's window.
#include <ctime>
#include <memory>

#include "cli/drop_report_json.h"
#include "cli/progress_line.h"
#include "cli/puzzle_summary.h"
#include "cli/spoken_comment.h"
#include "cli/verb.h"
#include "core/file_lock.h"
#include "puzzle/drop_reader.h"
#include "puzzle/drop_worker.h"
#include "puzzle/puzzle_io.h"

namespace tama05 {

namespace {

struct DropOptions {
    std::string puzzle;
    std::vector<std::string> files;
    std::string output;
    std::string seed;
    bool json = false;
    bool quiet = false;
    bool noWait = false;
};

// The drop's wait meter as a progress line; the comment is spoken by the verb.
class CommandLineDropScreen final : public DropScreen {
  public:
    explicit CommandLineDropScreen(std::ostream* progress) : m_progress(progress) {}
    void ShowWaitMeter(bool visible) override {
        if (!visible) {
            if (m_count > 0) {
                m_progress.Update(m_count, m_count);
            }
            m_progress.Finish();
        }
    }
    // A single file needs no progress line.
    void DrawWaitMeter(int32_t index, int32_t count) override {
        if (count > 1) {
            m_count = count;
            m_progress.Update(index, count);
        }
    }
    void FlashCell(const Image&, int32_t, int32_t, int32_t, int32_t) override {}
    void Comment(CommentKind, int32_t) override {}
    void ShowScore(int32_t) override {}

  private:
    ProgressLine m_progress;
    int32_t m_count = 0;
};

int RunDrop(const DropOptions& options, VerbContext& context) {
    const std::filesystem::path output = options.output.empty() ? options.puzzle : options.output;
    const auto seed = options.seed.empty() ? static_cast<uint32_t>(std::time(nullptr))
                                           : static_cast<uint32_t>(DecimalValue(options.seed));
    Puzzle puzzle;
    int32_t version = 0;
    // The puzzle file stays locked from reading to saving, so that two drops on the same file
    // never lose one's update: the second waits for the first, or with --no-wait fails at once.
    // A file that cannot be opened is left to the reading to report.
    FileLock lock;
    if (lock.Lock(options.puzzle, !options.noWait) == FileLock::Result::kBusy) {
        context.messages.ShowMessage(
            "パズルファイルは他のプログラムが使用中です。\n" + options.puzzle, "失敗");
        return kVerbFailed;
    }
    if (!LoadPuzzle(options.puzzle, puzzle, version, context.messages)) {
        return kVerbFailed;
    }
    RandomGenerator random(seed);
    CommandLineDropScreen screen(options.quiet ? nullptr : context.progress);
    MatchScratch scratch;
    const std::vector<std::filesystem::path> files(options.files.begin(), options.files.end());
    // Each file's messages are passed on after the drop, each naming its file.
    NullMessageSink readerMessages;
    const DropReport report = ProcessDrop(puzzle, files, DropPictureReader(), screen, random,
                                          scratch, readerMessages, PiecePipeline::DefaultThreads());
    for (const DropFileMessage& message : report.messages) {
        context.messages.ShowMessage(message.path.string() + ": " + message.text, message.caption);
    }
    if (report.comment) {
        SpeakComment(*report.comment, report.commentValue, random,
                     options.json ? nullptr : &context.out);
    }
    if (SavePuzzle(puzzle, output, context.messages) != 0) {
        return kVerbFailed;
    }
    if (options.json) {
        Json json;
        json["files"] = report.files;
        json["processed"] = report.processed;
        json["skipped"] = Json::array();
        for (const auto& path : report.skipped) {
            json["skipped"].push_back(path.string());
        }
        json["ignored"] = report.ignored;
        json["changed"] = report.changed;
        json["old_score"] = report.oldScore;
        json["score"] = report.score;
        json["comment"] = report.comment ? Json(CommentKindName(*report.comment)) : Json(nullptr);
        json["report"] = DropReportJson(report);
        PrintJson(context.out, json);
    } else {
        std::ostream& out = context.out;
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
    return kVerbDone;
}

}  // namespace

Verb DefineDropVerb(CLI::App& tool) {
    CLI::App* command =
        tool.add_subcommand("drop", "Drop pictures on a puzzle, as on the game's window.");
    auto options = std::make_shared<DropOptions>();
    command->add_option("PUZZLE", options->puzzle, "The puzzle file (.tgr)")
        ->type_name("")
        ->required();
    command
        ->add_option("FILE", options->files,
                     "The dropped files, in order (at most 256 are used); after -- a name "
                     "may begin with -")
        ->required();
    command
        ->add_option("-o,--output", options->output,
                     "Write the puzzle there instead of over PUZZLE")
        ->type_name("OUT.tgr");
    command
        ->add_option("--seed", options->seed,
                     "Seed of the comment's random choices, -2147483648 to 4294967295 "
                     "(default: the time)")
        ->type_name("N")
        ->check(DecimalBetween(INT32_MIN, UINT32_MAX));
    command->add_flag("--json", options->json, "Print the report as JSON (no comment lines)");
    command->add_flag("-q,--quiet", options->quiet, "No progress line on a terminal");
    command->add_flag("--no-wait", options->noWait,
                      "Fail at once when another program holds the puzzle file's lock");
    SetVerbFooter(*command, "tama05-cli drop puzzle.tgr photos/*.jpg --seed 7 --json",
                  R"({"files", "processed", "skipped": [names not read], "ignored", "changed", )"
                  R"("old_score", "score", "comment": name or null})",
                  "the puzzle could not be opened or written");
    return {command, [options](VerbContext& context) { return RunDrop(*options, context); }};
}

}  // namespace tama05
