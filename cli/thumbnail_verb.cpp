// tama05-cli thumbnail: the small picture a puzzle file carries for file dialogs.
#include <memory>

#include "cli/verb.h"
#include "core/atomic_file.h"
#include "core/bmp_file.h"
#include "core/png_file.h"
#include "puzzlefile/puzzle_file.h"

namespace tama05 {

Verb DefineThumbnailVerb(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "thumbnail", "Write the thumbnail stored in a puzzle file as a PNG or BMP picture.");
    struct Options {
        std::string puzzle;
        std::string target;
    };
    auto options = std::make_shared<Options>();
    command->add_option("PUZZLE", options->puzzle, "The puzzle file (.tgr)")
        ->type_name("")
        ->required();
    command
        ->add_option("OUT", options->target,
                     "The picture to write; its extension (.png, .bmp) chooses the format")
        ->required()
        ->check(ExtensionAmong({".png", ".bmp"}));
    SetVerbFooter(*command, "tama05-cli thumbnail puzzle.tgr thumbnail.png", "",
                  "the puzzle could not be read or the picture not written");
    return {command, [options](VerbContext& context) {
                MessageSink& messages = context.messages;
                const std::filesystem::path target = options->target;
                Image thumbnail;
                if (ReadPuzzleThumbnail(messages, options->puzzle, thumbnail, true) != 0) {
                    messages.ShowMessage("TGRファイルオープンに失敗しました。", "失敗");
                    return kVerbFailed;
                }
                if (LowerExtension(target) == ".png") {
                    return WritePngFile(messages, target, thumbnail, nullptr) == 0 ? kVerbDone
                                                                                   : kVerbFailed;
                }
                if (WriteFileAtomically(target, EncodeBmp(thumbnail)) != 0) {
                    messages.ShowMessage("ファイル生成に失敗しました。", "Error");
                    return kVerbFailed;
                }
                return kVerbDone;
            }};
}

}  // namespace tama05
