#include "app/dialogs/file_association.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <span>
#include <system_error>

#include "core/atomic_file.h"
#include "core/file_bytes.h"

extern char** environ;

namespace tama05 {

namespace {

constexpr std::string_view kRegisterFailure1 = "RegCreateKeyExでエラーが発生しました1";
constexpr std::string_view kRegisterFailure2 = "RegCreateKeyExでエラーが発生しました2";
constexpr std::string_view kRegisterFailure3 = "RegCreateKeyExでエラーが発生しました3";
constexpr std::string_view kRegisterFailureCaption = "Error";
constexpr std::string_view kDefaultGroup = "[Default Applications]";
// mimeapps.list is a small text file; anything larger is not one we rewrite.
constexpr uint64_t kMaxMimeAppsBytes = uint64_t{16} << 20;
constexpr int kLargestIconSize = 4096;
// A desktop entry is a few lines; a larger file is not ours.
constexpr uint64_t kMaxDesktopEntryBytes = uint64_t{1} << 20;

std::filesystem::path PlaceFor(std::string_view value, std::string_view home,
                               std::string_view fallback) {
    const std::filesystem::path given(value);
    if (!value.empty() && given.is_absolute()) {
        return given;
    }
    return std::filesystem::path(home) / fallback;
}

std::string_view EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

// The absolute folders of a colon-separated list; the others are ignored.
std::vector<std::filesystem::path> AbsoluteFolders(std::string_view list) {
    std::vector<std::filesystem::path> folders;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        const std::filesystem::path folder(list.substr(start, end - start));
        if (folder.is_absolute()) {
            folders.push_back(folder);
        }
        start = end + 1;
    }
    return folders;
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        size_t length = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// One argument of an Exec line: in double quotes, with ", `, $ and \ escaped by a backslash
// and % doubled; then the backslashes doubled again, since the value as a whole is read with
// the string escapes of the desktop entry format first.
std::string QuotedExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    std::string escaped;
    for (char c : quoted) {
        if (c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool WriteText(const std::filesystem::path& file, std::string_view text) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        return false;
    }
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size());
    return WriteFileAtomically(file, bytes) == 0;
}

// The file's text, an empty text when the file does not exist, nothing when it cannot be read.
std::optional<std::string> ReadText(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return error ? std::nullopt : std::optional<std::string>(std::string());
    }
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(file, bytes, kMaxMimeAppsBytes) != 0) {
        return std::nullopt;
    }
    return std::string(bytes.begin(), bytes.end());
}

// The sizes of the program's icons: files tama05-<N>.png in the icon folder.
std::vector<int> IconSizes(const std::filesystem::path& iconFolder) {
    std::vector<int> sizes;
    std::error_code error;
    std::filesystem::directory_iterator it(iconFolder, error);
    if (error) {
        return sizes;
    }
    const std::string prefix = std::string(kIconName) + "-";
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (!StartsWith(name, prefix) || name.size() <= prefix.size() + 4 ||
            name.substr(name.size() - 4) != ".png") {
            continue;
        }
        const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const int size = std::stoi(digits);
        if (size >= 1 && size <= kLargestIconSize && entry.is_regular_file(error)) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

// Sizes N with an installed icon: folders <N>x<N> of the hicolor theme holding apps/tama05.png.
std::vector<std::filesystem::path> InstalledIcons(const AssociationPlaces& places) {
    std::vector<std::filesystem::path> icons;
    std::error_code error;
    const std::filesystem::path theme = places.dataHome / "icons" / "hicolor";
    std::filesystem::directory_iterator it(theme, error);
    if (error) {
        return icons;
    }
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        const size_t cross = name.find('x');
        if (cross == std::string::npos || cross == 0 ||
            name.substr(0, cross) != name.substr(cross + 1)) {
            continue;
        }
        const std::filesystem::path icon =
            entry.path() / "apps" / (std::string(kIconName) + ".png");
        if (std::filesystem::is_regular_file(icon, error)) {
            icons.push_back(icon);
        }
    }
    return icons;
}

