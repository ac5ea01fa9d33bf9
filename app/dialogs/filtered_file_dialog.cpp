#include "app/dialogs/filtered_file_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tama05 {

namespace {

// Qt reads a type entry's patterns from the blank-separated list between its last
// parentheses; this is that form, with a name that cannot clash with a shown text.
QString InternalFilter(int index, const FileFilter& filter) {
    return QStringLiteral("filter%1 (%2)").arg(index).arg(filter.patterns.join(u' '));
}

}  // namespace

FilteredFileDialog::FilteredFileDialog(QWidget* parent, const QString& title)
    : QFileDialog(parent, title) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setSizeGripEnabled(true);
    // Large enough for the name, size, type and date columns side by side.
    resize(std::max(width(), 760), std::max(height(), 480));
}

void FilteredFileDialog::SetFilters(std::vector<FileFilter> filters) {
    m_filters = std::move(filters);
    QStringList internal;
    for (size_t i = 0; i < m_filters.size(); ++i) {
        internal.push_back(InternalFilter(static_cast<int>(i), m_filters[i]));
    }
    setNameFilters(internal);
    if (m_typeList == nullptr) {
        m_typeList = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (m_typeList != nullptr) {
            connect(m_typeList, &QComboBox::currentIndexChanged, this,
                    [this](int index) { UseFilter(index); });
        }
    }
    if (m_typeList != nullptr) {
        for (int i = 0; i < m_typeList->count() && i < static_cast<int>(m_filters.size()); ++i) {
            m_typeList->setItemText(i, m_filters[static_cast<size_t>(i)].text);
        }
    }
    SelectFilter(0);
}

int FilteredFileDialog::SelectedFilterIndex() const {
    if (m_typeList != nullptr) {
        return m_typeList->currentIndex();
    }
    const int index = nameFilters().indexOf(selectedNameFilter());
    return index < 0 ? 0 : index;
}

void FilteredFileDialog::SelectFilter(int index) {
    if (index < 0 || index >= static_cast<int>(m_filters.size())) {
        return;
    }
    // Qt looks the entry up by the text its list shows.
    selectNameFilter(m_typeList != nullptr
                         ? m_filters[static_cast<size_t>(index)].text
                         : InternalFilter(index, m_filters[static_cast<size_t>(index)]));
    UseFilter(index);
}

void FilteredFileDialog::StartIn(const QString& folder) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        setDirectory(folder);
    }
}

QString FilteredFileDialog::ChosenFile() const {
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

void FilteredFileDialog::UseFilter(int index) {
    if (index >= 0 && index < static_cast<int>(m_filters.size())) {
        setDefaultSuffix(m_filters[static_cast<size_t>(index)].defaultSuffix);
    }
}

}  // namespace tama05
