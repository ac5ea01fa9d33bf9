#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "puzzle/drop_worker.h"

namespace tama05 {

// The caption of the box that lists a drop's unused files.
inline constexpr char kDropMessageCaption[] = "失敗";

// One line per file of the drop that said something, in drop order: the file's name, then its
// messages.
QString DropMessageText(const std::vector<DropFileMessage>& messages);

// Shows a long list of lines in one box with an "OK" button; the list scrolls when it is longer
// than the box.
void ShowListMessageBox(QWidget* owner, const QString& text, const QString& caption);

}  // namespace tama05