bool RemoveFile(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::remove(file, error);
    return !error;
}

void RefreshMimeDatabase(const AssociationPlaces& places, const ToolRunner& runTool) {
    std::error_code error;
    const std::filesystem::path mime = places.dataHome / "mime";
    if (std::filesystem::is_directory(mime / "packages", error)) {
        runTool({"update-mime-database", mime.string()});
    }
}

void RefreshDesktopDatabase(const AssociationPlaces& places, const ToolRunner& runTool) {
    std::error_code error;
    const std::filesystem::path applications = places.dataHome / "applications";
    if (std::filesystem::is_directory(applications, error)) {
        runTool({"update-desktop-database", applications.string()});
    }
}

bool InstallIcons(const AssociationPlaces& places) {
    for (int size : IconSizes(places.iconFolder)) {
        const std::filesystem::path source =
            places.iconFolder / (std::string(kIconName) + "-" + std::to_string(size) + ".png");
        const std::filesystem::path target = places.IconFile(size);
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (error) {
            return false;
        }
        std::filesystem::copy_file(source, target,
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            return false;
        }
    }
    return true;
}

// The program an entry's Exec line starts: its first word, unquoted; nothing when there is no
// Exec line or the word is quoted (entries of ours write a bare name).
std::optional<std::string> ExecProgram(std::string_view entryText) {
    for (const std::string& line : SplitLines(entryText)) {
        if (!StartsWith(line, "Exec=")) {
            continue;
        }
        const std::string value = line.substr(5);
        const std::string program = value.substr(0, value.find(' '));
        if (program.empty() || program.find_first_of("\"'\\") != std::string::npos) {
            return std::nullopt;
        }
        return program;
    }
    return std::nullopt;
}

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// Whether the entry's program, a path or a name looked up in the search path, is the program.
bool EntryStartsProgram(const std::filesystem::path& entryFile, const AssociationPlaces& places) {
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(entryFile, bytes, kMaxDesktopEntryBytes) != 0) {
        return false;
    }
    const std::optional<std::string> program =
        ExecProgram(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!program) {
        return false;
    }
    if (program->find('/') != std::string::npos) {
        return IsSameFile(*program, places.programPath);
    }
    std::error_code error;
    for (const std::filesystem::path& folder : places.searchPath) {
        const std::filesystem::path candidate = folder / *program;
        if (std::filesystem::is_regular_file(candidate, error)) {
            // The first match is what the desktop runs.
            return IsSameFile(candidate, places.programPath);
        }
    }
    return false;
}

// Removes the user's desktop entry, icons and MIME package of ours (those that are there),
// stopping at the first that cannot be removed; the databases are refreshed after. Returns
// false when a removal failed.
bool RemoveUserFiles(const AssociationPlaces& places, const ToolRunner& runTool) {
    std::error_code error;
    const bool hasPackage = std::filesystem::exists(places.MimePackageFile(), error);
    const bool hasEntry = std::filesystem::exists(places.DesktopEntryFile(), error);
    bool removed = !(hasEntry && !RemoveFile(places.DesktopEntryFile()));
    for (const auto& icon : InstalledIcons(places)) {
        removed = removed && RemoveFile(icon);
    }
    removed = removed && !(hasPackage && !RemoveFile(places.MimePackageFile()));
    if (hasEntry) {
        RefreshDesktopDatabase(places, runTool);
    }
    if (hasPackage) {
        RefreshMimeDatabase(places, runTool);
    }
    return removed;
}

// The last step of the registration: the type's default application in mimeapps.list.
int SetUserDefault(const AssociationPlaces& places, MessageSink& messages) {
    const std::optional<std::string> list = ReadText(places.MimeAppsFile());
    if (!list || !WriteText(places.MimeAppsFile(),
                            SetDefaultApplication(*list, kPuzzleMimeType, kDesktopEntryName))) {
        messages.ShowMessage(kRegisterFailure3, kRegisterFailureCaption);
        return -1;
    }
    return 0;
}

}  // namespace

