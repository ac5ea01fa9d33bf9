#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tama05 {

// The settings kept between runs in `tama05.ini`.
struct AppSettings {
    std::filesystem::path skinFolder;
    // Last folders of the answer-image, puzzle-open and save dialogs.
    std::filesystem::path answerFolder;
    std::filesystem::path openFolder;
    std::filesystem::path saveFolder;
    // Folder of the piece pictures of the last new puzzle.
    std::filesystem::path pieceFolder;
    // Read and written back, not used.
    std::filesystem::path reservedFolder;
    uint8_t alwaysOnTop = 0;
    // 0 piece size given, 1 division counts given.
    uint8_t pieceSizeMode = 0;
    int32_t pieceWidth = 16;
    int32_t pieceHeight = 16;
    int32_t columns = 16;
    int32_t rows = 16;
    // 1: the control window takes the size of its skin picture; 0: a fixed 503 × 21.
    uint8_t controlLayoutFlag = 1;
    int32_t controlLeft = 0;
    int32_t controlTop = 0;
    // Kept and written back; nothing else consults them.
    uint8_t sliderBarFlag = 1;
    int32_t sliderBarLeft = 0;
    int32_t sliderBarTop = 0;

    // The code page 932 bytes each path field held when the file was last read or written,
    // in field order. A path that cannot be stored (no code page 932 form, or longer than
    // kSettingsPathBytes) is written as this previous value instead of being cut.
    std::array<std::string, 6> storedPaths;
};

// The file: 1596 bytes, packed, little-endian.
inline constexpr size_t kSettingsFileSize = 1596;
// A path field is 260 bytes: at most 259 bytes of path and a terminating zero.
inline constexpr size_t kSettingsPathField = 260;
inline constexpr size_t kSettingsPathBytes = kSettingsPathField - 1;
inline constexpr std::string_view kSettingsFileName = "tama05.ini";

// Where the settings file lives: `tama05.ini` in the program folder when that folder is
// writable, otherwise in `tama05` under the user's configuration folder ($XDG_CONFIG_HOME when
// it is an absolute path, else ~/.config).
std::filesystem::path ChooseSettingsFile(const std::filesystem::path& programFolder,
                                         bool programFolderWritable, std::string_view xdgConfigHome,
                                         std::string_view home);
// The same, from the process's environment and the folder's permissions.
std::filesystem::path ChooseSettingsFile(const std::filesystem::path& programFolder);

// The defaults of a first start.
AppSettings DefaultSettings(const std::filesystem::path& programFolder);

// The 1596 bytes of the file. Updates storedPaths with what each path field now holds.
std::vector<uint8_t> PackSettings(AppSettings& settings);
// Reads the first 1596 bytes (the caller checks the size); a path field that is not valid
// code page 932 takes its default. Returns 0, or -1 when fewer than 1596 bytes are given.
int UnpackSettings(std::span<const uint8_t> bytes, const std::filesystem::path& programFolder,
                   AppSettings& settings);

// Reads the settings file; a missing, unreadable or short file gives the defaults, which are
// then written to settingsFile (the defaults hold whether or not that succeeds). Bytes after
// the first 1596 are ignored. Returns 0.
int LoadSettings(const std::filesystem::path& programFolder,
                 const std::filesystem::path& settingsFile, AppSettings& settings);

// Writes the settings as a new file, replacing the old one at once: the bytes go to a
// temporary file beside it, are flushed to disk and then renamed over it. The folder is
// created when missing. Returns 0, or -1 (the old file untouched) when it cannot be written.
int SaveSettings(const std::filesystem::path& settingsFile, AppSettings& settings);

}  // namespace tama05
