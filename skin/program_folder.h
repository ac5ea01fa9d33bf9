#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tama05 {

// The program folder is the folder of the running executable, whatever the command line or
// the current directory say. Returns 0, or -1 when the executable cannot be located (the
// folder is then the current directory). The current directory is never changed.
int FindProgramFolder(std::filesystem::path& programFolder);

// The puzzle named on the command line: the argument with every double quote removed,
// wherever it stands ("C:\my "puzzles"\a.tgr" names the same file as C:\my puzzles\a.tgr).
std::string PuzzleArgument(std::string_view argument);

// The default skin folder: the sub-folder `skin` of the program folder, or the program folder
// itself when that sub-folder does not exist.
std::filesystem::path DefaultSkinFolder(const std::filesystem::path& programFolder);

}  // namespace tama05
