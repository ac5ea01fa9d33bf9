// tama05-cli's outputs compared with references captured from the program before its argument
// parser and JSON writer were replaced: every verb, status, message and JSON member is kept.
// TAMA05_WRITE_CLI_REFERENCE=1 rewrites the references instead of comparing (only to record a
// deliberate change of output).
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "cli_run.h"
#include "core/atomic_file.h"
#include "core/bmp_file.h"
#include "core/message_sink.h"
#include "core/png_file.h"
#include "temp_folder.h"
#include "test_pictures.h"
#include "text_files.h"

namespace tama05 {
namespace {

using nlohmann::ordered_json;

struct Case {
    std::string name;
    std::vector<std::string> args;  // "$DIR" stands for the scratch folder
};

// Same keys in the same order, same types, numbers bit for bit.
void ExpectSameJson(const ordered_json& expected, const ordered_json& actual,
                    const std::string& where) {
    ASSERT_EQ(expected.type(), actual.type()) << where << ": " << expected << " / " << actual;
    if (expected.is_object()) {
        ASSERT_EQ(expected.size(), actual.size()) << where;
        auto a = actual.begin();
        for (auto e = expected.begin(); e != expected.end(); ++e, ++a) {
            ASSERT_EQ(e.key(), a.key()) << where;
            ExpectSameJson(e.value(), a.value(), where + "." + e.key());
        }
    } else if (expected.is_array()) {
        ASSERT_EQ(expected.size(), actual.size()) << where;
        for (size_t i = 0; i < expected.size(); ++i) {
            ExpectSameJson(expected[i], actual[i], where + "[" + std::to_string(i) + "]");
        }
    } else if (expected.is_number_float()) {
        EXPECT_EQ(std::bit_cast<uint64_t>(expected.get<double>()),
                  std::bit_cast<uint64_t>(actual.get<double>()))
            << where << ": " << expected << " / " << actual;
    } else {
        EXPECT_EQ(expected, actual) << where;
    }
}

class CliOutputTest : public ::testing::Test {
  protected:
    std::string Dir() const { return folder.path().string(); }
    void Png(const std::string& name, const Image& image) {
        NullMessageSink quiet;
        ASSERT_EQ(WritePngFile(quiet, folder.path() / name, image, nullptr), 0);
    }

    // Pictures of random bytes, so that scores differ and the mean is not whole.
    void MakeInput() {
        std::mt19937 rng(20);
        std::filesystem::create_directories(folder.path() / "pieces");
        std::filesystem::create_directories(folder.path() / "empty");
        std::filesystem::create_directories(folder.path() / "skin");
        Png("answer.png", test::RandomImage(20, 12, rng));
        for (int i = 0; i < 4; ++i) {
            Png("pieces/p" + std::to_string(i) + ".png", test::RandomImage(8, 8, rng));
        }
        ASSERT_EQ(WriteFileAtomically(folder.path() / "pieces/b0.bmp",
                                      EncodeBmp(test::SolidImage(9, 7, 30, 40, 50))),
                  0);
        Png("exact.png", test::SolidImage(5, 5, 100, 150, 200));
        Png("noise.png", test::RandomImage(30, 30, rng));
        test::WriteFile(folder.path() / "notes.txt", "not a picture");
        test::WriteFile(folder.path() / "bad.tgr", "tgr file 01 but nothing else");
        test::WriteFile(folder.path() / "text.tgr", "hello");
        test::WriteFile(folder.path() / "skin/skin.txt",
                        "VERSION=3\r\nCLOSE_L=\r\nCLOSE_T=7\r\nPOINT_DISP_COLOR_R=300\r\n");
    }

    test::CliRun Run(const Case& c) {
        std::vector<std::string> args;
        for (std::string arg : c.args) {
            if (arg.starts_with("$DIR")) {
                arg = Dir() + arg.substr(4);
            }
            args.push_back(arg);
        }
        test::CliRun run = test::RunCli(args, folder.path());
        for (std::string* text : {&run.out, &run.err}) {
            for (size_t at; (at = text->find(Dir())) != std::string::npos;) {
                text->replace(at, Dir().size(), "$DIR");
            }
        }
        return run;
    }

