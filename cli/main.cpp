// tama05-cli: the game's operations from the command line, one verb per command.
#include <array>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/mosaic_command.h"
#include "cli/puzzle_commands.h"
#include "cli/skin_command.h"
#include "cli/wanted_command.h"
#include "core/message_sink.h"

namespace {

using Command = int (*)(std::span<const std::string>, std::ostream&, tama05::MessageSink&);

struct Verb {
    std::string_view name;
    Command run;
};

constexpr std::array<Verb, 8> kVerbs = {{
    {"new", tama05::RunNewCommand},
    {"drop", tama05::RunDropCommand},
    {"info", tama05::RunInfoCommand},
    {"export", tama05::RunExportCommand},
    {"thumbnail", tama05::RunThumbnailCommand},
    {"skin", tama05::RunSkinCommand},
    {"mosaic", tama05::RunMosaicCommand},
    {"wanted", tama05::RunWantedCommand},
}};

int Usage() {
    std::cerr << "usage: tama05-cli VERB ARGS...\nverbs:";
    for (const Verb& verb : kVerbs) {
        std::cerr << ' ' << verb.name;
    }
    std::cerr << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    const std::string_view name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    tama05::StderrMessageSink messages;
    for (const Verb& verb : kVerbs) {
        if (verb.name == name) {
            return verb.run(args, std::cout, messages);
        }
    }
    return Usage();
}
