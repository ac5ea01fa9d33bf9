#include "app/dialogs/file_association.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>

#include "temp_folder.h"
#include "text_files.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

// Writes a file, making its folders first.
void WriteFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    test::WriteFile(path, bytes);
}

constexpr std::string_view kType = "application/x-tama05-puzzle";
constexpr std::string_view kEntry = "tama05.desktop";

struct RecordingRunner {
    std::vector<std::vector<std::string>> calls;
    ToolRunner Runner() {
        return [this](const std::vector<std::string>& command) {
            calls.push_back(command);
            return 0;
        };
    }
};

// A user's folders and an installed program with the icons the art tool draws.
struct Places {
    Places() {
        places.dataHome = root.path() / "data";
        places.configHome = root.path() / "config";
        places.programPath = root.path() / "program folder" / "tama05";
        places.iconFolder = root.path() / "program folder" / "icons";
        fs::create_directories(places.iconFolder);
        for (int size : {16, 48, 256}) {
            WriteFile(places.iconFolder / ("tama05-" + std::to_string(size) + ".png"),
                      "icon " + std::to_string(size));
        }
        WriteFile(places.iconFolder / "tama05.svg", "<svg/>");
        WriteFile(places.programPath, "#!/bin/sh\n");
        fs::permissions(places.programPath, fs::perms::owner_all);
    }
    test::TempFolder root;
    AssociationPlaces places;
};

std::optional<std::string> RunShell(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string out;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
        out += buffer.data();
    }
    if (::pclose(pipe) != 0) {
        return std::nullopt;
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) {
        out.pop_back();
    }
    return out;
}

bool HaveTool(const std::string& name) {
    return RunShell("command -v " + name + " >/dev/null 2>&1 && echo yes").value_or("") == "yes";
}

TEST(AssociationPlaces, FollowTheUsersFoldersOrTheirDefaults) {
    const AssociationPlaces set =
        AssociationPlacesFor("/opt/t/tama05", "/x/data", "/x/config", "/home/u");
    EXPECT_EQ(set.MimePackageFile(), fs::path("/x/data/mime/packages/tama05-puzzle.xml"));
    EXPECT_EQ(set.DesktopEntryFile(), fs::path("/x/data/applications/tama05.desktop"));
    EXPECT_EQ(set.IconFile(48), fs::path("/x/data/icons/hicolor/48x48/apps/tama05.png"));
    EXPECT_EQ(set.MimeAppsFile(), fs::path("/x/config/mimeapps.list"));
    EXPECT_EQ(set.iconFolder, fs::path("/opt/t/icons"));
    // Unset or relative values are ignored.
    const AssociationPlaces unset =
        AssociationPlacesFor("/opt/t/tama05", "", "relative", "/home/u");
    EXPECT_EQ(unset.dataHome, fs::path("/home/u/.local/share"));
    EXPECT_EQ(unset.configHome, fs::path("/home/u/.config"));
}

TEST(DesktopEntry, QuotesTheProgramPathAsDesktopEntriesRequire) {
    auto execLine = [](const fs::path& program) -> std::string {
        const auto text = DesktopEntryText(program);
        if (!text) {
            return "<none>";
        }
        const size_t at = text->find("\nExec=");
        return text->substr(at + 1, text->find('\n', at + 1) - at - 1);
    };
    EXPECT_EQ(execLine("/opt/my games/tama05"), "Exec=\"/opt/my games/tama05\" %f");
    // ", `, $ and \ take a backslash inside the quotes, and every backslash is then doubled
    // by the string escaping of the file; % is doubled.
    EXPECT_EQ(execLine("/a$b/t\"x"), "Exec=\"/a\\\\$b/t\\\\\"x\" %f");
    EXPECT_EQ(execLine("/a\\b/100%/t`"), "Exec=\"/a\\\\\\\\b/100%%/t\\\\`\" %f");
    EXPECT_EQ(execLine("/bad\npath"), "<none>");
    EXPECT_EQ(execLine(std::string("/bad\xff")), "<none>");
    const std::string text = *DesktopEntryText("/opt/t/tama05");
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=tama05\n"), std::string::npos);
    EXPECT_NE(text.find("\nMimeType=application/x-tama05-puzzle;\n"), std::string::npos);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
}

