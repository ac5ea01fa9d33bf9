#include "app/bridge/qt_path.h"

#include <QFile>

namespace tama05 {

std::filesystem::path ToPath(const QString& text) {
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString ToQString(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

QString ViewTitle(const std::filesystem::path& path, std::string_view painterName) {
    return ToQString(path) + QStringLiteral("（絵師：") + FromUtf8(painterName) +
           QStringLiteral("） - nubes view");
}

}  // namespace tama05
