#pragma once

#include <QFileDialog>
#include <QString>
#include <vector>

class QComboBox;

namespace tama05 {

// One entry of a file dialog's type list: the text shown, the name patterns it lists (matched
// without regard to case) and the suffix added to a name typed without one.
struct FileFilter {
    QString text;
    QStringList patterns;
    QString defaultSuffix;
};

// Qt's own (non-native) file dialog with a type list whose shown texts are independent of the
// patterns, so that texts like "IMG (*.JPG, *.BMP, *PNG)" list *.jpg, *.bmp and *.png.
// Qt's dialog never changes the process's current directory.
class FilteredFileDialog : public QFileDialog {
    Q_OBJECT
  public:
    FilteredFileDialog(QWidget* parent, const QString& title);

    // Sets the type list; the first entry is selected.
    void SetFilters(std::vector<FileFilter> filters);
    // The selected entry, 0 for the first.
    int SelectedFilterIndex() const;
    void SelectFilter(int index);
    // The folder shown at start; an empty or missing folder leaves Qt's choice.
    void StartIn(const QString& folder);
    // The first chosen file (after accept), or an empty text.
    QString ChosenFile() const;

  private:
    void UseFilter(int index);

    std::vector<FileFilter> m_filters;
    QComboBox* m_typeList = nullptr;
};

}  // namespace tama05
