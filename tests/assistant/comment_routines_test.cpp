#include "assistant/comment_routines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_comment_screen.h"

namespace tama05 {
namespace {

using test::FakePictureFiles;
using test::RecordingCommentScreen;
using Log = std::vector<std::string>;

// A seed whose first value modulo n is the wanted row.
uint32_t SeedForRow(int n, int row) {
    for (uint32_t seed = 1;; ++seed) {
        RandomGenerator probe(seed);
        if (probe.Next() % n == row) {
            return seed;
        }
    }
}

// Panel skin settings with values that cannot be confused with each other.
CommentTextSkin TestSkin() {
    CommentTextSkin skin;
    skin.pointDisp = {ColorFromRgb(255, 0, 0), 30, 40, 12};
    skin.message1 = {ColorFromRgb(0, 0, 255), 14, 6, 4};
    skin.message2 = {ColorFromRgb(0, 255, 0), 13, 8, 5};
    return skin;
}

class CommentRoutinesTest : public ::testing::Test {
  protected:
    CommentRoutinesTest() {
        for (const std::string& name : CommentPictureNames()) {
            files.Add(name);
        }
        scoreBase.CreateFilled(4, 3, 0);
        assistantBase.CreateFilled(4, 3, 0);
    }

    CommentEnvironment Environment() {
        return CommentEnvironment{screen,    random,        files.Loader(), folder,
                                  scoreBase, assistantBase, TestSkin()};
    }