TEST(MimeApps, SettingTheDefaultKeepsEveryOtherLine) {
    EXPECT_EQ(SetDefaultApplication("", kType, kEntry),
              "\n[Default Applications]\napplication/x-tama05-puzzle=tama05.desktop\n");
    const std::string list =
        "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n"
        "image/png=viewer.desktop\napplication/x-tama05-puzzle=old.desktop\n\n"
        "[Removed Associations]\nimage/gif=b.desktop\n";
    EXPECT_EQ(SetDefaultApplication(list, kType, kEntry),
              "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n"
              "image/png=viewer.desktop\napplication/x-tama05-puzzle=tama05.desktop\n\n"
              "[Removed Associations]\nimage/gif=b.desktop\n");
    // Added at the end of its group, before the blank line that ends it.
    EXPECT_EQ(SetDefaultApplication("[Default Applications]\nimage/png=v.desktop\n\n[X]\na=b\n",
                                    kType, kEntry),
              "[Default Applications]\nimage/png=v.desktop\n"
              "application/x-tama05-puzzle=tama05.desktop\n\n[X]\na=b\n");
}

TEST(MimeApps, RemovingTheDefaultTakesOnlyOurLine) {
    bool removed = false;
    const std::string list =
        "[Default Applications]\nimage/png=viewer.desktop\n"
        "application/x-tama05-puzzle=tama05.desktop\n\n[Added Associations]\n"
        "application/x-tama05-puzzle=tama05.desktop;\n";
    EXPECT_EQ(RemoveDefaultApplication(list, kType, kEntry, removed),
              "[Default Applications]\nimage/png=viewer.desktop\n\n[Added Associations]\n"
              "application/x-tama05-puzzle=tama05.desktop;\n");
    EXPECT_TRUE(removed);
    // Another program chosen by the user stays.
    const std::string other = "[Default Applications]\napplication/x-tama05-puzzle=other.desktop\n";
    EXPECT_EQ(RemoveDefaultApplication(other, kType, kEntry, removed), other);
    EXPECT_FALSE(removed);
}

// The default line is written exactly as `xdg-mime default` writes it.
TEST(MimeApps, MatchesXdgMimeDefault) {
    if (!HaveTool("xdg-mime")) {
        GTEST_SKIP() << "xdg-mime is not installed";
    }
    const std::vector<std::string> lists = {
        "",
        "[Default Applications]\nimage/png=v.desktop\n\n\n[X]\na=b\n",
        "[Added Associations]\nimage/png=v.desktop;\n",
        "[Default Applications]\napplication/x-tama05-puzzle=old.desktop\nimage/png=v.desktop\n\n",
    };
    for (const std::string& list : lists) {
        test::TempFolder config;
        WriteFile(config.path() / "mimeapps.list", list);
        ASSERT_TRUE(RunShell("env XDG_CONFIG_HOME='" + config.path().string() +
                             "' KDE_SESSION_VERSION= xdg-mime default tama05.desktop "
                             "application/x-tama05-puzzle && echo ok"));
        EXPECT_EQ(SetDefaultApplication(list, kType, kEntry),
                  ReadFile(config.path() / "mimeapps.list"))
            << list;
    }
}

