#pragma once

// Pictures for the documentation: how each skin looks in use, and all character pictures.

#include <filesystem>
#include <string>

namespace tama05::art {

// Writes docs/skin-<folder>.png for every skin and docs/characters.png.
bool WriteDocsPictures(const std::filesystem::path& docsFolder, std::string& error);

}  // namespace tama05::art
