#include "assistant/comment_tables.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "assistant/comment_routines.h"

namespace tama05 {
namespace {

const CommentVariant& Row(CommentRoutine routine, size_t row) {
    return CommentTable(routine)[row];
}

TEST(CommentTablesTest, EveryRoutineHasItsNumberOfRows) {
    EXPECT_EQ(CommentTable(CommentRoutine::kTooManyFiles).size(), 1u);
    EXPECT_EQ(CommentTable(CommentRoutine::kStartMascot).size(), 2u);
    EXPECT_EQ(CommentTable(CommentRoutine::kStartAssistant).size(), 2u);
    EXPECT_EQ(CommentTable(CommentRoutine::kSkinMascot).size(), 2u);
    EXPECT_EQ(CommentTable(CommentRoutine::kSkinAssistant).size(), 2u);
    EXPECT_EQ(CommentTable(CommentRoutine::kIdle).size(), 29u);
    EXPECT_EQ(CommentTable(CommentRoutine::kPiecesChanged).size(), 10u);
    EXPECT_EQ(CommentTable(CommentRoutine::kScoreUp).size(), 10u);
    EXPECT_EQ(CommentTable(CommentRoutine::kPoorResult).size(), 12u);
    EXPECT_EQ(CommentTable(CommentRoutine::kGoodDrop).size(), 10u);
}

TEST(CommentTablesTest, RoutineNamesRoundTrip) {
    EXPECT_EQ(CommentRoutineName(CommentRoutine::kScoreUp), "CommentScoreUp");
    EXPECT_EQ(CommentRoutineName(CommentRoutine::kTooManyFiles), "CommentTooManyFiles");
    EXPECT_EQ(CommentRoutineName(CommentRoutine::kIdle), "CommentIdle");
    EXPECT_EQ(CommentRoutineName(CommentRoutine::kSkinAssistant), "CommentSkinAssistant");
    for (CommentRoutine routine : kAllCommentRoutines) {
        EXPECT_EQ(CommentRoutineFromName(CommentRoutineName(routine)), routine);
    }
    EXPECT_EQ(CommentRoutineFromName("CommentPiecesChanged"), CommentRoutine::kPiecesChanged);
    EXPECT_FALSE(CommentRoutineFromName("commentidle").has_value());
    EXPECT_FALSE(CommentRoutineFromName("").has_value());
}

TEST(CommentTablesTest, SmallTablesQuoted) {
    const CommentVariant& tooMany = Row(CommentRoutine::kTooManyFiles, 0);
    EXPECT_EQ(tooMany.mascotLine1, "ドラッグ＆ドロップできるファイルは");
    EXPECT_EQ(tooMany.mascotLine2, "%d枚までです。ご注意を。");
    EXPECT_EQ(tooMany.mascotPicture, "normal3");
    EXPECT_EQ(tooMany.mascotBlinkPartner, "");
    EXPECT_EQ(tooMany.assistantLine, "%d枚を超えた分については無視されます。");
    EXPECT_EQ(tooMany.assistantPicture, "normal2");

    EXPECT_EQ(Row(CommentRoutine::kStartMascot, 0).mascotLine2, "ファイルをオープンちて下さい。");
    EXPECT_EQ(Row(CommentRoutine::kStartMascot, 1).mascotLine1, "どうも～。玉五郎で～す。");
    EXPECT_EQ(Row(CommentRoutine::kStartMascot, 1).mascotPicture, "normal3");
    EXPECT_EQ(Row(CommentRoutine::kStartAssistant, 1).assistantLine,
              "玉五郎様の召使のこまおです。");
    EXPECT_EQ(Row(CommentRoutine::kStartAssistant, 1).assistantPicture, "normal2");
    EXPECT_EQ(Row(CommentRoutine::kSkinMascot, 0).mascotLine2, "どうですかこのスキン？");
    EXPECT_EQ(Row(CommentRoutine::kSkinMascot, 0).mascotPicture, "ki4");
    EXPECT_EQ(Row(CommentRoutine::kSkinMascot, 1).mascotLine2, "気分一新！！");
    EXPECT_EQ(Row(CommentRoutine::kSkinMascot, 1).mascotPicture, "pika1");
    EXPECT_EQ(Row(CommentRoutine::kSkinAssistant, 1).assistantLine,
              "心機一転。スキンの変更が完了しました。");
    EXPECT_EQ(Row(CommentRoutine::kSkinAssistant, 1).assistantPicture, "ki1");
}

TEST(CommentTablesTest, IdleRowsQuoted) {
    const CommentVariant& first = Row(CommentRoutine::kIdle, 0);
    EXPECT_EQ(first.mascotLine1, "味噌を入れたら煮立たせない方がおいち");
    EXPECT_EQ(first.mascotLine2, "いです。よろちく。");
    EXPECT_EQ(first.assistantLine, "玉五郎様は、お味噌汁が飲みたいそうです。");

    const CommentVariant& shake = Row(CommentRoutine::kIdle, 7);
    EXPECT_EQ(shake.mascotLine1, "イヤイヤ攻撃～～～～");
    EXPECT_EQ(shake.mascotPicture, "ki7");
    EXPECT_EQ(shake.mascotBlinkPartner, "ki6");
    EXPECT_EQ(shake.assistantPicture, "ki5");
    EXPECT_EQ(shake.assistantBlinkPartner, "ki6");
    EXPECT_EQ(shake.scoreOffsetX, -16);
    EXPECT_EQ(shake.scoreOffsetY, 0);

    EXPECT_EQ(Row(CommentRoutine::kIdle, 10).mascotLine1, "スコアが%d点になると、こまおくんの");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 10).assistantLine,
              "スライダーを動かすと答え画像が見れます。これだよ→");
    // Half-width dots, not full-width ones.
    EXPECT_EQ(Row(CommentRoutine::kIdle, 15).assistantLine, "･･･");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 15).mascotLine1, "玉０５情報を鵜呑みにちてはいけません。");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 17).mascotPicture, "pika1");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 17).mascotBlinkPartner, "pika2");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 17).assistantLine,
              "鈴が滝は日本の滝100選にも選ばれていますね。");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 21).mascotLine2,
              "アイラブユー、アイミスユー、アイウォンチュー");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 21).mascotFontChange, -1);
    EXPECT_EQ(Row(CommentRoutine::kIdle, 23).mascotLine1,
              "玉05コメントはちと読みにくい。でもこれを");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 23).mascotFontChange, -1);
    EXPECT_EQ(Row(CommentRoutine::kIdle, 23).assistantPicture, "ai10");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 28).assistantLine, "豪快だな～。");
    EXPECT_EQ(Row(CommentRoutine::kIdle, 28).mascotPicture, "pika1");
}

