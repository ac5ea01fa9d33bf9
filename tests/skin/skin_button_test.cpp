#include "skin/skin_button.h"

#include <gtest/gtest.h>

#include "skin/skin_commands.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using K = ButtonActionKind;

bool Has(const ButtonActions& actions, K kind) {
    for (const ButtonAction& a : actions) {
        if (a.kind == kind) {
            return true;
        }
    }
    return false;
}

bool SendsCommand(const ButtonActions& actions, uint16_t command) {
    for (const ButtonAction& a : actions) {
        if (a.kind == K::kSendCommand && a.command == command) {
            return true;
        }
    }
    return false;
}

StateSheets Sheets() {
    StateSheets sheets;
    sheets.normal = test::SolidImage(100, 30, 1, 1, 1);
    sheets.hover = test::SolidImage(100, 30, 2, 2, 2);
    sheets.pressed = test::SolidImage(100, 30, 3, 3, 3);
    return sheets;
}

class SkinButtonTest : public ::testing::Test {
  protected:
    void SetUp() override { button.Create(SkinRect{10, 5, 35, 12}, Sheets()); }
    SkinButton button{kCommandNew};
};

TEST_F(SkinButtonTest, CreateCutsThreePicturesAndShowsTheNormalOne) {
    EXPECT_EQ(button.normalPicture().width(), 35);
    EXPECT_EQ(test::BlueAt(button.hoverPicture(), 0, 0), 2);
    EXPECT_EQ(test::BlueAt(button.pressedPicture(), 34, 11), 3);
    EXPECT_EQ(button.state(), SkinButton::kIdle);
}

TEST_F(SkinButtonTest, ClickSendsTheCommandAndShowsTheNormalPicture) {
    ButtonActions a = button.OnPointerMove(3, 3);
    EXPECT_EQ(a, (ButtonActions{{K::kTakeCapture}, {K::kHoverCursor}, {K::kShowHover}}));
    EXPECT_EQ(button.state(), SkinButton::kHover);
    a = button.OnLeftButtonDown();
    EXPECT_EQ(a, (ButtonActions{{K::kPressedCursor}, {K::kShowPressed}}));
    a = button.OnLeftButtonUp(3, 3);
    EXPECT_EQ(a, (ButtonActions{{K::kReleaseCapture}, {K::kSendCommand, 32782}, {K::kShowNormal}}));
    EXPECT_EQ(button.state(), SkinButton::kIdle);
    // The pointer is still over it: the next move shows the hover picture.
    a = button.OnPointerMove(4, 3);
    EXPECT_TRUE(Has(a, K::kShowHover));
}

TEST_F(SkinButtonTest, PressLeaveReleaseSendsNothing) {
    button.OnPointerMove(3, 3);
    button.OnLeftButtonDown();
    ButtonActions a = button.OnPointerMove(50, 3);
    EXPECT_EQ(a, (ButtonActions{{K::kPressedCursor}, {K::kShowNormal}}));
    EXPECT_EQ(button.state(), SkinButton::kPressedAway);
    EXPECT_TRUE(button.holdsCapture());
    a = button.OnLeftButtonUp(50, 3);
    EXPECT_FALSE(Has(a, K::kSendCommand));
    EXPECT_TRUE(Has(a, K::kReleaseCapture));
    EXPECT_EQ(button.state(), SkinButton::kIdle);
}

TEST_F(SkinButtonTest, PressLeaveReturnReleaseSendsTheCommand) {
    button.OnPointerMove(3, 3);
    button.OnLeftButtonDown();
    button.OnPointerMove(-1, 3);  // left of the button
    ButtonActions a = button.OnPointerMove(3, 3);
    EXPECT_EQ(a, (ButtonActions{{K::kPressedCursor}, {K::kShowPressed}}));
    EXPECT_EQ(button.state(), SkinButton::kPressed);
    a = button.OnLeftButtonUp(3, 3);
    EXPECT_TRUE(SendsCommand(a, kCommandNew));
}