std::filesystem::path AssociationPlaces::MimePackageFile() const {
    return dataHome / "mime" / "packages" / kMimePackageName;
}

std::filesystem::path AssociationPlaces::DesktopEntryFile() const {
    return dataHome / "applications" / kDesktopEntryName;
}

std::filesystem::path AssociationPlaces::IconFile(int size) const {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    return dataHome / "icons" / "hicolor" / folder / "apps" / (std::string(kIconName) + ".png");
}

std::filesystem::path AssociationPlaces::MimeAppsFile() const {
    return configHome / "mimeapps.list";
}

AssociationPlaces AssociationPlacesFor(const std::filesystem::path& programPath,
                                       std::string_view xdgDataHome, std::string_view xdgConfigHome,
                                       std::string_view home) {
    AssociationPlaces places;
    places.dataHome = PlaceFor(xdgDataHome, home, ".local/share");
    places.configHome = PlaceFor(xdgConfigHome, home, ".config");
    places.programPath = programPath;
    places.iconFolder = programPath.parent_path() / "icons";
    return places;
}

AssociationPlaces AssociationPlacesFromEnvironment(const std::filesystem::path& programPath) {
    AssociationPlaces places =
        AssociationPlacesFor(programPath, EnvironmentValue("XDG_DATA_HOME"),
                             EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME"));
    places.dataDirs = AbsoluteFolders(EnvironmentValue("XDG_DATA_DIRS"));
    if (places.dataDirs.empty()) {
        places.dataDirs = {"/usr/local/share", "/usr/share"};
    }
    places.searchPath = AbsoluteFolders(EnvironmentValue("PATH"));
    return places;
}

bool InstalledWithSystem(const AssociationPlaces& places) {
    std::error_code error;
    for (const std::filesystem::path& folder : places.dataDirs) {
        const std::filesystem::path entry = folder / "applications" / kDesktopEntryName;
        const std::filesystem::path package = folder / "mime" / "packages" / kMimePackageName;
        if (std::filesystem::is_regular_file(entry, error) &&
            std::filesystem::is_regular_file(package, error) && EntryStartsProgram(entry, places)) {
            return true;
        }
    }
    return false;
}

std::string MimePackageText() {
    std::string text;
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += "  <mime-type type=\"" + std::string(kPuzzleMimeType) + "\">\n";
    text += "    <comment>tama05 puzzle</comment>\n";
    text += "    <comment xml:lang=\"ja\">玉五郎パズルファイル</comment>\n";
    text += "    <icon name=\"" + std::string(kIconName) + "\"/>\n";
    text += "    <glob pattern=\"*.tgr\"/>\n";
    text += "    <magic priority=\"50\">\n";
    text += "      <match type=\"string\" offset=\"0\" value=\"tgr file 01\"/>\n";
    text += "    </magic>\n";
    text += "  </mime-type>\n";
    text += "</mime-info>\n";
    return text;
}

std::optional<std::string> DesktopEntryText(const std::filesystem::path& programPath) {
    const std::string program = programPath.string();
    if (program.empty() || !IsValidUtf8(program)) {
        return std::nullopt;
    }
    for (char c : program) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return std::nullopt;
        }
    }
    std::string text;
    text += "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=tama05\n";
    text += "Comment=Photo-mosaic puzzle\n";
    text += "Comment[ja]=写真モザイクパズル\n";
    text += "Exec=" + QuotedExecArgument(program) + " %f\n";
    text += "Icon=" + std::string(kIconName) + "\n";
    text += "MimeType=" + std::string(kPuzzleMimeType) + ";\n";
    text += "Terminal=false\n";
    text += "Categories=Game;LogicGame;\n";
    text += "Keywords=puzzle;mosaic;photo;\n";
    text += "Keywords[ja]=パズル;モザイク;写真;\n";
    return text;
}