TEST(CommentTablesTest, AfterDropRowsQuoted) {
    EXPECT_EQ(Row(CommentRoutine::kPiecesChanged, 0).mascotLine1, "%d枚入れ替わりまちた。");
    EXPECT_EQ(Row(CommentRoutine::kPiecesChanged, 1).assistantPicture, "normal1");
    EXPECT_EQ(Row(CommentRoutine::kPiecesChanged, 1).assistantBlinkPartner, "ki4");
    EXPECT_EQ(Row(CommentRoutine::kPiecesChanged, 3).scoreOffsetX, -16);
    EXPECT_EQ(Row(CommentRoutine::kPiecesChanged, 6).scoreOffsetX, 14);
    EXPECT_EQ(Row(CommentRoutine::kPiecesChanged, 6).scoreOffsetY, 0);
    EXPECT_EQ(Row(CommentRoutine::kPiecesChanged, 9).mascotLine2, "調子い～～～～～～。");

    const CommentVariant& reached = Row(CommentRoutine::kScoreUp, 0);
    EXPECT_EQ(reached.mascotLine2, "ついに、%d点です！ありがとう～！");
    EXPECT_EQ(reached.mascotPicture, "ki3");
    EXPECT_EQ(reached.assistantPicture, "ai5");
    EXPECT_EQ(reached.scoreOffsetX, -5);
    EXPECT_EQ(reached.scoreOffsetY, -18);
    EXPECT_EQ(Row(CommentRoutine::kScoreUp, 1).assistantLine,
              "わたくしもうれしうございます！仏語もお上手でございます！");
    EXPECT_EQ(Row(CommentRoutine::kScoreUp, 2).mascotLine1, "トレビヤ～～ン。%dにアップちまちた！");
    EXPECT_EQ(Row(CommentRoutine::kScoreUp, 2).mascotPicture, "ki6");
    EXPECT_EQ(Row(CommentRoutine::kScoreUp, 2).mascotBlinkPartner, "ki7");
    EXPECT_EQ(Row(CommentRoutine::kScoreUp, 2).scoreOffsetX, 14);
    EXPECT_EQ(Row(CommentRoutine::kScoreUp, 7).mascotLine2, "%d点に到達致ちまちた。");

    EXPECT_EQ(Row(CommentRoutine::kPoorResult, 3).mascotPicture, "do3");
    EXPECT_EQ(Row(CommentRoutine::kPoorResult, 3).mascotBlinkPartner, "do2");
    EXPECT_EQ(Row(CommentRoutine::kPoorResult, 4).mascotLine2, "･･･");
    EXPECT_EQ(Row(CommentRoutine::kPoorResult, 11).assistantLine,
              "皆さん、遠くにさがってご覧下さい。答えがわかります？");

    EXPECT_EQ(Row(CommentRoutine::kGoodDrop, 5).mascotLine2, "こまおくんも振ってみて～。（頭）");
    EXPECT_EQ(Row(CommentRoutine::kGoodDrop, 5).scoreOffsetX, -16);
    EXPECT_EQ(Row(CommentRoutine::kGoodDrop, 7).mascotLine2, "");
    EXPECT_EQ(Row(CommentRoutine::kGoodDrop, 7).assistantPicture, "ki4");
    EXPECT_EQ(Row(CommentRoutine::kGoodDrop, 7).assistantBlinkPartner, "ki1");
    EXPECT_EQ(Row(CommentRoutine::kGoodDrop, 9).mascotLine1,
              "あなたも、なかなかやるじゃな～～い。");
    EXPECT_EQ(Row(CommentRoutine::kGoodDrop, 9).mascotLine2, "");
}

