#include "skin/skin_panel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_picture_loader.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

TEST(WaitMeter, OneFileDrawsAllTwentySegments) {
    EXPECT_EQ(DrawWaitMeter(0, 1, 200, 12, 0, 0).size(), 20u);
}

TEST(WaitMeter, ThreeFilesDraw7Then14Then20) {
    EXPECT_EQ(DrawWaitMeter(0, 3, 200, 12, 0, 0).size(), 7u);
    EXPECT_EQ(DrawWaitMeter(1, 3, 200, 12, 0, 0).size(), 14u);
    EXPECT_EQ(DrawWaitMeter(2, 3, 200, 12, 0, 0).size(), 20u);
}

TEST(WaitMeter, Width35StepsBy2AndCollapsesFromThe18thSegment) {
    const auto s = DrawWaitMeter(0, 1, 35, 12, 35, 12);
    ASSERT_EQ(s.size(), 20u);
    // One pixel wide with a one-pixel gap.
    EXPECT_EQ(s[0], (MeterSegment{36, 12, 37, 24}));
    EXPECT_EQ(s[1], (MeterSegment{38, 12, 39, 24}));
    EXPECT_EQ(s[16], (MeterSegment{68, 12, 69, 24}));
    // From the 18th on: the last pixel column of the bar (35 + 35 − 1 = 69).
    for (size_t k = 17; k < 20; ++k) {
        EXPECT_EQ(s[k], (MeterSegment{69, 12, 70, 24})) << k;
    }
}

TEST(WaitMeter, Width200StepsBy10AndEndsAtTheRightEnd) {
    const auto s = DrawWaitMeter(0, 1, 200, 5, 0, 3);
    EXPECT_EQ(s[0], (MeterSegment{1, 3, 10, 8}));
    EXPECT_EQ(s[1], (MeterSegment{11, 3, 20, 8}));
    EXPECT_EQ(s[19], (MeterSegment{191, 3, 200, 8}));
}

TEST(WaitMeter, Width10GivesEmptyOrOnePixelSegmentsAtTheRightEnd) {
    const auto s = DrawWaitMeter(0, 1, 10, 4, 0, 0);
    ASSERT_EQ(s.size(), 20u);
    for (const MeterSegment& m : s) {
        const int32_t width = m.right - m.left;
        EXPECT_TRUE(width == 0 || (width == 1 && m.left == 9)) << m.left << ".." << m.right;
    }
}

TEST(WaitMeter, BadCountsAndHugeValuesAreSafe) {
    EXPECT_TRUE(DrawWaitMeter(0, 0, 35, 12, 0, 0).empty());
    EXPECT_TRUE(DrawWaitMeter(0, -4, 35, 12, 0, 0).empty());
    EXPECT_EQ(DrawWaitMeter(300, 3, 35, 12, 0, 0).size(), 20u);
    const auto s = DrawWaitMeter(0, 1, 2147483647, 2147483647, 2147483647, 2147483647);
    ASSERT_EQ(s.size(), 20u);
    EXPECT_EQ(s[19].right, 2147483647);
    // A negative width: the step counts as 0.
    EXPECT_EQ(DrawWaitMeter(0, 1, -100, 1, 0, 0)[5].left, -101);
}

TEST(WaitMeter, ReadsTheBarKeysOfTheLayout) {
    const SkinLayout layout;  // bar 35 × 12 at (35, 12)
    EXPECT_EQ(DrawWaitMeter(0, 1, layout), DrawWaitMeter(0, 1, 35, 12, 35, 12));
}

TEST(PanelText, SecondLineIsTwentyPixelsBelowWhateverTheFont) {
    SkinPanel panel;
    panel.textX = 4;
    panel.textY = 7;
    panel.fontHeight = 40;
    panel.line1 = "はじめまして";
    panel.line2 = "よろしく";
    const auto lines = panel.TextLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (SkinPanel::TextLine{"はじめまして", 4, 7}));
    EXPECT_EQ(lines[1], (SkinPanel::TextLine{"よろしく", 4, 27}));
}

TEST(PanelText, EmptyOrAbsentLinesAreNotDrawn) {
    SkinPanel panel;
    EXPECT_TRUE(panel.TextLines().empty());
    panel.line1 = "";
    panel.line2 = "two";
    const auto lines = panel.TextLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].y, 20);
    panel.line1 = "one";
    panel.line2.reset();
    EXPECT_EQ(panel.TextLines().size(), 1u);
}

TEST(PanelText, OnlyTheLastPathComponentIsDrawn) {
    EXPECT_EQ(PanelTextComponent("C:\\photos\\cat.png"), "cat.png");
    EXPECT_EQ(PanelTextComponent("/home/u/dog.jpg"), "dog.jpg");
    EXPECT_EQ(PanelTextComponent("88"), "88");
    SkinPanel panel;
    panel.line1 = "folder/";
    EXPECT_TRUE(panel.TextLines().empty());
}

