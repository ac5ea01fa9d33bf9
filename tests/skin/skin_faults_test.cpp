// The skin and settings files when the disk misbehaves: a skin folder that disappears, a
// settings file that is short, a named pipe or unreadable.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "skin/app_settings.h"
#include "skin/skin_layout.h"
#include "skin_text_writer.h"
#include "temp_folder.h"
#include "text_files.h"

namespace tama05 {
namespace {

TEST(SkinFaults, ASkinFolderThatDisappearsFallsBackToTheDefaultSkin) {
    test::TempFolder root;
    const auto night = root.path() / "night";
    const auto fallback = root.path() / "skin";
    std::filesystem::create_directories(night);
    std::filesystem::create_directories(fallback);
    test::WriteFile(night / "skin.txt", test::FullSkinText([](int i) { return i + 1; }));
    test::WriteFile(fallback / "skin.txt", "VERSION=7\n");
    std::filesystem::path skinFolder = night;
    SkinLayout layout;
    RecordingMessageSink messages;
    ASSERT_EQ(LoadSkinLayout(skinFolder, fallback, layout, messages), 0);
    EXPECT_EQ(skinFolder, night);

    std::filesystem::remove_all(night);
    SkinLayout reloaded;
    EXPECT_EQ(LoadSkinLayout(skinFolder, fallback, reloaded, messages), 0);
    EXPECT_EQ(skinFolder, fallback);
    EXPECT_EQ(reloaded.values[static_cast<int>(SkinKey::kVersion)], 7);
    EXPECT_TRUE(messages.messages.empty());

    // With the default gone too, the message is shown and the layout kept.
    std::filesystem::remove_all(fallback);
    skinFolder = night;
    EXPECT_EQ(LoadSkinLayout(skinFolder, fallback, reloaded, messages), -1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kSkinTextMissingMessage);
    EXPECT_EQ(reloaded.values[static_cast<int>(SkinKey::kVersion)], 7);
}

TEST(SkinFaults, ShortOrPipeSettingsFilesGiveTheDefaultsWithoutBlocking) {
    test::TempFolder program;
    const auto file = program.path() / "tama05.ini";
    // Short: one byte short of the record.
    test::WriteFile(file, std::string(kSettingsFileSize - 1, '\x01'));
    AppSettings settings;
    settings.pieceWidth = 3;
    EXPECT_EQ(LoadSettings(program.path(), file, settings), 0);
    EXPECT_EQ(settings.pieceWidth, 16);
    // The defaults replaced it.
    EXPECT_EQ(test::ReadFile(file).size(), kSettingsFileSize);

    // A named pipe in its place would block a plain open for reading.
    const auto pipe = program.path() / "pipe.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto loaded = std::async(std::launch::async, [&] {
        AppSettings fromPipe;
        fromPipe.pieceWidth = 3;
        LoadSettings(program.path(), pipe, fromPipe);
        return fromPipe.pieceWidth;
    });
    ASSERT_EQ(loaded.wait_for(std::chrono::seconds(120)), std::future_status::ready);
    EXPECT_EQ(loaded.get(), 16);
}

TEST(SkinFaults, AnUnreadableSettingsFileGivesTheDefaults) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not hold for root (the folder case covers it)";
    }
    test::TempFolder program;
    const auto file = program.path() / "tama05.ini";
    AppSettings written = DefaultSettings(program.path());
    written.pieceWidth = 40;
    ASSERT_EQ(SaveSettings(file, written), 0);
    std::filesystem::permissions(file, std::filesystem::perms::none);
    AppSettings settings;
    EXPECT_EQ(LoadSettings(program.path(), file, settings), 0);
    EXPECT_EQ(settings.pieceWidth, 16);
}

}  // namespace
}  // namespace tama05
