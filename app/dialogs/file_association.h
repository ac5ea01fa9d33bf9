#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_sink.h"

namespace tama05 {

// Puzzle files are associated with the program the freedesktop way, in the user's own folders:
// a MIME type for *.tgr, a desktop entry that starts the program with the file, and that entry
// as the type's default application.
inline constexpr std::string_view kPuzzleMimeType = "application/x-tama05-puzzle";
inline constexpr std::string_view kDesktopEntryName = "tama05.desktop";
inline constexpr std::string_view kIconName = "tama05";
inline constexpr std::string_view kMimePackageName = "tama05-puzzle.xml";

// Where the association lives.
struct AssociationPlaces {
    // $XDG_DATA_HOME, or ~/.local/share.
    std::filesystem::path dataHome;
    // $XDG_CONFIG_HOME, or ~/.config.
    std::filesystem::path configHome;
    // The executable a puzzle file starts.
    std::filesystem::path programPath;
    // The program folder's icons (tama05-<N>.png, N × N pixels).
    std::filesystem::path iconFolder;
    // The system's data folders ($XDG_DATA_DIRS) and the program search path ($PATH), where a
    // package installs the desktop entry and the links to the program.
    std::vector<std::filesystem::path> dataDirs;
    std::vector<std::filesystem::path> searchPath;

    // dataHome/mime/packages/<kMimePackageName>
    std::filesystem::path MimePackageFile() const;
    // dataHome/applications/tama05.desktop
    std::filesystem::path DesktopEntryFile() const;
    // dataHome/icons/hicolor/<N>x<N>/apps/tama05.png
    std::filesystem::path IconFile(int size) const;
    // configHome/mimeapps.list
    std::filesystem::path MimeAppsFile() const;
};

// The places for an executable, from the given environment values (a value that is not an
// absolute path counts as unset) and the home folder; no system folders.
AssociationPlaces AssociationPlacesFor(const std::filesystem::path& programPath,
                                       std::string_view xdgDataHome, std::string_view xdgConfigHome,
                                       std::string_view home);
// The same from the process's environment; the icons are the program folder's icons/, the
// system folders come from $XDG_DATA_DIRS (by default /usr/local/share and /usr/share) and
// $PATH (only absolute folders count).
AssociationPlaces AssociationPlacesFromEnvironment(const std::filesystem::path& programPath);

// True when the program is installed with the system: a system data folder holds the puzzle
// type and a desktop entry tama05.desktop whose Exec program (looked up in the search path
// when it is a bare name) is this very program.
bool InstalledWithSystem(const AssociationPlaces& places);

// The shared-mime-info package that declares the puzzle type: the *.tgr pattern and the
// file's first eleven bytes.
std::string MimePackageText();

// The desktop entry that opens a puzzle file with the program. The program path is quoted
// as desktop entries require; nothing when it cannot be written in one (control characters
// or text that is not UTF-8).
std::optional<std::string> DesktopEntryText(const std::filesystem::path& programPath);

// mimeapps.list with mimeType's default application set to desktopName, changed the way
// `xdg-mime default` changes it: the line in [Default Applications] is replaced, or added at
// the end of that group, or the group is added at the end; every other line stays.
std::string SetDefaultApplication(std::string_view listText, std::string_view mimeType,
                                  std::string_view desktopName);
// mimeapps.list without the default line "mimeType=desktopName" of [Default Applications]
// (removed is set when there was one); every other line stays.
std::string RemoveDefaultApplication(std::string_view listText, std::string_view mimeType,
                                     std::string_view desktopName, bool& removed);

// Runs a helper program (its name, looked up in PATH, then its arguments) and waits for it.
// Returns its exit status, or -1 when it could not be started (not installed).
using ToolRunner = std::function<int(const std::vector<std::string>& command)>;
int RunTool(const std::vector<std::string>& command);

// Registers the association in three steps, each shown with its numbered message
// ("RegCreateKeyExでエラーが発生しました1" … "3", caption "Error") when it fails, which ends the
// registration (the steps already done stay): 1 the MIME type, 2 the desktop entry with the
// icons, 3 the default application. The MIME and desktop databases are refreshed with
// update-mime-database and update-desktop-database when they are installed. A program
// installed with the system has its type and entry already: step 1 does nothing, step 2
// removes a user's entry of ours that would hide the system's, and step 3 sets the default.
// Returns 0 or -1.
int RegisterAssociation(const AssociationPlaces& places, MessageSink& messages,
                        const ToolRunner& runTool = RunTool);

// Removes exactly what RegisterAssociation writes: the default line, the desktop entry, the
// icons, the MIME package, in that order, stopping at the first that cannot be removed.
// Returns 0 when removed, 1 when nothing was there, -1 when a removal failed. Shows nothing.
int RemoveAssociation(const AssociationPlaces& places, const ToolRunner& runTool = RunTool);

}  // namespace tama05
