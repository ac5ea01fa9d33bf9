#include "skin/program_folder.h"

#include <system_error>

namespace tama05 {

int FindProgramFolder(std::filesystem::path& programFolder) {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && executable.has_parent_path()) {
        programFolder = executable.parent_path();
        return 0;
    }
    programFolder = std::filesystem::current_path(error);
    return -1;
}

std::string PuzzleArgument(std::string_view argument) {
    std::string cleaned;
    cleaned.reserve(argument.size());
    for (char c : argument) {
        if (c != '"') {
            cleaned.push_back(c);
        }
    }
    return cleaned;
}

std::filesystem::path DefaultSkinFolder(const std::filesystem::path& programFolder) {
    std::error_code error;
    const std::filesystem::path skin = programFolder / "skin";
    if (std::filesystem::is_directory(skin, error)) {
        return skin;
    }
    return programFolder;
}

}  // namespace tama05
