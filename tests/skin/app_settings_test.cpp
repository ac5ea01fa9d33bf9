#include "skin/app_settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "temp_folder.h"
#include "text_files.h"

namespace tama05 {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

int32_t I32At(const std::string& bytes, size_t offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(bytes[offset + static_cast<size_t>(i)]);
    }
    return static_cast<int32_t>(v);
}

std::string PathFieldAt(const std::string& bytes, size_t offset) {
    return std::string(bytes.c_str() + offset);
}

TEST(Settings, FirstStartWritesDefaultsOf1596Bytes) {
    TempFolder program;
    std::filesystem::create_directory(program.path() / "skin");
    const auto file = program.path() / "tama05.ini";
    AppSettings settings;
    EXPECT_EQ(LoadSettings(program.path(), file, settings), 0);

    const std::string bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), 1596u);
    EXPECT_EQ(PathFieldAt(bytes, 0), (program.path() / "skin").string());
    for (size_t field = 1; field < 6; ++field) {
        EXPECT_EQ(PathFieldAt(bytes, 260 * field), program.path().string()) << field;
    }
    EXPECT_EQ(bytes[1560], 0);          // always on top
    EXPECT_EQ(bytes[1561], 0);          // piece-size mode
    EXPECT_EQ(I32At(bytes, 1562), 16);  // piece width
    EXPECT_EQ(I32At(bytes, 1566), 16);  // piece height
    EXPECT_EQ(I32At(bytes, 1570), 16);  // columns
    EXPECT_EQ(I32At(bytes, 1574), 16);  // rows
    EXPECT_EQ(bytes[1578], 1);          // layout flag
    EXPECT_EQ(I32At(bytes, 1579), 0);
    EXPECT_EQ(I32At(bytes, 1583), 0);
    EXPECT_EQ(bytes[1587], 1);  // slider bar flag
    EXPECT_EQ(I32At(bytes, 1588), 0);
    EXPECT_EQ(I32At(bytes, 1592), 0);

    EXPECT_EQ(settings.skinFolder, program.path() / "skin");
    EXPECT_EQ(settings.pieceFolder, program.path());
    EXPECT_EQ(settings.controlLayoutFlag, 1);
}

TEST(Settings, DefaultSkinFolderIsTheProgramFolderWithoutSkinSubfolder) {
    TempFolder program;
    AppSettings settings;
    LoadSettings(program.path(), program.path() / "tama05.ini", settings);
    EXPECT_EQ(settings.skinFolder, program.path());
}

TEST(Settings, PackedFieldsRoundTrip) {
    TempFolder program;
    const auto file = program.path() / "tama05.ini";
    AppSettings settings = DefaultSettings(program.path());
    settings.skinFolder = "/skins/青空";
    settings.alwaysOnTop = 1;
    settings.pieceSizeMode = 1;
    settings.pieceWidth = -7;
    settings.pieceHeight = 300;
    settings.columns = 12;
    settings.rows = 0x01020304;
    settings.controlLayoutFlag = 0;
    settings.controlLeft = -1200;
    settings.controlTop = 640;
    settings.sliderBarFlag = 7;
    settings.sliderBarLeft = 11;
    settings.sliderBarTop = -12;
    ASSERT_EQ(SaveSettings(file, settings), 0);

    const std::string bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), 1596u);
    // The packing: field 9 begins at 1562 and field 14 at 1579.
    EXPECT_EQ(I32At(bytes, 1562), -7);
    EXPECT_EQ(I32At(bytes, 1574), 0x01020304);
    EXPECT_EQ(bytes[1578], 0);
    EXPECT_EQ(I32At(bytes, 1579), -1200);
    EXPECT_EQ(bytes[1587], 7);
    EXPECT_EQ(I32At(bytes, 1592), -12);
    // The path is stored as code page 932: "青空" is 2 double-byte characters.
    EXPECT_EQ(PathFieldAt(bytes, 0).size(), std::string("/skins/").size() + 4);

    AppSettings read;
    LoadSettings(program.path(), file, read);
    EXPECT_EQ(read.skinFolder, settings.skinFolder);
    EXPECT_EQ(read.alwaysOnTop, 1);
    EXPECT_EQ(read.pieceSizeMode, 1);
    EXPECT_EQ(read.pieceHeight, 300);
    EXPECT_EQ(read.columns, 12);
    EXPECT_EQ(read.controlLayoutFlag, 0);
    EXPECT_EQ(read.controlTop, 640);
    EXPECT_EQ(read.sliderBarFlag, 7);
    EXPECT_EQ(read.sliderBarLeft, 11);
    EXPECT_EQ(read.sliderBarTop, -12);
}