TEST(RegisterAssociation, WritesTheTypeTheEntryTheIconsAndTheDefault) {
    Places folders;
    const AssociationPlaces& places = folders.places;
    WriteFile(places.MimeAppsFile(), "[Default Applications]\nimage/png=viewer.desktop\n");
    RecordingRunner runner;
    RecordingMessageSink messages;
    ASSERT_EQ(RegisterAssociation(places, messages, runner.Runner()), 0);
    EXPECT_TRUE(messages.messages.empty());

    const std::string package = ReadFile(places.MimePackageFile());
    EXPECT_NE(package.find("<mime-type type=\"application/x-tama05-puzzle\">"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.tgr\"/>"), std::string::npos);
    const std::string entry = ReadFile(places.DesktopEntryFile());
    EXPECT_NE(entry.find("\nExec=\"" + places.programPath.string() + "\" %f\n"), std::string::npos);
    for (int size : {16, 48, 256}) {
        EXPECT_EQ(ReadFile(places.IconFile(size)), "icon " + std::to_string(size));
    }
    EXPECT_FALSE(fs::exists(places.IconFile(32)));
    EXPECT_EQ(ReadFile(places.MimeAppsFile()),
              "[Default Applications]\nimage/png=viewer.desktop\n"
              "application/x-tama05-puzzle=tama05.desktop\n");
    const std::vector<std::vector<std::string>> refreshes = {
        {"update-mime-database", (places.dataHome / "mime").string()},
        {"update-desktop-database", (places.dataHome / "applications").string()},
    };
    EXPECT_EQ(runner.calls, refreshes);

    // Twice writes the same files.
    ASSERT_EQ(RegisterAssociation(places, messages, runner.Runner()), 0);
    EXPECT_EQ(ReadFile(places.MimePackageFile()), package);
    EXPECT_EQ(ReadFile(places.DesktopEntryFile()), entry);
    EXPECT_EQ(ReadFile(places.MimeAppsFile()),
              "[Default Applications]\nimage/png=viewer.desktop\n"
              "application/x-tama05-puzzle=tama05.desktop\n");
}

TEST(RegisterAssociation, MissingToolsAreNoFailure) {
    Places folders;
    RecordingMessageSink messages;
    const ToolRunner missing = [](const std::vector<std::string>&) { return -1; };
    EXPECT_EQ(RegisterAssociation(folders.places, messages, missing), 0);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(RunTool({"tama05-no-such-tool-here"}), -1);
}

TEST(RegisterAssociation, EachFailingStepShowsItsNumberAndStops) {
    const ToolRunner none = [](const std::vector<std::string>&) { return 0; };
    using Message = RecordingMessageSink::Message;
    {
        Places folders;
        WriteFile(folders.places.dataHome, "a file where the folder belongs");
        RecordingMessageSink messages;
        EXPECT_EQ(RegisterAssociation(folders.places, messages, none), -1);
        EXPECT_EQ(messages.messages,
                  std::vector<Message>({{"RegCreateKeyExでエラーが発生しました1", "Error"}}));
    }
    {
        Places folders;
        WriteFile(folders.places.dataHome / "applications", "a file");
        RecordingMessageSink messages;
        EXPECT_EQ(RegisterAssociation(folders.places, messages, none), -1);
        EXPECT_EQ(messages.messages,
                  std::vector<Message>({{"RegCreateKeyExでエラーが発生しました2", "Error"}}));
        EXPECT_TRUE(fs::exists(folders.places.MimePackageFile()));  // the first step stays
        EXPECT_FALSE(fs::exists(folders.places.MimeAppsFile()));
    }
    {
        Places folders;
        WriteFile(folders.places.configHome, "a file");
        RecordingMessageSink messages;
        EXPECT_EQ(RegisterAssociation(folders.places, messages, none), -1);
        EXPECT_EQ(messages.messages,
                  std::vector<Message>({{"RegCreateKeyExでエラーが発生しました3", "Error"}}));
        EXPECT_TRUE(fs::exists(folders.places.DesktopEntryFile()));
    }
}

