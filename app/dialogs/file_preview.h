#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/image.h"

namespace tama05 {

// What the preview panel of the open dialogs shows for one file.
struct FilePreview {
    bool loaded = false;
    // Always 120 × 110: the file's picture scaled without keeping its proportions, or black.
    Image picture;
    // The file's name without its folder, or "---".
    std::string name = "---";
    // The picture's size before scaling, or 0 × 0.
    int32_t width = 0;
    int32_t height = 0;
};

// The black "---", 0 × 0 preview of a file that cannot be shown.
FilePreview EmptyPreview();

// A picture file read silently with the picture readers.
FilePreview PreviewPictureFile(const std::filesystem::path& path);

// The thumbnail of a puzzle file (for the older layout, its whole mosaic), read silently; the
// size shown is the size of the picture decoded.
FilePreview PreviewPuzzleFile(const std::filesystem::path& path);

}  // namespace tama05
