#include "cli/verb.h"

#include "cli/command_line_dialogs.h"

#include <algorithm>
#include <charconv>

namespace tama05 {

namespace {

std::optional<int64_t> ParseDecimal(std::string_view text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

void SetVerbFooter(CLI::App& command, std::string_view example, std::string_view jsonMembers,
                   std::string_view failure) {
    std::string footer = "Example:\n  " + std::string(example) + "\n";
    if (!jsonMembers.empty()) {
        footer += "\nJSON (--json), one object on one line:\n  " + std::string(jsonMembers) + "\n";
    }
    footer += "\nExit status: 0 done; 1 " + std::string(failure) +
              " (the message is on stderr); 2 usage error.";
    command.footer(footer);
}

CLI::Validator DecimalBetween(int64_t min, int64_t max) {
    return CLI::Validator(
        [min, max](std::string& text) -> std::string {
            const auto value = ParseDecimal(text);
            if (!value || *value < min || *value > max) {
                return "Value " + text + " is not a whole number from " + std::to_string(min) +
                       " to " + std::to_string(max);
            }
            return {};
        },
        "");
}

int64_t DecimalValue(const std::string& text) {
    return ParseDecimal(text).value_or(0);
}

CLI::Validator SizePair() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (!ParsePieceSizeOption("--piece", text)) {
                return "Value " + text + " is not two whole numbers joined by x, as 16x12";
            }
            return {};
        },
        "");
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

CLI::Validator ExtensionAmong(std::vector<std::string> extensions) {
    std::string names;
    for (const std::string& extension : extensions) {
        names += (names.empty() ? "" : ", ") + extension;
    }
    return CLI::Validator(
        [extensions, names](std::string& text) -> std::string {
            const std::string extension = LowerExtension(text);
            if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end()) {
                return "File " + text + " does not end in one of " + names;
            }
            return {};
        },
        "");
}

}  // namespace tama05