TEST(Settings, ShortFileIsReplacedByDefaults) {
    TempFolder program;
    const auto file = program.path() / "tama05.ini";
    WriteFile(file, std::string(1595, '\x07'));
    AppSettings settings;
    LoadSettings(program.path(), file, settings);
    EXPECT_EQ(settings.pieceWidth, 16);
    EXPECT_EQ(settings.controlLayoutFlag, 1);
    const std::string bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), 1596u);
    EXPECT_EQ(I32At(bytes, 1562), 16);
}

TEST(Settings, LongFileIsReadAndItsTailIgnored) {
    TempFolder program;
    const auto file = program.path() / "tama05.ini";
    AppSettings written = DefaultSettings(program.path());
    written.pieceWidth = 40;
    written.sliderBarTop = 99;
    ASSERT_EQ(SaveSettings(file, written), 0);
    std::string bytes = ReadFile(file);
    bytes += std::string("\xFF\xFF\xFF\xFF", 4);
    WriteFile(file, bytes);

    AppSettings read;
    LoadSettings(program.path(), file, read);
    EXPECT_EQ(read.pieceWidth, 40);
    EXPECT_EQ(read.sliderBarTop, 99);
    // A readable file is not rewritten at start-up.
    EXPECT_EQ(ReadFile(file).size(), 1600u);
}

TEST(Settings, UnreadableFileGivesDefaults) {
    TempFolder program;
    // A folder where the file should be: cannot be read, nor replaced.
    std::filesystem::create_directory(program.path() / "tama05.ini");
    AppSettings settings;
    settings.pieceWidth = 3;
    EXPECT_EQ(LoadSettings(program.path(), program.path() / "tama05.ini", settings), 0);
    EXPECT_EQ(settings.pieceWidth, 16);
    EXPECT_EQ(settings.answerFolder, program.path());
}

TEST(Settings, PathWithoutCodePage932FormKeepsItsPreviousValue) {
    TempFolder program;
    const auto file = program.path() / "tama05.ini";
    AppSettings settings = DefaultSettings(program.path());
    settings.openFolder = "/photos/before";
    ASSERT_EQ(SaveSettings(file, settings), 0);
    settings.openFolder = "/photos/\xF0\x9F\x98\x80";  // an emoji
    settings.saveFolder = "/exports/after";
    ASSERT_EQ(SaveSettings(file, settings), 0);

    const std::string bytes = ReadFile(file);
    EXPECT_EQ(PathFieldAt(bytes, 520), "/photos/before");
    EXPECT_EQ(PathFieldAt(bytes, 780), "/exports/after");
}

