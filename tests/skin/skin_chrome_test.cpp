#include "skin/skin_chrome.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_picture_loader.h"
#include "temp_folder.h"
#include "test_pictures.h"
#include "text_files.h"

namespace tama05 {
namespace {

class RecordingChangeScreen final : public SkinChangeScreen {
  public:
    std::optional<std::filesystem::path> choice;
    std::vector<std::string> events;
    std::vector<SkinPanel::PlaceResult> placed;

    std::optional<std::filesystem::path> BrowseForFolder(
        std::string_view title, const std::filesystem::path& current) override {
        events.push_back("browse " + std::string(title) + " " + current.filename().string());
        return choice;
    }
    void SendCommand(uint16_t command) override {
        events.push_back("command " + std::to_string(command));
    }
    void ApplyButton(ButtonId id, const ButtonActions& actions) override {
        events.push_back("button " + std::string(ButtonClassName(id)) + " " +
                         std::to_string(actions.size()));
    }
    void ApplyPanel(PanelId id, const SkinPanel::PlaceResult& result) override {
        events.push_back("panel " + std::string(PanelClassName(id)));
        placed.push_back(result);
    }
    void AnnounceSkin() override { events.push_back("announce"); }
    void InvalidateChrome() override { events.push_back("invalidate"); }
};

class ChangeSkinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(root.path() / "default");
        std::filesystem::create_directories(root.path() / "blue");
        test::WriteFile(root.path() / "default/skin.txt", "VERSION=1\n");
        // The blue skin moves the close button and colours the score text.
        test::WriteFile(root.path() / "blue/skin.txt",
                        "VERSION=2\nCLOSE_L=40\nCLOSE_T=2\nCLOSE_W=8\nCLOSE_H=6\n");
        loader.Add(root.path() / "blue/ctrl_back.png", test::SolidImage(100, 20, 10, 10, 10));
        loader.Add(root.path() / "blue/ctrl_normal.png", test::SolidImage(100, 20, 11, 11, 11));
        loader.Add(root.path() / "blue/ctrl_over.png", test::SolidImage(100, 20, 12, 12, 12));
        loader.Add(root.path() / "blue/ctrl_down.png", test::SolidImage(100, 20, 13, 13, 13));
        loader.Add(root.path() / "blue/sub_ctrl_back.png", test::SolidImage(100, 20, 20, 20, 20));
        skinFolder = root.path() / "default";
    }

    SkinContext Context() {
        return SkinContext{skinFolder, root.path() / "default", layout,
                           messages,   std::ref(loader),        std::ref(loader)};
    }

    test::TempFolder root;
    test::FakePictureLoader loader;
    std::filesystem::path skinFolder;
    SkinLayout layout;
    RecordingMessageSink messages;
    SkinChrome chrome;
    RecordingChangeScreen screen;
};

TEST_F(ChangeSkinTest, CancelChangesNothing) {
    EXPECT_EQ(ChangeSkin(Context(), chrome, screen), -1);
    EXPECT_EQ(screen.events, (std::vector<std::string>{"browse スキンのフォルダを指定 default"}));
    EXPECT_EQ(skinFolder, root.path() / "default");
    EXPECT_TRUE(loader.requests.empty());
}

TEST_F(ChangeSkinTest, RunsItsStepsInOrder) {
    screen.choice = root.path() / "blue";
    EXPECT_EQ(ChangeSkin(Context(), chrome, screen), 0);
    EXPECT_EQ(skinFolder, root.path() / "blue");
    EXPECT_EQ(layout[SkinKey::kCloseL], 40);
    const std::vector<std::string> expected = {"browse スキンのフォルダを指定 default",
                                               "command 32789",
                                               "command 32790",
                                               "button CLOSE 2",  // moved, then the normal picture
                                               "button MINIMIZE 2",
                                               "button NEW 2",
                                               "button OPEN 2",
                                               "button SAVE 2",
                                               "button MENU0 2",
                                               "panel POINT_DISP",
                                               "panel ASSISTANT_DISP",
                                               "panel MESSAGE1",
                                               "panel MESSAGE2",
                                               "panel WAITMETER",
                                               "announce",
                                               "invalidate"};
    EXPECT_EQ(screen.events, expected);
    // The close button's pictures come from the blue sheets at its new rectangle.
    const SkinButton& close = chrome.button(ButtonId::kClose);
    EXPECT_EQ(close.rect(), (SkinRect{40, 2, 8, 6}));
    EXPECT_EQ(test::BlueAt(close.normalPicture(), 0, 0), 11);
    EXPECT_EQ(test::BlueAt(close.pressedPicture(), 7, 5), 13);
    EXPECT_EQ(close.command(), kCommandClose);
    // Panels: score and first message cut from ctrl_back, the slider bar's from sub_ctrl_back.
    EXPECT_EQ(test::BlueAt(chrome.panel(PanelId::kPointDisp).background(), 0, 0), 10);
    EXPECT_EQ(test::BlueAt(chrome.panel(PanelId::kMessage2).background(), 0, 0), 20);
    EXPECT_EQ(test::BlueAt(chrome.scorePictureBase, 0, 0), 10);
    EXPECT_EQ(test::BlueAt(chrome.assistantPictureBase, 0, 0), 20);
    // Text style from the layout: the score panel takes the font size and colour.
    EXPECT_EQ(chrome.panel(PanelId::kPointDisp).fontHeight, 32);
    EXPECT_EQ(chrome.panel(PanelId::kMessage1).textColor, 0xFFFF00u);
    // The assistant panel keeps its own (white, 10).
    EXPECT_EQ(chrome.panel(PanelId::kAssistantDisp).fontHeight, 10);
    EXPECT_EQ(chrome.panel(PanelId::kAssistantDisp).textColor, 0xFFFFFFu);
    // No wait_meter.png in the blue skin: its surface stays unpainted.
    EXPECT_FALSE(screen.placed[4].shown);
}

