#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/message_sink.h"

namespace tama05 {

// Exit statuses of every verb.
inline constexpr int kVerbDone = 0;
inline constexpr int kVerbFailed = 1;  // the reason went to the messages
inline constexpr int kUsageError = 2;

// Where a verb writes: its report, the messages ("caption: text" on stderr) and, when stderr
// is a terminal, the stream for progress lines (otherwise null).
struct VerbContext {
    std::ostream& out;
    MessageSink& messages;
    std::ostream* progress = nullptr;
};

// A verb of tama05-cli: its subcommand (options and help) and what runs once the words parsed.
struct Verb {
    CLI::App* command = nullptr;
    std::function<int(VerbContext&)> run;
};

// Adds one verb to the tool's parser. Each verb has one such function in its own source, listed
// once in the table of command_line.cpp.
using VerbDefinition = Verb (*)(CLI::App& tool);

Verb DefineNewVerb(CLI::App& tool);
Verb DefineDropVerb(CLI::App& tool);
Verb DefineInfoVerb(CLI::App& tool);
Verb DefineExportVerb(CLI::App& tool);
Verb DefineThumbnailVerb(CLI::App& tool);
Verb DefineSkinVerb(CLI::App& tool);
Verb DefineMosaicVerb(CLI::App& tool);
Verb DefineWantedVerb(CLI::App& tool);

// The closing part of a verb's --help: an example, the members of its --json object (empty
// when it has no JSON) and the meaning of status 1.
void SetVerbFooter(CLI::App& command, std::string_view example, std::string_view jsonMembers,
                   std::string_view failure);

// Value checks shared by the verbs. Numbers are plain decimal ("010" is ten, no hex);
// a refused value is a usage error naming the option.
CLI::Validator DecimalBetween(int64_t min, int64_t max);
// A value DecimalBetween accepted.
int64_t DecimalValue(const std::string& text);
// "WxH": two decimal numbers joined by x or X, e.g. "16x12".
CLI::Validator SizePair();
// The file name ends with one of the extensions (".png"), in any case.
CLI::Validator ExtensionAmong(std::vector<std::string> extensions);
// ".JPG" → ".jpg".
std::string LowerExtension(const std::filesystem::path& path);

}  // namespace tama05