std::string SetDefaultApplication(std::string_view listText, std::string_view mimeType,
                                  std::string_view desktopName) {
    const std::string prefix = std::string(mimeType) + "=";
    const std::string line = prefix + std::string(desktopName);
    std::string out;
    bool inDefault = false;
    bool added = false;
    bool found = false;
    int blanks = 0;
    auto emit = [&out](std::string_view text) {
        out += text;
        out += '\n';
    };
    for (std::string current : SplitLines(listText)) {
        bool suppress = false;
        if (StartsWith(current, kDefaultGroup)) {
            inDefault = true;
            found = true;
        } else if (StartsWith(current, "[")) {
            if (!added && inDefault) {
                emit(line);
                added = true;
            }
            inDefault = false;
        } else if (current.empty()) {
            suppress = true;
            ++blanks;
        } else if (inDefault && !added && StartsWith(current, prefix)) {
            current = line;
            added = true;
        }
        if (!suppress) {
            for (; blanks > 0; --blanks) {
                emit("");
            }
            emit(current);
        }
    }
    if (!added) {
        if (!found) {
            emit("");
            emit(kDefaultGroup);
        }
        emit(line);
    }
    for (; blanks > 0; --blanks) {
        emit("");
    }
    return out;
}

std::string RemoveDefaultApplication(std::string_view listText, std::string_view mimeType,
                                     std::string_view desktopName, bool& removed) {
    const std::string line = std::string(mimeType) + "=" + std::string(desktopName);
    removed = false;
    std::string out;
    bool inDefault = false;
    for (const std::string& current : SplitLines(listText)) {
        if (StartsWith(current, kDefaultGroup)) {
            inDefault = true;
        } else if (StartsWith(current, "[")) {
            inDefault = false;
        } else if (inDefault && (current == line || current == line + ";")) {
            removed = true;
            continue;
        }
        out += current;
        out += '\n';
    }
    return out;
}

int RunTool(const std::vector<std::string>& command) {
    if (command.empty()) {
        return -1;
    }
    std::vector<char*> argv;
    for (const std::string& part : command) {
        argv.push_back(const_cast<char*>(part.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return -1;
    }
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFEXITED(status)) {
        // A shell-style "not found" from the child counts as not installed.
        return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
    }
    return -1;
}

int RegisterAssociation(const AssociationPlaces& places, MessageSink& messages,
                        const ToolRunner& runTool) {
    if (InstalledWithSystem(places)) {
        if (!RemoveUserFiles(places, runTool)) {
            messages.ShowMessage(kRegisterFailure2, kRegisterFailureCaption);
            return -1;
        }
        return SetUserDefault(places, messages);
    }
    if (!WriteText(places.MimePackageFile(), MimePackageText())) {
        messages.ShowMessage(kRegisterFailure1, kRegisterFailureCaption);
        return -1;
    }
    RefreshMimeDatabase(places, runTool);

    const std::optional<std::string> entry = DesktopEntryText(places.programPath);
    if (!entry || !WriteText(places.DesktopEntryFile(), *entry) || !InstallIcons(places)) {
        messages.ShowMessage(kRegisterFailure2, kRegisterFailureCaption);
        return -1;
    }
    RefreshDesktopDatabase(places, runTool);
    return SetUserDefault(places, messages);
}

int RemoveAssociation(const AssociationPlaces& places, const ToolRunner& runTool) {
    std::error_code error;
    const bool hasPackage = std::filesystem::exists(places.MimePackageFile(), error);
    const bool hasEntry = std::filesystem::exists(places.DesktopEntryFile(), error);
    const bool hasIcons = !InstalledIcons(places).empty();
    const std::optional<std::string> list = ReadText(places.MimeAppsFile());
    bool hasDefault = false;
    std::string newList;
    if (list) {
        newList = RemoveDefaultApplication(*list, kPuzzleMimeType, kDesktopEntryName, hasDefault);
    }
    if (!hasPackage && !hasEntry && !hasIcons && !hasDefault) {
        return list ? 1 : -1;
    }
    if (!list || (hasDefault && !WriteText(places.MimeAppsFile(), newList))) {
        return -1;
    }
    return RemoveUserFiles(places, runTool) ? 0 : -1;
}

}  // namespace tama05