TEST_F(ChangeSkinTest, FolderWithoutSkinTextFallsBackToTheDefaultSkin) {
    std::filesystem::create_directories(root.path() / "empty");
    screen.choice = root.path() / "empty";
    EXPECT_EQ(ChangeSkin(Context(), chrome, screen), 0);
    EXPECT_EQ(skinFolder, root.path() / "default");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(screen.events.back(), "invalidate");
}

TEST_F(ChangeSkinTest, NoSkinTextAnywhereShowsTheMessageAndGoesOn) {
    std::filesystem::remove(root.path() / "default/skin.txt");
    std::filesystem::create_directories(root.path() / "empty");
    screen.choice = root.path() / "empty";
    EXPECT_EQ(ChangeSkin(Context(), chrome, screen), 0);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "エラー(ToT)");
    EXPECT_EQ(screen.events.back(), "invalidate");
}

TEST_F(ChangeSkinTest, CreateTakesEveryRectangleAndCapturesTheBases) {
    skinFolder = root.path() / "blue";
    ASSERT_EQ(LoadSkinLayout(skinFolder, root.path() / "default", layout, messages), 0);
    SkinSources sources;
    LoadSkinSources(Context(), sources);
    EXPECT_EQ(CreateChrome(Context(), sources, chrome, screen), 0);
    EXPECT_EQ(chrome.menu.rect(), (SkinRect{9, 5, 35, 12}));
    EXPECT_EQ(chrome.panel(PanelId::kWaitMeter).rect(), (SkinRect{9, 5, 35, 12}));
    EXPECT_EQ(chrome.scorePictureBase.width(), 35);
    for (const SkinPanel::PlaceResult& r : screen.placed) {
        EXPECT_TRUE(r.moved);
    }
}

TEST(SkinChrome, RectanglesComeFromTheirKeys) {
    SkinLayout layout;
    for (int i = 0; i < kSkinKeyCount; ++i) {
        layout.values[static_cast<size_t>(i)] = i;
    }
    // CLOSE_L is key 2 of the file (index 1), MENU0_L key 10, WAIT_METER_L key 63.
    EXPECT_EQ(ButtonRect(layout, ButtonId::kClose), (SkinRect{1, 2, 3, 4}));
    EXPECT_EQ(ButtonRect(layout, ButtonId::kMenu), (SkinRect{9, 10, 11, 12}));
    EXPECT_EQ(ButtonRect(layout, ButtonId::kSave), (SkinRect{21, 22, 23, 24}));
    EXPECT_EQ(PanelRect(layout, PanelId::kAssistantDisp), (SkinRect{25, 26, 27, 28}));
    EXPECT_EQ(PanelRect(layout, PanelId::kPointDisp), (SkinRect{29, 30, 31, 32}));
    EXPECT_EQ(PanelRect(layout, PanelId::kMessage2), (SkinRect{49, 50, 51, 52}));
    EXPECT_EQ(PanelRect(layout, PanelId::kWaitMeter), (SkinRect{62, 63, 64, 65}));
    SkinPanel panel;
    ApplyPanelTextStyle(layout, PanelId::kMessage1, panel);
    EXPECT_EQ(panel.textX, 43);  // MESSAGE1_X is key 44
    EXPECT_EQ(panel.textY, 44);
    EXPECT_EQ(panel.fontHeight, 45);
}

}  // namespace
}  // namespace tama05
