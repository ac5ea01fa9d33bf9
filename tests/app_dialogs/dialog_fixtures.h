#pragma once

// Files for the dialog tests, written with the program's own writers, and helpers that work
// Qt's file dialogs the way a player does.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/bridge/qt_path.h"
#include "core/bmp_file.h"
#include "core/jpeg_file.h"
#include "core/png_file.h"
#include "puzzlefile/puzzle_file.h"
#include "test_pictures.h"
#include "text_files.h"

namespace tama05::test {

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// A picture whose left half is red and right half blue.
inline Image RedBlueImage(int32_t width, int32_t height) {
    Image image = SolidImage(width, height, 0, 0, 255);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = width / 2; x < width; ++x) {
            image.row(y)[3 * x] = 255;
            image.row(y)[3 * x + 2] = 0;
        }
    }
    return image;
}

inline void WriteBmp(const std::filesystem::path& path, const Image& image) {
    WriteBytes(path, EncodeBmp(image));
}

inline void WritePng(const std::filesystem::path& path, const Image& image,
                     const AlphaPlane* alpha = nullptr) {
    NullMessageSink silent;
    ASSERT_EQ(WritePngFile(silent, path, image, alpha), 0);
}

inline void WriteJpeg(const std::filesystem::path& path, const Image& image) {
    std::vector<uint8_t> bytes;
    ASSERT_EQ(WriteJpegStream(bytes, image, 95, false), 1);
    WriteBytes(path, bytes);
}

// A ready puzzle of a W × H answer with 10 × 10 pieces, saved as a puzzle file.
inline void WritePuzzle(const std::filesystem::path& path, const Image& canvas) {
    Image answer = SolidImage(canvas.width(), canvas.height(), 0, 255, 0);
    const int32_t cells = ((canvas.width() + 9) / 10) * ((canvas.height() + 9) / 10);
    IntArray scores;
    scores.AllocateFilled(cells, 50);
    NullMessageSink silent;
    ASSERT_EQ(SavePuzzleFile(silent, path, answer, canvas, 10, 10, 255, scores, 50), 0);
}

// How long a test waits for a condition that a loaded machine may be slow to reach.
inline constexpr int kGenerousWaitMs = 120 * 1000;

// The names the dialog's list shows, once it has read its folder.
inline QStringList ListedNames(QFileDialog* dialog, int expected) {
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    (void)QTest::qWaitFor(
        [&] {
            names.clear();
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row) {
                names << view->model()->index(row, 0, root).data().toString();
            }
            return names.size() >= expected;
        },
        kGenerousWaitMs);
    QTest::qWait(50);  // anything beyond the expected count
    names.clear();
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        names << view->model()->index(row, 0, root).data().toString();
    }
    names.sort();
    return names;
}

// Makes a listed file the current one, as a click in the list does.
inline bool MakeCurrent(QFileDialog* dialog, const std::filesystem::path& path) {
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    auto* model = qobject_cast<QFileSystemModel*>(view->model());
    if (model == nullptr) {
        return false;
    }
    QModelIndex index;
    (void)QTest::qWaitFor(
        [&] {
            index = model->index(ToQString(path));
            return index.isValid();
        },
        kGenerousWaitMs);
    if (!index.isValid()) {
        return false;
    }
    view->setCurrentIndex(index);
    return true;
}

// Types a name into the dialog's file name field.
inline void TypeName(QFileDialog* dialog, const QString& name) {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->setText(name);
}

}  // namespace tama05::test