TEST(RemoveAssociation, RemovesExactlyWhatWasWritten) {
    Places folders;
    const AssociationPlaces& places = folders.places;
    WriteFile(places.MimeAppsFile(), "[Default Applications]\nimage/png=viewer.desktop\n");
    WriteFile(places.dataHome / "applications" / "other.desktop", "[Desktop Entry]\n");
    WriteFile(places.dataHome / "icons" / "hicolor" / "48x48" / "apps" / "other.png", "x");
    RecordingMessageSink messages;
    RecordingRunner runner;
    ASSERT_EQ(RegisterAssociation(places, messages, runner.Runner()), 0);
    runner.calls.clear();

    EXPECT_EQ(RemoveAssociation(places, runner.Runner()), 0);
    EXPECT_FALSE(fs::exists(places.MimePackageFile()));
    EXPECT_FALSE(fs::exists(places.DesktopEntryFile()));
    for (int size : {16, 48, 256}) {
        EXPECT_FALSE(fs::exists(places.IconFile(size)));
    }
    EXPECT_EQ(ReadFile(places.MimeAppsFile()),
              "[Default Applications]\nimage/png=viewer.desktop\n");
    EXPECT_TRUE(fs::exists(places.dataHome / "applications" / "other.desktop"));
    EXPECT_TRUE(fs::exists(places.dataHome / "icons" / "hicolor" / "48x48" / "apps" / "other.png"));
    EXPECT_EQ(runner.calls.size(), 2u);
    EXPECT_TRUE(messages.messages.empty());

    // Nothing left: nothing to do.
    EXPECT_EQ(RemoveAssociation(places, runner.Runner()), 1);
}

TEST(RemoveAssociation, NothingThereGivesOne) {
    Places folders;
    EXPECT_EQ(RemoveAssociation(folders.places, [](const std::vector<std::string>&) { return 0; }),
              1);
    EXPECT_FALSE(fs::exists(folders.places.dataHome));
    EXPECT_FALSE(fs::exists(folders.places.configHome));
}

// A system data folder with the package's own desktop entry and puzzle type, and a search
// path whose tama05 is a link to the given program.
struct SystemFolders {
    SystemFolders(AssociationPlaces& places, const fs::path& root, const fs::path& linkTarget) {
        const fs::path share = root / "usr" / "share";
        const fs::path packaging = fs::path(TAMA05_SOURCE_DIR) / "packaging";
        WriteFile(share / "applications" / "tama05.desktop",
                  ReadFile(packaging / "tama05.desktop"));
        WriteFile(share / "mime" / "packages" / "tama05-puzzle.xml",
                  ReadFile(packaging / "tama05-puzzle.xml"));
        fs::create_directories(root / "usr" / "bin");
        fs::create_symlink(linkTarget, root / "usr" / "bin" / "tama05");
        places.dataDirs = {root / "nothing here", share};
        places.searchPath = {root / "usr" / "bin", "/usr/bin"};
    }
};

TEST(Packaging, TheInstalledTypeAndEntryAreTheOnesTheGameWrites) {
    const fs::path packaging = fs::path(TAMA05_SOURCE_DIR) / "packaging";
    EXPECT_EQ(ReadFile(packaging / "tama05-puzzle.xml"), MimePackageText());
    // The same entry, with the program found on the search path.
    std::string entry = DesktopEntryText("/x").value();
    const std::string exec = "Exec=\"/x\" %f\n";
    entry.replace(entry.find(exec), exec.size(), "Exec=tama05 %f\n");
    EXPECT_EQ(ReadFile(packaging / "tama05.desktop"), entry);
}

TEST(RegisterAssociation, InstalledWithTheSystemOnlySetsTheUsersDefault) {
    Places folders;
    AssociationPlaces& places = folders.places;
    EXPECT_FALSE(InstalledWithSystem(places));
    SystemFolders system(places, folders.root.path() / "system", places.programPath);
    EXPECT_TRUE(InstalledWithSystem(places));

    // An entry of a copy registered earlier would hide the system's: it goes.
    RecordingRunner runner;
    RecordingMessageSink messages;
    WriteFile(places.DesktopEntryFile(), "[Desktop Entry]\nExec=/old/tama05 %f\n");
    WriteFile(places.IconFile(48), "old icon");
    WriteFile(places.MimePackageFile(), "<mime-info/>");
    WriteFile(places.MimeAppsFile(), "[Default Applications]\nimage/png=viewer.desktop\n");
    ASSERT_EQ(RegisterAssociation(places, messages, runner.Runner()), 0);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(fs::exists(places.DesktopEntryFile()));
    EXPECT_FALSE(fs::exists(places.IconFile(48)));
    EXPECT_FALSE(fs::exists(places.MimePackageFile()));
    EXPECT_EQ(ReadFile(places.MimeAppsFile()),
              "[Default Applications]\nimage/png=viewer.desktop\n"
              "application/x-tama05-puzzle=tama05.desktop\n");
    EXPECT_EQ(runner.calls.size(), 2u);  // both databases refreshed after the removal

    // Nothing of ours in the user's data folder: nothing written there.
    runner.calls.clear();
    ASSERT_EQ(RegisterAssociation(places, messages, runner.Runner()), 0);
    for (const auto& file : fs::recursive_directory_iterator(places.dataHome)) {
        EXPECT_FALSE(file.is_regular_file()) << file.path();
    }
    EXPECT_TRUE(runner.calls.empty());

    // Removing takes the default line only.
    EXPECT_EQ(RemoveAssociation(places, runner.Runner()), 0);
    EXPECT_EQ(ReadFile(places.MimeAppsFile()),
              "[Default Applications]\nimage/png=viewer.desktop\n");
    EXPECT_EQ(RemoveAssociation(places, runner.Runner()), 1);
}

