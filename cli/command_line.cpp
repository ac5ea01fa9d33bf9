#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <memory>

namespace tama05 {

namespace {

// Every verb of the tool. A new verb adds its Define function here (declared in verb.h).
constexpr std::array kVerbDefinitions = {
    DefineNewVerb,       DefineDropVerb, DefineInfoVerb,   DefineExportVerb,
    DefineThumbnailVerb, DefineSkinVerb, DefineMosaicVerb, DefineWantedVerb,
};

// The parser with every verb and the help verb.
struct Tool {
    CLI::App app{"The photo-mosaic puzzle's operations from the command line.", "tama05-cli"};
    std::vector<Verb> verbs;
    CLI::App* help = nullptr;
    std::string helpVerb;

    Tool() {
        // A repeated option keeps its last value.
        app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        app.set_version_flag("--version", std::string("tama05-cli ") + TAMA05_VERSION,
                             "Print the version and exit");
        app.require_subcommand(1);
        app.get_formatter()->column_width(34);
        std::vector<std::string> names;
        for (VerbDefinition define : kVerbDefinitions) {
            verbs.push_back(define(app));
            names.push_back(verbs.back().command->get_name());
        }
        help = app.add_subcommand("help", "Show the help of a verb, or this help.");
        help->add_option("VERB", helpVerb, "The verb")->type_name("")->check(CLI::IsMember(names));
        app.footer(
            "Run 'tama05-cli help VERB' or 'tama05-cli VERB --help' for a verb's "
            "arguments, options, JSON members and exit statuses.");
    }
};

}  // namespace

int RunCommandLine(std::span<const std::string> args, VerbContext& context, std::ostream& err) {
    auto tool = std::make_unique<Tool>();
    CLI::App& app = tool->app;
    if (args.empty()) {
        err << app.help();
        return kUsageError;
    }
    if (!args.front().starts_with('-') && args.front() != "help" &&
        std::ranges::none_of(tool->verbs, [&](const Verb& verb) {
            return verb.command->get_name() == args.front();
        })) {
        err << "tama05-cli: " << args.front() << " is not a verb\n" << app.help();
        return kUsageError;
    }
    // The parser takes the words last first.
    std::vector<std::string> words(args.rbegin(), args.rend());
    try {
        app.parse(words);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) {
            return app.exit(e, context.out, err);  // --help, --version
        }
        std::string where = "tama05-cli";
        for (const CLI::App* command : app.get_subcommands()) {
            where += " " + command->get_name();
        }
        err << where << ": " << e.what() << "\nRun '" << where << " --help' for its usage.\n";
        return kUsageError;
    }
    if (tool->help->parsed()) {
        if (tool->helpVerb.empty()) {
            // The tool's own help (app.help() would show the help verb's).
            context.out << app.get_formatter()->make_help(&app, app.get_name(),
                                                          CLI::AppFormatMode::Normal);
        } else {
            context.out << app.get_subcommand(tool->helpVerb)->help(app.get_name());
        }
        return kVerbDone;
    }
    for (const Verb& verb : tool->verbs) {
        if (verb.command->parsed()) {
            return verb.run(context);
        }
    }
    return kUsageError;
}

std::vector<std::string> VerbNames() {
    Tool tool;
    std::vector<std::string> names;
    for (const Verb& verb : tool.verbs) {
        names.push_back(verb.command->get_name());
    }
    return names;
}

}  // namespace tama05
