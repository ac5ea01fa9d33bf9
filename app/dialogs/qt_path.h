#pragma once

#include <QString>
#include <filesystem>

namespace tama05 {

// Paths between Qt and the engine, through the file system's own encoding of names.
std::filesystem::path ToPath(const QString& text);
QString ToQString(const std::filesystem::path& path);

}  // namespace tama05
