// The settings file is one record of 1596 bytes with no header: six path fields of 260 bytes
// each (zero-terminated code page 932 text; bytes after the zero do not matter), then, packed
// without padding, the always-on-top byte, the piece-size mode byte, four 32-bit piece values
// (width, height, columns, rows), the control window layout byte, the control window's left
// and top (32-bit), the slider bar byte and the slider bar's left and top (32-bit). Integers
// are little-endian two's complement. A longer file is read for its first 1596 bytes.
#include "skin/app_settings.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>

#include "core/atomic_file.h"
#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/text_encoding.h"
#include "skin/program_folder.h"

namespace tama05 {

namespace {

std::array<std::filesystem::path*, 6> PathFields(AppSettings& s) {
    return {&s.skinFolder, &s.answerFolder, &s.openFolder,
            &s.saveFolder, &s.pieceFolder,  &s.reservedFolder};
}

// The code page 932 form of a path when it fits its field.
std::optional<std::string> StorablePath(const std::filesystem::path& path) {
    std::optional<std::string> bytes = Utf8ToCp932(path.string());
    if (!bytes || bytes->size() > kSettingsPathBytes || bytes->find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::filesystem::path ChooseSettingsFile(const std::filesystem::path& programFolder,
                                         bool programFolderWritable, std::string_view xdgConfigHome,
                                         std::string_view home) {
    if (programFolderWritable) {
        return programFolder / kSettingsFileName;
    }
    std::filesystem::path config;
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
        config = std::filesystem::path(xdgConfigHome);
    } else {
        config = std::filesystem::path(home) / ".config";
    }
    return config / "tama05" / kSettingsFileName;
}

std::filesystem::path ChooseSettingsFile(const std::filesystem::path& programFolder) {
    const bool writable = ::access(programFolder.c_str(), W_OK | X_OK) == 0;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return ChooseSettingsFile(programFolder, writable, xdg != nullptr ? xdg : "",
                              home != nullptr ? home : "");
}

AppSettings DefaultSettings(const std::filesystem::path& programFolder) {
    AppSettings settings;
    settings.skinFolder = DefaultSkinFolder(programFolder);
    settings.answerFolder = programFolder;
    settings.openFolder = programFolder;
    settings.saveFolder = programFolder;
    settings.pieceFolder = programFolder;
    settings.reservedFolder = programFolder;
    return settings;
}

std::vector<uint8_t> PackSettings(AppSettings& settings) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kSettingsFileSize);
    ByteWriter writer(bytes);
    const auto paths = PathFields(settings);
    for (size_t i = 0; i < paths.size(); ++i) {
        if (std::optional<std::string> stored = StorablePath(*paths[i])) {
            settings.storedPaths[i] = std::move(*stored);
        }
        std::array<uint8_t, kSettingsPathField> field{};
        const std::string& value = settings.storedPaths[i];
        std::memcpy(field.data(), value.data(), std::min(value.size(), kSettingsPathBytes));
        writer.WriteBytes(field);
    }
    writer.WriteU8(settings.alwaysOnTop);
    writer.WriteU8(settings.pieceSizeMode);
    writer.WriteI32(settings.pieceWidth);
    writer.WriteI32(settings.pieceHeight);
    writer.WriteI32(settings.columns);
    writer.WriteI32(settings.rows);
    writer.WriteU8(settings.controlLayoutFlag);
    writer.WriteI32(settings.controlLeft);
    writer.WriteI32(settings.controlTop);
    writer.WriteU8(settings.sliderBarFlag);
    writer.WriteI32(settings.sliderBarLeft);
    writer.WriteI32(settings.sliderBarTop);
    return bytes;
}

int UnpackSettings(std::span<const uint8_t> bytes, const std::filesystem::path& programFolder,
                   AppSettings& settings) {
    if (bytes.size() < kSettingsFileSize) {
        return -1;
    }
    ByteReader reader(bytes.first(kSettingsFileSize));
    AppSettings read = DefaultSettings(programFolder);
    const auto paths = PathFields(read);
    for (size_t i = 0; i < paths.size(); ++i) {
        std::span<const uint8_t> field;
        reader.ReadSpan(kSettingsPathField, field);
        const auto* text = reinterpret_cast<const char*>(field.data());
        const size_t length = std::find(field.begin(), field.end(), uint8_t{0}) - field.begin();
        const std::string_view raw(text, std::min(length, kSettingsPathBytes));
        if (std::optional<std::string> utf8 = Cp932ToUtf8(raw);
            utf8 && length <= kSettingsPathBytes) {
            *paths[i] = std::filesystem::path(*utf8);
            read.storedPaths[i] = std::string(raw);
        }
    }
    reader.ReadU8(read.alwaysOnTop);
    reader.ReadU8(read.pieceSizeMode);
    reader.ReadI32(read.pieceWidth);
    reader.ReadI32(read.pieceHeight);
    reader.ReadI32(read.columns);
    reader.ReadI32(read.rows);
    reader.ReadU8(read.controlLayoutFlag);
    reader.ReadI32(read.controlLeft);
    reader.ReadI32(read.controlTop);
    reader.ReadU8(read.sliderBarFlag);
    reader.ReadI32(read.sliderBarLeft);
    reader.ReadI32(read.sliderBarTop);
    if (!reader.ok()) {
        return -1;
    }
    settings = std::move(read);
    return 0;
}

int LoadSettings(const std::filesystem::path& programFolder,
                 const std::filesystem::path& settingsFile, AppSettings& settings) {
    std::vector<uint8_t> bytes(kSettingsFileSize);
    size_t got = 0;
    std::error_code error;
    // Only a plain file is read: a pipe or device in its place would block or never end.
    std::ifstream file;
    if (std::filesystem::is_regular_file(settingsFile, error)) {
        file.open(settingsFile, std::ios::binary);
    }
    if (file.is_open()) {
        file.read(reinterpret_cast<char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        got = static_cast<size_t>(file.gcount());
    }
    if (got == kSettingsFileSize && UnpackSettings(bytes, programFolder, settings) == 0) {
        return 0;
    }
    settings = DefaultSettings(programFolder);
    SaveSettings(settingsFile, settings);
    return 0;
}

int SaveSettings(const std::filesystem::path& settingsFile, AppSettings& settings) {
    const std::vector<uint8_t> bytes = PackSettings(settings);
    std::error_code error;
    const std::filesystem::path folder = settingsFile.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
    }
    return WriteFileAtomically(settingsFile, bytes) == 0 ? 0 : -1;
}

}  // namespace tama05
