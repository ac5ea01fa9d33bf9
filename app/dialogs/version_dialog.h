#pragma once

#include <QDialog>
#include <filesystem>

namespace tama05 {

// "バージョン情報": the program's icon (from the program folder's icons/), its name, version,
// completion date and maker; "OK" or Escape closes it. The program has no web page of its own,
// so no address is shown.
class VersionDialog : public QDialog {
    Q_OBJECT
  public:
    VersionDialog(QWidget* parent, const std::filesystem::path& programFolder);
};

}  // namespace tama05