TEST_F(SkinButtonTest, ReleaseWithoutPressSendsNothing) {
    button.OnPointerMove(3, 3);
    const ButtonActions a = button.OnLeftButtonUp(3, 3);
    EXPECT_FALSE(Has(a, K::kSendCommand));
    EXPECT_FALSE(Has(a, K::kShowNormal));
    EXPECT_EQ(button.state(), SkinButton::kIdle);
}

TEST_F(SkinButtonTest, LeavingWhileHoveringReleasesTheCapture) {
    button.OnPointerMove(3, 3);
    const ButtonActions a = button.OnPointerMove(3, 12);  // row 12 is outside a 12-row button
    EXPECT_EQ(a, (ButtonActions{{K::kArrowCursor}, {K::kShowNormal}, {K::kReleaseCapture}}));
    EXPECT_FALSE(button.holdsCapture());
}

TEST_F(SkinButtonTest, MovesInsideWhileHoveringChangeNothing) {
    button.OnPointerMove(3, 3);
    EXPECT_TRUE(button.OnPointerMove(4, 4).empty());
}

TEST_F(SkinButtonTest, ReskinMovesOnlyToAUsableRectangle) {
    ButtonActions a = button.Reskin(SkinRect{-1, 5, 20, 12}, Sheets());
    EXPECT_EQ(a, (ButtonActions{{K::kShowNormal}}));
    EXPECT_EQ(button.rect(), (SkinRect{10, 5, 35, 12}));
    EXPECT_EQ(button.normalPicture().width(), 35);
    a = button.Reskin(SkinRect{0, 0, 20, 0}, Sheets());
    EXPECT_FALSE(Has(a, K::kMoveWindow));
    a = button.Reskin(SkinRect{0, 0, 20, 10}, Sheets());
    EXPECT_EQ(a, (ButtonActions{{K::kMoveWindow}, {K::kShowNormal}}));
    EXPECT_EQ(button.hoverPicture().width(), 20);
}

TEST(SkinMenuButton, PressOpensTheMenuAndShowsNormalWhenItCloses) {
    SkinMenuButton menu;
    menu.Create(SkinRect{9, 5, 35, 12}, Sheets());
    ButtonActions a = menu.OnPointerMove(1, 1);
    EXPECT_EQ(a, (ButtonActions{{K::kTakeCapture}, {K::kHoverCursor}, {K::kShowHover}}));
    a = menu.OnLeftButtonDown();
    EXPECT_EQ(a,
              (ButtonActions{
                  {K::kPressedCursor}, {K::kReleaseCapture}, {K::kShowPressed}, {K::kOpenMenu}}));
    EXPECT_EQ(menu.state(), 2);
    a = menu.OnMenuClosed();
    EXPECT_EQ(a, (ButtonActions{{K::kShowNormal}}));
    EXPECT_EQ(menu.state(), 0);
}

TEST(SkinMenuButton, LeavingShowsNormalAndReleases) {
    SkinMenuButton menu;
    menu.Create(SkinRect{9, 5, 35, 12}, Sheets());
    menu.OnPointerMove(1, 1);
    EXPECT_TRUE(menu.OnPointerMove(2, 2).empty());
    const ButtonActions a = menu.OnPointerMove(40, 2);
    EXPECT_EQ(a, (ButtonActions{{K::kArrowCursor}, {K::kShowNormal}, {K::kReleaseCapture}}));
}

TEST(FileMenu, ItemsInTheirOrder) {
    std::vector<uint16_t> commands;
    for (const FileMenuEntry& entry : kFileMenu) {
        commands.push_back(entry.command);
    }
    EXPECT_EQ(commands, (std::vector<uint16_t>{32782, 32771, 32772, 32784, 0, 32786, 0, 32788, 0,
                                               32773, 0, 32783, 32781, 32780, 0, 32785}));
    EXPECT_EQ(kFileMenu[11].text, "常に手前に表示する");
}

}  // namespace
}  // namespace tama05