TEST(PanelText, ScoreIsFormattedTwoWide) {
    EXPECT_EQ(FormatScore(5), " 5");
    EXPECT_EQ(FormatScore(100), "100");
    EXPECT_EQ(FormatScore(0), " 0");
}

TEST(SkinPanel, PlaceCutsTheBackgroundAndMovesOnlyToUsableRectangles) {
    const Image source = test::SolidImage(50, 20, 9, 9, 9);
    SkinPanel panel;
    SkinPanel::PlaceResult r = panel.Create(SkinRect{45, 0, 10, 5}, true, &source, {}, {});
    EXPECT_TRUE(r.moved);
    EXPECT_TRUE(r.shown);
    EXPECT_EQ(test::BlueAt(panel.background(), 4, 0), 9);
    EXPECT_EQ(test::BlueAt(panel.background(), 5, 0), 0);  // beyond the source
    EXPECT_EQ(test::BlueAt(panel.surface(), 4, 4), 9);

    r = panel.Place(SkinRect{0, 0, -3, 5}, true, nullptr, {}, {});
    EXPECT_FALSE(r.moved);
    EXPECT_EQ(panel.rect(), (SkinRect{45, 0, 10, 5}));
    EXPECT_EQ(test::BlueAt(panel.background(), 0, 0), 0);  // no source: black
}

TEST(SkinPanel, PlaceLoadsItsPictureOrStaysUnpainted) {
    test::FakePictureLoader fake;
    fake.Add("/skin/wait_meter.png", test::SolidImage(8, 4, 5, 6, 7));
    SkinPanel panel;
    SkinPanel::PlaceResult r =
        panel.Create(SkinRect{0, 0, 8, 4}, false, nullptr, "/skin/wait_meter.png", std::ref(fake));
    EXPECT_TRUE(r.shown);
    EXPECT_EQ(test::BlueAt(panel.surface(), 7, 3), 5);
    r = panel.Place(SkinRect{0, 0, 8, 4}, false, nullptr, "/other/wait_meter.png", std::ref(fake));
    EXPECT_FALSE(r.shown);
    EXPECT_TRUE(panel.background().empty());
}

TEST(SkinPanel, PictureIsShownAtTheBottomLeftCorner) {
    const Image source = test::SolidImage(6, 4, 1, 1, 1);
    SkinPanel panel;
    panel.Create(SkinRect{0, 0, 6, 4}, true, &source, {}, {});
    panel.ShowPicture(test::SolidImage(2, 2, 200, 200, 200));
    EXPECT_EQ(test::BlueAt(panel.surface(), 0, 3), 200);
    EXPECT_EQ(test::BlueAt(panel.surface(), 1, 2), 200);
    EXPECT_EQ(test::BlueAt(panel.surface(), 2, 3), 1);
    EXPECT_EQ(test::BlueAt(panel.surface(), 0, 1), 1);
    // The background is untouched: a capture gives what was cut.
    Image base;
    panel.CaptureBackground(base);
    EXPECT_EQ(test::BlueAt(base, 0, 3), 1);
}

struct RecordingScreen final : PanelPictureScreen {
    void SurfaceChanged(const SkinPanel& panel) override {
        events.push_back("show " + std::to_string(test::BlueAt(panel.surface(), 0, 0)));
    }
    void Pause(std::chrono::milliseconds d) override {
        events.push_back("pause " + std::to_string(d.count()));
    }
    std::vector<std::string> events;
};

TEST(BlinkPanelPictures, AlternatesSixTimesWithFivePausesEndingOnB) {
    const Image source = test::SolidImage(2, 2, 0, 0, 0);
    SkinPanel panel;
    panel.Create(SkinRect{0, 0, 2, 2}, true, &source, {}, {});
    RecordingScreen screen;
    EXPECT_EQ(BlinkPanelPictures(panel, screen, test::SolidImage(2, 2, 10, 0, 0),
                                 test::SolidImage(2, 2, 20, 0, 0)),
              0);
    EXPECT_EQ(screen.events,
              (std::vector<std::string>{"show 10", "pause 100", "show 20", "pause 100", "show 10",
                                        "pause 100", "show 20", "pause 100", "show 10", "pause 100",
                                        "show 20"}));
}

TEST(BlinkPanelPictures, EmptySecondPictureShowsTheFirstWithoutPausing) {
    SkinPanel panel;
    panel.Create(SkinRect{0, 0, 2, 2}, true, nullptr, {}, {});
    RecordingScreen screen;
    EXPECT_EQ(BlinkPanelPictures(panel, screen, test::SolidImage(2, 2, 10, 0, 0), Image()), 0);
    EXPECT_EQ(screen.events, (std::vector<std::string>{"show 10"}));
    EXPECT_EQ(BlinkPanelPictures(panel, screen, Image(), test::SolidImage(2, 2, 1, 0, 0)), -1);
    EXPECT_EQ(screen.events.size(), 1u);
    EXPECT_EQ(ShowPanelPicture(panel, screen, Image()), 1);
    EXPECT_EQ(screen.events.size(), 1u);
}

}  // namespace
}  // namespace tama05
