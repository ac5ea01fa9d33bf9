#pragma once

// The program icon: the mascot's face, as PNG files of several sizes and one SVG.

#include <array>
#include <filesystem>
#include <string>

namespace tama05::art {

inline constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

// Writes icons/tama05-<size>.png for every size and icons/tama05.svg.
bool WriteIcons(const std::filesystem::path& programDir, std::string& error);

}  // namespace tama05::art
