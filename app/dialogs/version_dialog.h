#pragma once

#include <QDialog>
#include <filesystem>
#include <string_view>

namespace tama05 {

inline constexpr std::string_view kSupportAddress = "https://tama05.example/support";

// "バージョン情報": the program's icon (from the program folder's icons/), its name, version,
// completion date and maker, and the support address in a read-only field; "OK" or Escape
// closes it.
class VersionDialog : public QDialog {
    Q_OBJECT
  public:
    VersionDialog(QWidget* parent, const std::filesystem::path& programFolder);
};

}  // namespace tama05
