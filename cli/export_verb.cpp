// tama05-cli export: the mosaic blended with the answer, as a picture file.
#include <memory>
#include <optional>

#include "cli/puzzle_summary.h"
#include "cli/verb.h"
#include "puzzle/save_or_export.h"

namespace tama05 {

namespace {

struct ExportOptions {
    std::string puzzle;
    std::string target;
    std::string blend;
};

int RunExport(const ExportOptions& options, VerbContext& context) {
    MessageSink& messages = context.messages;
    const std::filesystem::path target = options.target;
    const std::optional<SaveKind> kind = SaveKindForExtension(target);  // checked when parsed
    Puzzle puzzle;
    int32_t version = 0;
    if (!LoadPuzzle(options.puzzle, puzzle, version, messages)) {
        return kVerbFailed;
    }
    std::optional<int32_t> blend;
    if (!options.blend.empty()) {
        blend = static_cast<int32_t>(DecimalValue(options.blend));
    }
    const int result = SaveOrExport(puzzle, SaveRequest{target, *kind, blend}, messages);
    return result == 0 ? kVerbDone : kVerbFailed;
}

}  // namespace

Verb DefineExportVerb(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "export", "Write the mosaic blended with the answer as a JPEG, PNG or BMP picture.");
    auto options = std::make_shared<ExportOptions>();
    command->add_option("PUZZLE", options->puzzle, "The puzzle file (.tgr)")
        ->type_name("")
        ->required();
    command
        ->add_option("OUT", options->target,
                     "The picture to write; its extension (.jpg, .jpeg, .png, .bmp) chooses the "
                     "format")
        ->required()
        ->check(ExtensionAmong({".jpg", ".jpeg", ".png", ".bmp"}));
    command
        ->add_option("--blend", options->blend,
                     "How much of the mosaic shows over the answer, 0 (the answer) to 255 (the "
                     "mosaic); default: the puzzle's own")
        ->type_name("N")
        ->check(DecimalBetween(0, 255));
    SetVerbFooter(*command, "tama05-cli export puzzle.tgr mosaic.png --blend 200", "",
                  "the puzzle could not be opened or the picture not written");
    return {command, [options](VerbContext& context) { return RunExport(*options, context); }};
}

}  // namespace tama05