    Log log;
    RecordingCommentScreen screen{log};
    FakePictureFiles files{log};
    RandomGenerator random{1};
    std::filesystem::path folder = CommentPictureFolder("tama05");
    Image scoreBase;
    Image assistantBase;
};

// The six shows and five pauses of a blinking pair.
Log Blink(const std::string& panel, const std::string& first, const std::string& second) {
    Log shows;
    for (int i = 0; i < 6; ++i) {
        shows.push_back("show " + panel + " " + (i % 2 == 0 ? first : second));
        if (i < 5) {
            shows.push_back("pause 100");
        }
    }
    return shows;
}

Log Concat(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST_F(CommentRoutinesTest, IdleShakeRowBlinksBothAndMovesTheScore) {
    random.Seed(SeedForRow(29, 7));
    EXPECT_EQ(CommentIdle(Environment()), 7);
    const Log expected = Concat({
        {"lines MESSAGE1 [イヤイヤ攻撃～～～～] [イヤイヤイヤイヤイヤイヤイヤイヤ]",
         "load point_disp_ki7.tgp", "load point_disp_ki6.tgp",
         "params POINT_DISP color 255 font 30 at 24,12",
         "params MESSAGE1 color 16711680 font 14 at 6,4"},
        Blink("POINT_DISP", "point_disp_ki7.tgp", "point_disp_ki6.tgp"),
        {"lines MESSAGE2 [イヤイヤイヤイヤイヤイヤイヤイヤ] []", "load assistant_disp_ki5.tgp",
         "load assistant_disp_ki6.tgp", "params MESSAGE2 color 65280 font 13 at 8,5"},
        Blink("ASSISTANT_DISP", "assistant_disp_ki5.tgp", "assistant_disp_ki6.tgp"),
        {"repaint POINT_DISP", "repaint MESSAGE1", "repaint MESSAGE2"},
    });
    EXPECT_EQ(log, expected);
    // Pictures are read by full path from the picture folder.
    ASSERT_FALSE(files.requested.empty());
    EXPECT_EQ(files.requested[0], std::filesystem::path("tama05") / "skin" / "point_disp_ki7.tgp");
}

TEST_F(CommentRoutinesTest, IdleRowTenFillsEightyEight) {
    random.Seed(SeedForRow(29, 10));
    EXPECT_EQ(CommentIdle(Environment()), 10);
    EXPECT_EQ(log.front(),
              "lines MESSAGE1 [スコアが88点になると、こまおくんの] "
              "[ずっと右にスライダーが現れます。]");
}

TEST_F(CommentRoutinesTest, RowWithoutPartnersShowsEachPictureOnce) {
    random.Seed(SeedForRow(10, 0));
    EXPECT_EQ(CommentPiecesChanged(Environment(), 5), 0);
    const Log expected = {
        "lines MESSAGE1 [5枚入れ替わりまちた。] [よろこばちい。]",
        "load point_disp_ki4.tgp",
        "params POINT_DISP color 255 font 30 at 40,12",
        "params MESSAGE1 color 16711680 font 14 at 6,4",
        "show POINT_DISP point_disp_ki4.tgp",
        "lines MESSAGE2 [玉五郎様はお慶びでございます。] []",
        "load assistant_disp_normal1.tgp",
        "params MESSAGE2 color 65280 font 13 at 8,5",
        "show ASSISTANT_DISP assistant_disp_normal1.tgp",
        "repaint POINT_DISP",
        "repaint MESSAGE1",
        "repaint MESSAGE2",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(CommentRoutinesTest, ScoreUpBelowTheSliderScoreUsesRowsTwoToNine) {
    // 2 + r mod 8 = 2 needs r mod 8 = 0.
    random.Seed(SeedForRow(8, 0));
    EXPECT_EQ(CommentScoreUp(Environment(), 50), 2);
    EXPECT_EQ(log.front(),
              "lines MESSAGE1 [トレビヤ～～ン。50にアップちまちた！] [すばらちいです。]");
    EXPECT_EQ(screen.current[CommentPanel::POINT_DISP].x, 40 + 14);
    for (const std::string& line : log) {
        EXPECT_NE(line, "slider");
    }
    for (uint32_t seed = 1; seed < 200; ++seed) {
        random.Seed(seed);
        const int row = CommentScoreUp(Environment(), 87);
        EXPECT_GE(row, 2);
        EXPECT_LE(row, 9);
    }
}

TEST_F(CommentRoutinesTest, ScoreUpAtTheSliderScoreShowsTheSliderFirst) {
    random.Seed(SeedForRow(2, 0));
    EXPECT_EQ(CommentScoreUp(Environment(), 90), 0);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "slider");
    EXPECT_EQ(log[1],
              "lines MESSAGE1 [おほほ～～～。やりまちた！] [ついに、90点です！ありがとう～！]");
    EXPECT_EQ(screen.current[CommentPanel::POINT_DISP], (PanelTextParameters{255, 30, 35, -6}));

    log.clear();
    random.Seed(SeedForRow(2, 1));
    EXPECT_EQ(CommentScoreUp(Environment(), 88), 1);
    EXPECT_EQ(
        log[1],
        "lines MESSAGE1 [おっちゃー！こまおく～ん、88点いったよ！] [トレ、トレビヤ～～～ン。]");
}

TEST_F(CommentRoutinesTest, TooManyFilesFillsTheLimitWithoutDrawing) {
    RandomGenerator untouched(random);
    EXPECT_EQ(CommentTooManyFiles(Environment()), 0);
    EXPECT_EQ(random.Next(), untouched.Next());
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[0],
              "lines MESSAGE1 [ドラッグ＆ドロップできるファイルは] [256枚までです。ご注意を。]");
    EXPECT_EQ(log[5], "lines MESSAGE2 [256枚を超えた分については無視されます。] []");
}

TEST_F(CommentRoutinesTest, GoodDropRowSevenLeavesTheSecondLineEmpty) {
    random.Seed(SeedForRow(10, 7));
    EXPECT_EQ(CommentGoodDrop(Environment()), 7);
    EXPECT_EQ(log.front(), "lines MESSAGE1 [ラッキー、ラッキー、ラッキー、ラッキー] []");
}

TEST_F(CommentRoutinesTest, ScoreOffsetAndFontChangeLastUntilRestored) {
    const CommentTextSkin skin = TestSkin();
    random.Seed(SeedForRow(29, 7));
    CommentIdle(Environment());
    EXPECT_EQ(screen.current[CommentPanel::POINT_DISP].x, skin.pointDisp.x - 16);

    // An assistant-only comment leaves the mascot's panels as they are.
    random.Seed(1);
    CommentSkinAssistant(Environment());
    EXPECT_EQ(screen.current[CommentPanel::POINT_DISP].x, skin.pointDisp.x - 16);

    // The next mascot comment puts the score back.
    random.Seed(SeedForRow(12, 0));
    CommentPoorResult(Environment());
    EXPECT_EQ(screen.current[CommentPanel::POINT_DISP], skin.pointDisp);

    random.Seed(SeedForRow(29, 21));
    CommentIdle(Environment());
    EXPECT_EQ(screen.current[CommentPanel::MESSAGE1].fontHeight, skin.message1.fontHeight - 1);
    EXPECT_EQ(screen.current[CommentPanel::POINT_DISP], skin.pointDisp);
    random.Seed(SeedForRow(2, 0));
    CommentStartMascot(Environment());
    EXPECT_EQ(screen.current[CommentPanel::MESSAGE1], skin.message1);
}

TEST_F(CommentRoutinesTest, MascotOnlyCommentWritesOnlyTheMascotsPanels) {
    random.Seed(SeedForRow(2, 0));
    EXPECT_EQ(CommentSkinMascot(Environment()), 0);
    const Log expected = {
        "lines MESSAGE1 [スキンが変更になりまちた。] [どうですかこのスキン？]",
        "load point_disp_ki4.tgp",
        "params POINT_DISP color 255 font 30 at 40,12",
        "params MESSAGE1 color 16711680 font 14 at 6,4",
        "show POINT_DISP point_disp_ki4.tgp",
        "repaint POINT_DISP",
        "repaint MESSAGE1",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(CommentRoutinesTest, AssistantOnlyCommentWritesOnlyTheAssistantsPanels) {
    random.Seed(SeedForRow(2, 1));
    EXPECT_EQ(CommentStartAssistant(Environment()), 1);
    const Log expected = {
        "lines MESSAGE2 [玉五郎様の召使のこまおです。] []",
        "load assistant_disp_normal2.tgp",
        "params MESSAGE2 color 65280 font 13 at 8,5",
        "show ASSISTANT_DISP assistant_disp_normal2.tgp",
        "repaint MESSAGE2",
    };
    EXPECT_EQ(log, expected);
}

TEST(CommentRoutinesMissingPictureTest, LinesChangeAndThePictureStays) {
    Log log;
    RecordingCommentScreen screen(log);
    FakePictureFiles noFiles(log);
    RandomGenerator random(SeedForRow(2, 0));
    Image base;
    CommentEnvironment environment{screen, random, noFiles.Loader(), "skin", base, base, {}};
    CommentSkinMascot(environment);
    const Log expected = {
        "lines MESSAGE1 [スキンが変更になりまちた。] [どうですかこのスキン？]",
        "load point_disp_ki4.tgp",
        "params POINT_DISP color 16777215 font 10 at 0,0",
        "params MESSAGE1 color 16777215 font 10 at 0,0",
        "repaint POINT_DISP",
        "repaint MESSAGE1",
    };
    EXPECT_EQ(log, expected);
}

TEST(CommentRoutinesMissingPictureTest, MissingPartnerTurnsTheBlinkIntoAShow) {
    Log log;
    RecordingCommentScreen screen(log);
    FakePictureFiles someFiles(log);
    someFiles.Add("point_disp_ki7.tgp");
    RandomGenerator random(SeedForRow(29, 7));
    Image base;
    CommentEnvironment environment{screen, random, someFiles.Loader(), "skin", base, base, {}};
    CommentIdle(environment);
    Log shows;
    for (const std::string& line : log) {
        if (line.rfind("show", 0) == 0 || line.rfind("pause", 0) == 0) {
            shows.push_back(line);
        }
    }
    EXPECT_EQ(shows, (Log{"show POINT_DISP point_disp_ki7.tgp"}));
}

// Each kind runs the routine of its name with the same draws.
TEST_F(CommentRoutinesTest, RunCommentDispatchesByKind) {
    for (CommentRoutine routine : kAllCommentRoutines) {
        SCOPED_TRACE(CommentRoutineName(routine));
        const int value = routine == CommentRoutine::kScoreUp ? 91 : 7;
        random.Seed(4242);
        log.clear();
        const int row = RunComment(Environment(), routine, value);
        const Log byKind = log;

        random.Seed(4242);
        log.clear();
        const CommentEnvironment environment = Environment();
        int direct = -1;
        switch (routine) {
            case CommentRoutine::kTooManyFiles:
                direct = CommentTooManyFiles(environment);
                break;
            case CommentRoutine::kStartMascot:
                direct = CommentStartMascot(environment);
                break;
            case CommentRoutine::kStartAssistant:
                direct = CommentStartAssistant(environment);
                break;
            case CommentRoutine::kSkinMascot:
                direct = CommentSkinMascot(environment);
                break;
            case CommentRoutine::kSkinAssistant:
                direct = CommentSkinAssistant(environment);
                break;
            case CommentRoutine::kIdle:
                direct = CommentIdle(environment);
                break;
            case CommentRoutine::kPiecesChanged:
                direct = CommentPiecesChanged(environment, value);
                break;
            case CommentRoutine::kScoreUp:
                direct = CommentScoreUp(environment, value);
                break;
            case CommentRoutine::kPoorResult:
                direct = CommentPoorResult(environment);
                break;
            case CommentRoutine::kGoodDrop:
                direct = CommentGoodDrop(environment);
                break;
        }
        EXPECT_EQ(row, direct);
        EXPECT_EQ(log, byKind);
        EXPECT_FALSE(log.empty());
    }
}

// Every row of every routine can be spoken, and names only pictures that exist.
TEST_F(CommentRoutinesTest, EveryRowLoadsOnlyKnownPictures) {
    const std::vector<std::string> known = CommentPictureNames();
    for (CommentRoutine routine : kAllCommentRoutines) {
        std::set<int> rows;
        for (uint32_t seed = 1; seed < 400; ++seed) {
            random.Seed(seed);
            rows.insert(RunComment(Environment(), routine, 60));
        }
        for (uint32_t seed = 1; seed < 50; ++seed) {
            random.Seed(seed);
            rows.insert(RunComment(Environment(), routine, 95));
        }
        EXPECT_EQ(rows.size(), CommentTable(routine).size()) << CommentRoutineName(routine);
    }
    for (const std::string& line : log) {
        if (line.rfind("load ", 0) == 0) {
            EXPECT_TRUE(std::binary_search(known.begin(), known.end(), line.substr(5))) << line;
        }
    }
}

TEST(FormatCommentLineTest, FillsTheFirstPlaceholderOnly) {
    EXPECT_EQ(FormatCommentLine("%d枚入れ替わりまちた。", 5), "5枚入れ替わりまちた。");
    EXPECT_EQ(FormatCommentLine("なんと、%d点になりまちた～。", 100),
              "なんと、100点になりまちた～。");
    EXPECT_EQ(FormatCommentLine("%d", -3), "-3");
    EXPECT_EQ(FormatCommentLine("すばらちいです。", 9), "すばらちいです。");
    EXPECT_EQ(FormatCommentLine("", 9), "");
    EXPECT_EQ(FormatCommentLine("%d-%d", 1), "1-%d");
}

TEST(CommentScreenTest, BlinkWithEmptyPictures) {
    Log log;
    RecordingCommentScreen screen(log);
    Image first;
    first.CreateFilled(2, 2, 1);
    first.path = "a";
    Image second;
    screen.BlinkPanelPictures(CommentPanel::POINT_DISP, second, first);
    EXPECT_TRUE(log.empty());
    screen.BlinkPanelPictures(CommentPanel::POINT_DISP, first, second);
    EXPECT_EQ(log, (Log{"show POINT_DISP a"}));
}

}  // namespace
}  // namespace tama05
