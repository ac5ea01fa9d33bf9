#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

namespace tama05 {

// The one way paths and texts cross between Qt and the engine. A file name goes through the
// file system's own encoding of names (QFile::encodeName and decodeName), so a name that is not
// UTF-8 reaches the engine as the same bytes whether it was dropped, chosen in a dialog or given
// on the command line.
std::filesystem::path ToPath(const QString& text);
QString ToQString(const std::filesystem::path& path);

// The main window's title for an answer picture and its painter name (UTF-8):
// "<path>（絵師：<painter>） - nubes view".
QString ViewTitle(const std::filesystem::path& path, std::string_view painterName);

// The engine's texts (messages, titles, panel lines) are UTF-8.
inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tama05