TEST(Settings, OverlongPathIsNeverCut) {
    TempFolder program;
    const auto file = program.path() / "tama05.ini";
    AppSettings settings = DefaultSettings(program.path());
    settings.pieceFolder = "/" + std::string(258, 'a');  // 259 bytes: fits
    ASSERT_EQ(SaveSettings(file, settings), 0);
    EXPECT_EQ(PathFieldAt(ReadFile(file), 1040), settings.pieceFolder.string());

    const std::string fitting = settings.pieceFolder.string();
    settings.pieceFolder = "/" + std::string(259, 'b');  // 260 bytes: no room for the zero
    ASSERT_EQ(SaveSettings(file, settings), 0);
    const std::string bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), 1596u);
    EXPECT_EQ(PathFieldAt(bytes, 1040), fitting);

    // 130 double-byte characters are 260 bytes in code page 932 though 390 in UTF-8.
    std::string kanji;
    for (int i = 0; i < 130; ++i) {
        kanji += "空";
    }
    settings.pieceFolder = kanji;
    ASSERT_EQ(SaveSettings(file, settings), 0);
    EXPECT_EQ(PathFieldAt(ReadFile(file), 1040), fitting);
}

TEST(Settings, FieldWithoutTerminatorOrValidTextGetsItsDefault) {
    TempFolder program;
    const auto file = program.path() / "tama05.ini";
    AppSettings settings = DefaultSettings(program.path());
    ASSERT_EQ(SaveSettings(file, settings), 0);
    std::string bytes = ReadFile(file);
    std::memset(bytes.data() + 260, 'x', 260);       // no zero in the whole field
    std::memcpy(bytes.data() + 520, "\x81\x00", 2);  // a lone lead byte
    WriteFile(file, bytes);
    AppSettings read;
    LoadSettings(program.path(), file, read);
    EXPECT_EQ(read.answerFolder, program.path());
    EXPECT_EQ(read.openFolder, program.path());
}

TEST(Settings, SaveReplacesAtomicallyAndLeavesNoTemporaryFile) {
    TempFolder program;
    const auto file = program.path() / "tama05.ini";
    WriteFile(file, "old");
    AppSettings settings = DefaultSettings(program.path());
    ASSERT_EQ(SaveSettings(file, settings), 0);
    EXPECT_EQ(ReadFile(file).size(), 1596u);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(program.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(Settings, SaveCreatesTheConfigurationFolder) {
    TempFolder home;
    const auto file = home.path() / ".config/tama05/tama05.ini";
    AppSettings settings = DefaultSettings(home.path());
    ASSERT_EQ(SaveSettings(file, settings), 0);
    EXPECT_EQ(ReadFile(file).size(), 1596u);
}

TEST(Settings, SaveFailsWhenTheFolderCannotBeWritten) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not hold for root";
    }
    TempFolder program;
    std::filesystem::permissions(
        program.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    AppSettings settings = DefaultSettings(program.path());
    EXPECT_EQ(SaveSettings(program.path() / "tama05.ini", settings), -1);
}

TEST(Settings, FileGoesToTheProgramFolderOnlyWhenWritable) {
    EXPECT_EQ(ChooseSettingsFile("/opt/tama05", true, "/cfg", "/home/u"),
              std::filesystem::path("/opt/tama05/tama05.ini"));
    EXPECT_EQ(ChooseSettingsFile("/opt/tama05", false, "/cfg", "/home/u"),
              std::filesystem::path("/cfg/tama05/tama05.ini"));
    EXPECT_EQ(ChooseSettingsFile("/opt/tama05", false, "", "/home/u"),
              std::filesystem::path("/home/u/.config/tama05/tama05.ini"));
    // A relative XDG_CONFIG_HOME is ignored, as the base directory rules say.
    EXPECT_EQ(ChooseSettingsFile("/opt/tama05", false, "cfg", "/home/u"),
              std::filesystem::path("/home/u/.config/tama05/tama05.ini"));
}

TEST(Settings, UnwritableProgramFolderReadsAndWritesTheSameConfigFile) {
    // The defaults of a first start are written where the next start looks.
    const std::filesystem::path program = "/opt/not-writable";
    const auto first = ChooseSettingsFile(program, false, "/x/cfg", "/home/u");
    const auto next = ChooseSettingsFile(program, false, "/x/cfg", "/home/u");
    EXPECT_EQ(first, next);
}

}  // namespace
}  // namespace tama05