    test::TempFolder folder;
};

// A new puzzle's comment is chosen at random: its character lines are left out.
std::string WithoutSpokenLines(const std::string& text) {
    std::string kept;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(start, end - start);
        if (!line.starts_with("玉五郎: ") && !line.starts_with("こまお: ")) {
            kept += line;
        }
        start = end;
    }
    return kept;
}

TEST_F(CliOutputTest, EveryVerbWritesWhatItWroteBefore) {
    MakeInput();
    std::vector<std::string> many = {"drop", "$DIR/a.tgr", "-o", "$DIR/m.tgr", "--json"};
    for (int i = 0; i < 257; ++i) {
        many.push_back("$DIR/exact.png");
    }
    // In order: later cases read the puzzles earlier ones made.
    const std::vector<Case> cases = {
        {"new_json",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "4x4", "-o", "$DIR/a.tgr", "--json"}},
        {"new_text",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "5x3", "-o", "$DIR/t.tgr"}},
        {"new_divisions_json",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--max-pieces", "2", "--divisions", "3X2", "-o",
          "$DIR/b.tgr", "--json"}},
        {"info_json", {"info", "$DIR/a.tgr", "--json"}},
        {"info_text", {"info", "$DIR/a.tgr"}},
        {"drop_json",
         {"drop", "$DIR/a.tgr", "$DIR/noise.png", "$DIR/notes.txt", "$DIR/gone.jpg", "--seed", "7",
          "-o", "$DIR/c.tgr", "--json"}},
        {"drop_text",
         {"drop", "--seed", "-3", "$DIR/a.tgr", "$DIR/noise.png", "$DIR/notes.txt", "-o",
          "$DIR/d.tgr"}},
        {"drop_exact_json",
         {"drop", "--json", "--seed", "4294967295", "-o", "$DIR/e.tgr", "--", "$DIR/c.tgr",
          "$DIR/exact.png"}},
        {"drop_too_many_json", many},
        {"info_after_drop_json", {"info", "--json", "$DIR/c.tgr"}},
        {"info_after_drop_text", {"info", "$DIR/e.tgr"}},
        {"export_png", {"export", "$DIR/a.tgr", "$DIR/x.PNG", "--blend", "128"}},
        {"export_jpeg", {"export", "$DIR/a.tgr", "$DIR/x.jpeg"}},
        {"thumbnail_bmp", {"thumbnail", "$DIR/a.tgr", "$DIR/t.bmp"}},
        {"skin_json", {"skin", "$DIR/skin", "--json"}},
        {"skin_text", {"skin", "$DIR/skin"}},
        {"info_corrupt", {"info", "$DIR/bad.tgr"}},
        {"info_not_puzzle", {"info", "$DIR/text.tgr", "--json"}},
        {"drop_missing_puzzle", {"drop", "$DIR/none.tgr", "$DIR/exact.png"}},
        {"new_piece_too_small",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "1x4", "-o", "$DIR/f.tgr"}},
        {"new_empty_folder",
         {"new", "$DIR/answer.png", "$DIR/empty", "--piece", "4x4", "-o", "$DIR/f.tgr"}},
        {"new_missing_answer",
         {"new", "$DIR/none.png", "$DIR/pieces", "--piece", "4x4", "-o", "$DIR/f.tgr", "--json"}},
        {"thumbnail_corrupt", {"thumbnail", "$DIR/bad.tgr", "$DIR/t.png"}},
        {"skin_missing", {"skin", "$DIR/empty", "--json"}},
        // Usage errors: only the status is kept, the wording is the parser's.
        {"usage_nothing", {}},
        {"usage_unknown_verb", {"frobnicate"}},
        {"usage_new_no_size", {"new", "$DIR/answer.png", "$DIR/pieces", "-o", "$DIR/f.tgr"}},
        {"usage_new_two_sizes",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "4x4", "--divisions", "2x2", "-o",
          "$DIR/f.tgr"}},
        {"usage_new_bad_pair",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "4", "-o", "$DIR/f.tgr"}},
        {"usage_new_negative_pair",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "-4x4", "-o", "$DIR/f.tgr"}},
        {"usage_new_max_pieces",
         {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "4x4", "--max-pieces", "129", "-o",
          "$DIR/f.tgr"}},
        {"usage_new_no_output", {"new", "$DIR/answer.png", "$DIR/pieces", "--piece", "4x4"}},
        {"usage_new_three_words",
         {"new", "$DIR/answer.png", "$DIR/pieces", "x", "--piece", "4x4", "-o", "$DIR/f.tgr"}},
        {"usage_drop_no_files", {"drop", "$DIR/a.tgr"}},
        {"usage_drop_bad_seed", {"drop", "$DIR/a.tgr", "$DIR/exact.png", "--seed", "4294967296"}},
        {"usage_drop_hex_seed", {"drop", "$DIR/a.tgr", "$DIR/exact.png", "--seed", "0x10"}},
        {"usage_drop_unknown_option", {"drop", "$DIR/a.tgr", "$DIR/exact.png", "--fast"}},
        {"usage_info_two", {"info", "$DIR/a.tgr", "$DIR/b.tgr"}},
        {"usage_info_option", {"info", "$DIR/a.tgr", "--seed", "1"}},
        {"usage_export_gif", {"export", "$DIR/a.tgr", "$DIR/x.gif"}},
        {"usage_export_blend", {"export", "$DIR/a.tgr", "$DIR/x.png", "--blend", "256"}},
        {"usage_export_one", {"export", "$DIR/a.tgr"}},
        {"usage_thumbnail_jpg", {"thumbnail", "$DIR/a.tgr", "$DIR/t.jpg"}},
        {"usage_skin_nothing", {"skin", "--json"}},
        {"usage_skin_option", {"skin", "$DIR/skin", "--all"}},
    };
    const bool write = std::getenv("TAMA05_WRITE_CLI_REFERENCE") != nullptr;
    const std::filesystem::path references =
        std::filesystem::path(TAMA05_SOURCE_DIR) / "tests/cli/reference";
    for (const Case& c : cases) {
        const test::CliRun run = Run(c);
        ordered_json record = {{"args", c.args}, {"exit", run.status}};
        if (run.status != 2) {
            record["stdout"] = c.name == "new_text" ? WithoutSpokenLines(run.out) : run.out;
            record["stderr"] = run.err;
        }
        const std::filesystem::path file = references / (c.name + ".json");
        if (write) {
            test::WriteFile(file, record.dump(1) + "\n");
            continue;
        }
        SCOPED_TRACE(c.name);
        const ordered_json expected = ordered_json::parse(test::ReadFile(file));
        ASSERT_EQ(expected["exit"], run.status) << run.err;
        if (run.status == 2) {
            EXPECT_FALSE(run.err.empty());
            continue;
        }
        EXPECT_EQ(expected["stderr"].get<std::string>(), run.err);
        const std::string expectedOut = expected["stdout"].get<std::string>();
        const std::string& out = record["stdout"].get_ref<const std::string&>();
        if (expectedOut.starts_with('{')) {
            ExpectSameJson(ordered_json::parse(expectedOut), ordered_json::parse(out), c.name);
            EXPECT_EQ(out.back(), '\n');
        } else {
            EXPECT_EQ(expectedOut, out);
        }
    }
}

}  // namespace
}  // namespace tama05