// The layout changes are rare: every row that moves the score or shrinks the font is listed.
TEST(CommentTablesTest, LayoutChangesOnlyWhereListed) {
    std::set<std::pair<CommentRoutine, size_t>> moved;
    std::set<std::pair<CommentRoutine, size_t>> smaller;
    for (CommentRoutine routine : kAllCommentRoutines) {
        const auto table = CommentTable(routine);
        for (size_t i = 0; i < table.size(); ++i) {
            if (table[i].scoreOffsetX != 0 || table[i].scoreOffsetY != 0) {
                moved.insert({routine, i});
            }
            if (table[i].mascotFontChange != 0) {
                smaller.insert({routine, i});
            }
        }
    }
    const std::set<std::pair<CommentRoutine, size_t>> expectedMoved = {
        {CommentRoutine::kIdle, 7},          {CommentRoutine::kPiecesChanged, 3},
        {CommentRoutine::kPiecesChanged, 6}, {CommentRoutine::kScoreUp, 0},
        {CommentRoutine::kScoreUp, 2},       {CommentRoutine::kGoodDrop, 5},
    };
    const std::set<std::pair<CommentRoutine, size_t>> expectedSmaller = {
        {CommentRoutine::kIdle, 21},
        {CommentRoutine::kIdle, 23},
    };
    EXPECT_EQ(moved, expectedMoved);
    EXPECT_EQ(smaller, expectedSmaller);
}

