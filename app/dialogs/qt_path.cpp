#include "app/dialogs/qt_path.h"

#include <QFile>

namespace tama05 {

std::filesystem::path ToPath(const QString& text) {
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString ToQString(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace tama05