TEST(RegisterAssociation, ASystemEntryOfAnotherCopyIsNotOurs) {
    Places folders;
    AssociationPlaces& places = folders.places;
    const fs::path other = folders.root.path() / "other" / "tama05";
    WriteFile(other, "#!/bin/sh\n");
    SystemFolders system(places, folders.root.path() / "system", other);
    EXPECT_FALSE(InstalledWithSystem(places));
    RecordingMessageSink messages;
    RecordingRunner runner;
    ASSERT_EQ(RegisterAssociation(places, messages, runner.Runner()), 0);
    EXPECT_TRUE(fs::exists(places.DesktopEntryFile()));
    EXPECT_TRUE(fs::exists(places.MimePackageFile()));

    // Nor is one without the puzzle type beside it.
    fs::remove(folders.root.path() / "system" / "usr" / "bin" / "tama05");
    fs::create_symlink(places.programPath,
                       folders.root.path() / "system" / "usr" / "bin" / "tama05");
    places.searchPath = {folders.root.path() / "system" / "usr" / "bin"};
    EXPECT_TRUE(InstalledWithSystem(places));
    fs::remove(folders.root.path() / "system" / "usr" / "share" / "mime" / "packages" /
               "tama05-puzzle.xml");
    EXPECT_FALSE(InstalledWithSystem(places));
}

// With the desktop tools installed, the system itself sees the association.
TEST(Association, XdgMimeSeesTheTypeAndTheDefault) {
    if (!HaveTool("xdg-mime")) {
        GTEST_SKIP() << "xdg-mime is not installed";
    }
    Places folders;
    const AssociationPlaces& places = folders.places;
    const std::string environment = "env XDG_DATA_HOME='" + places.dataHome.string() +
                                    "' XDG_CONFIG_HOME='" + places.configHome.string() +
                                    "' XDG_CURRENT_DESKTOP= KDE_SESSION_VERSION= ";
    ::setenv("XDG_DATA_HOME", places.dataHome.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", places.configHome.c_str(), 1);
    RecordingMessageSink messages;
    const int registered = RegisterAssociation(places, messages);
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(registered, 0);

    const fs::path puzzle = folders.root.path() / "x.tgr";
    WriteFile(puzzle, std::string("tgr file 01\0", 12) + std::string(200, '\0'));
    if (HaveTool("update-mime-database") && HaveTool("mimetype")) {
        EXPECT_EQ(RunShell(environment + "xdg-mime query filetype '" + puzzle.string() + "'"),
                  std::string(kType));
    }
    if (HaveTool("update-desktop-database")) {
        EXPECT_EQ(RunShell(environment + "xdg-mime query default application/x-tama05-puzzle"),
                  std::string(kEntry));
    }

    ::setenv("XDG_DATA_HOME", places.dataHome.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", places.configHome.c_str(), 1);
    const int removed = RemoveAssociation(places);
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(removed, 0);
    EXPECT_NE(
        RunShell(environment + "xdg-mime query default application/x-tama05-puzzle").value_or(""),
        std::string(kEntry));
}

}  // namespace
}  // namespace tama05
