// docs/cli.md and the bash completion against the verbs' own definitions.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "cli/command_line.h"
#include "text_files.h"

namespace tama05 {
namespace {

const std::filesystem::path kSource = TAMA05_SOURCE_DIR;

std::string Print(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    NullMessageSink messages;
    VerbContext context{out, messages};
    EXPECT_EQ(RunCommandLine(args, context, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    return out.str();
}

std::string Help(const std::string& verb) {
    return Print({"help", verb});
}

// The option names of a help text: "-o,--output OUT.tgr" gives -o and --output.
std::set<std::string> OptionsIn(const std::string& help) {
    std::set<std::string> options;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        const size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line[start] != '-') {
            continue;
        }
        std::istringstream names(line.substr(start, line.find(' ', start) - start));
        for (std::string name; std::getline(names, name, ',');) {
            options.insert(name);
        }
    }
    return options;
}

std::set<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::set<std::string> words;
    for (std::string word; in >> word;) {
        words.insert(word);
    }
    return words;
}

// The text between `prefix` and the next quote.
std::string QuotedAfter(const std::string& text, const std::string& prefix) {
    const size_t at = text.find(prefix);
    if (at == std::string::npos) {
        return {};
    }
    const size_t start = at + prefix.size();
    return text.substr(start, text.find('"', start) - start);
}

TEST(CliDocs, EveryVerbsHelpIsInTheGuide) {
    const std::filesystem::path guide = kSource / "docs/cli.md";
    const std::string text = test::ReadFile(guide);
    const std::string marker =
        "<!-- Everything below is written from `tama05-cli help VERB`. -->\n";
    const size_t at = text.find(marker);
    ASSERT_NE(at, std::string::npos);
    std::string generated;
    for (const std::string& verb : VerbNames()) {
        const std::string help = Help(verb);
        EXPECT_NE(help.find("Example:\n  tama05-cli " + verb), std::string::npos) << help;
        EXPECT_NE(help.find("Exit status: 0"), std::string::npos) << help;
        EXPECT_EQ(Print({verb, "--help"}), help);
        generated += "\n### " + verb + "\n\n```\n" + help + "```\n";
    }
    if (std::getenv("TAMA05_WRITE_CLI_REFERENCE") != nullptr) {
        test::WriteFile(guide, text.substr(0, at + marker.size()) + generated);
        return;
    }
    EXPECT_EQ(text.substr(at + marker.size()), generated)
        << "docs/cli.md is behind the verbs' --help";
}

TEST(CliDocs, VersionAndTheToolsHelp) {
    const std::string version = Print({"--version"});
    EXPECT_TRUE(version.starts_with("tama05-cli ") && std::isdigit(version[11])) << version;
    const std::string help = Print({"--help"});
    EXPECT_EQ(Print({"help"}), help);
    for (const std::string& verb : VerbNames()) {
        EXPECT_NE(help.find("\n  " + verb + " "), std::string::npos) << verb;
    }
}

TEST(CliDocs, CompletionOffersEveryVerbAndOption) {
    const std::string script = test::ReadFile(kSource / "cli/tama05-cli.bash-completion");
    std::set<std::string> verbs = {"help"};
    for (const std::string& verb : VerbNames()) {
        verbs.insert(verb);
        const std::set<std::string> offered =
            Words(QuotedAfter(script, "    " + verb + ") options=\""));
        for (const std::string& option : OptionsIn(Help(verb))) {
            EXPECT_TRUE(offered.contains(option)) << verb << " " << option;
        }
    }
    EXPECT_EQ(Words(QuotedAfter(script, "local verbs=\"")), verbs);
}

}  // namespace
}  // namespace tama05