// Which rows hold "%d" decides where the routine's value appears.
TEST(CommentTablesTest, ValuePlaceholdersOnlyWhereTheValueBelongs) {
    auto holds = [](std::string_view text) { return text.find("%d") != std::string_view::npos; };
    for (CommentRoutine routine : kAllCommentRoutines) {
        const auto table = CommentTable(routine);
        for (size_t i = 0; i < table.size(); ++i) {
            const CommentVariant& row = table[i];
            const int count =
                holds(row.mascotLine1) + holds(row.mascotLine2) + holds(row.assistantLine);
            SCOPED_TRACE(std::string(CommentRoutineName(routine)) + " row " + std::to_string(i));
            switch (routine) {
                case CommentRoutine::kIdle:
                    EXPECT_EQ(count, i == 10 ? 1 : 0);
                    break;
                case CommentRoutine::kPiecesChanged:
                case CommentRoutine::kScoreUp:
                    EXPECT_EQ(count, 1);
                    break;
                case CommentRoutine::kTooManyFiles:
                    EXPECT_EQ(count, 2);
                    break;
                default:
                    EXPECT_EQ(count, 0);
            }
            // No other conversion than "%d" anywhere.
            for (std::string_view text : {row.mascotLine1, row.mascotLine2, row.assistantLine}) {
                for (size_t at = text.find('%'); at != std::string_view::npos;
                     at = text.find('%', at + 1)) {
                    EXPECT_EQ(text.substr(at, 2), "%d");
                }
            }
        }
    }
}

// Who speaks decides which columns are filled.
TEST(CommentTablesTest, RowsNameThePicturesOfTheirSpeakers) {
    for (CommentRoutine routine : kAllCommentRoutines) {
        const CommentCast cast = CommentCastOf(routine);
        for (const CommentVariant& row : CommentTable(routine)) {
            SCOPED_TRACE(CommentRoutineName(routine));
            const bool mascot = cast != CommentCast::kAssistantOnly;
            const bool assistant = cast != CommentCast::kMascotOnly;
            EXPECT_EQ(!row.mascotPicture.empty(), mascot);
            EXPECT_EQ(!row.mascotLine1.empty(), mascot);
            EXPECT_EQ(!row.assistantPicture.empty(), assistant);
            EXPECT_EQ(!row.assistantLine.empty(), assistant);
        }
    }
    EXPECT_EQ(CommentCastOf(CommentRoutine::kStartMascot), CommentCast::kMascotOnly);
    EXPECT_EQ(CommentCastOf(CommentRoutine::kSkinAssistant), CommentCast::kAssistantOnly);
    EXPECT_EQ(CommentCastOf(CommentRoutine::kTooManyFiles), CommentCast::kBoth);
}

// The panels hold 256-byte lines in the display code page, where a character takes at most
// as many bytes as in UTF-8: any formatted line must stay below 256 UTF-8 bytes.
TEST(CommentTablesTest, FormattedLinesFitTheLineBuffers) {
    for (CommentRoutine routine : kAllCommentRoutines) {
        for (const CommentVariant& row : CommentTable(routine)) {
            for (std::string_view text : {row.mascotLine1, row.mascotLine2, row.assistantLine}) {
                EXPECT_LT(FormatCommentLine(text, INT_MIN).size(), 256u) << text;
            }
        }
    }
}

TEST(CommentTablesTest, PictureFileNames) {
    EXPECT_EQ(CommentPictureFileName(CommentCharacter::kMascot, "ki4"), "point_disp_ki4.tgp");
    EXPECT_EQ(CommentPictureFileName(CommentCharacter::kAssistant, "ai10"),
              "assistant_disp_ai10.tgp");
    EXPECT_EQ(CommentPictureFileName(CommentCharacter::kMascot, ""), "");
}

// The art has to provide exactly these 45 files, and every one of them is used.
TEST(CommentTablesTest, TheFortyFivePictures) {
    std::set<std::string> expected;
    auto add = [&](const std::string& prefix, const std::string& mood, int last) {
        for (int i = 1; i <= last; ++i) {
            expected.insert(prefix + mood + std::to_string(i) + ".tgp");
        }
    };
    add("point_disp_", "normal", 4);
    add("point_disp_", "ki", 9);
    add("point_disp_", "ai", 4);
    add("point_disp_", "do", 4);
    add("point_disp_", "pika", 4);
    add("assistant_disp_", "normal", 2);
    add("assistant_disp_", "ki", 6);
    add("assistant_disp_", "ai", 10);
    add("assistant_disp_", "do", 2);
    ASSERT_EQ(expected.size(), 45u);

    const std::vector<std::string> names = CommentPictureNames();
    EXPECT_EQ(names.size(), 45u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
}

}  // namespace
}  // namespace tama05
