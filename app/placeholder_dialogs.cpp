#include "app/placeholder_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <mutex>

#include "core/image_file.h"
#include "puzzle/matching.h"
#include "puzzle/piece_size.h"

namespace tama05 {

namespace {

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

std::filesystem::path FromQString(const QString& text) {
    return std::filesystem::path(text.toStdString());
}

class PlaceholderNewPuzzleDialogs final : public NewPuzzleDialogs {
  public:
    PlaceholderNewPuzzleDialogs(QWidget* owner, NewPuzzleContext context)
        : m_owner(owner), m_context(std::move(context)) {}

    int ChooseAnswerImage(Image& candidate) override {
        const QString file = QFileDialog::getOpenFileName(
            m_owner, QStringLiteral("原画を開く"), ToQString(m_context.settings.answerFolder),
            QStringLiteral("画像 (*.bmp *.jpg *.jpeg *.png)"), nullptr,
            QFileDialog::DontUseNativeDialog);
        if (file.isEmpty()) {
            return -1;
        }
        const std::filesystem::path path = FromQString(file);
        m_context.settings.answerFolder = path.parent_path();
        if (LoadImageFile(m_context.messages, path, candidate, true) != 0) {
            return -3;
        }
        if (m_context.setViewTitle) {
            m_context.setViewTitle(ViewTitleText(path, "－－"));
        }
        return 0;
    }

    bool ChoosePieceFolder(std::filesystem::path& folder) override {
        const QString chosen = QFileDialog::getExistingDirectory(
            m_owner, QStringLiteral("ピース画像のフォルダを指定"),
            ToQString(folder.empty() ? m_context.settings.pieceFolder : folder),
            QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (chosen.isEmpty()) {
            return false;
        }
        folder = FromQString(chosen);
        m_context.settings.pieceFolder = folder;
        return true;
    }

    bool ChoosePieceSize(int32_t width, int32_t height, int32_t& pieceWidth,
                         int32_t& pieceHeight) override {
        bool ok = false;
        const int w = QInputDialog::getInt(m_owner, QStringLiteral("ピースサイズ"),
                                           QStringLiteral("ピースの幅"),
                                           m_context.settings.pieceWidth, 2, width, 1, &ok);
        if (!ok) {
            return false;
        }
        const int h = QInputDialog::getInt(m_owner, QStringLiteral("ピースサイズ"),
                                           QStringLiteral("ピースの高さ"),
                                           m_context.settings.pieceHeight, 2, height, 1, &ok);
        if (!ok) {
            return false;
        }
        PieceSizeChoice choice;
        choice.pieceWidth = static_cast<uint32_t>(w);
        choice.pieceHeight = static_cast<uint32_t>(h);
        const PieceSizeDecision decision = DecidePieceSize(choice, width, height);
        if (!decision.accepted) {
            m_context.messages.ShowMessage(decision.refusal, kPieceSizeRefusalCaption);
            return false;
        }
        m_context.settings.pieceWidth = decision.pieceWidth;
        m_context.settings.pieceHeight = decision.pieceHeight;
        pieceWidth = decision.pieceWidth;
        pieceHeight = decision.pieceHeight;
        return true;
    }

  private:
    QWidget* m_owner;
    NewPuzzleContext m_context;
};

}  // namespace

std::optional<std::filesystem::path> PlaceholderDialogs::ChoosePuzzleToOpen(
    QWidget* owner, const std::filesystem::path& folder) {
    const QString file = QFileDialog::getOpenFileName(
        owner, QStringLiteral("パズルファイルを開く"), ToQString(folder),
        QStringLiteral("TGR (*.TGR *.tgr)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return FromQString(file);
}

std::optional<SaveAsChoice> PlaceholderDialogs::ChooseSaveAs(QWidget* owner,
                                                             const std::filesystem::path& folder) {
    const QStringList filters = {
        QStringLiteral("玉五郎ファイル (*.TGR *.tgr)"), QStringLiteral("JPEG (*.JPG *.jpg)"),
        QStringLiteral("Bitmap (*.BMP *.bmp)"), QStringLiteral("PNG (*.PNG *.png)")};
    static constexpr const char* kExtensions[] = {".tgr", ".jpg", ".bmp", ".png"};
    QString selected = filters.front();
    QString file = QFileDialog::getSaveFileName(owner, QStringLiteral("画像を保存する。"),
                                                ToQString(folder), filters.join(";;"), &selected,
                                                QFileDialog::DontUseNativeDialog);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    const auto index = static_cast<size_t>(std::max<qsizetype>(0, filters.indexOf(selected)));
    if (QFileInfo(file).suffix().isEmpty()) {
        file += QString::fromLatin1(kExtensions[index]);
    }
    SaveAsChoice choice;
    choice.path = FromQString(file);
    choice.kind = static_cast<SaveAsKind>(index);
    return choice;
}

std::unique_ptr<NewPuzzleDialogs> PlaceholderDialogs::MakeNewPuzzleDialogs(
    QWidget* owner, NewPuzzleContext context) {
    return std::make_unique<PlaceholderNewPuzzleDialogs>(owner, std::move(context));
}

std::optional<std::filesystem::path> PlaceholderDialogs::ChooseSkinFolder(
    QWidget* owner, const QString& title, const std::filesystem::path& current) {
    const QString chosen = QFileDialog::getExistingDirectory(
        owner, title, ToQString(current),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return FromQString(chosen);
}

void PlaceholderDialogs::ShowPuzzleInfo(QWidget* owner, const Puzzle& puzzle) {
    struct {
        std::filesystem::path fileName;
        int32_t width, height, pieceWidth, pieceHeight, columns, rows;
        int64_t cells;
        double meanScore;
    } info;
    {
        std::lock_guard lock(puzzle.mutex);
        const Grid grid = puzzle.grid();
        info = {puzzle.fileName,   puzzle.AnswerImage.width(), puzzle.AnswerImage.height(),
                puzzle.pieceWidth, puzzle.pieceHeight,         grid.columns,
                grid.rows,         grid.cellCount(),           MeanPieceScore(puzzle.PieceScores)};
    }
    const QString text = QStringLiteral(
                             "ファイル名: %1\nキャンバスサイズ: %2 × %3\nピースサイズ: %4 × %5\n"
                             "ピース数: %6 × %7\n総ピース数: %8\nスコア（詳細）: %9")
                             .arg(ToQString(info.fileName))
                             .arg(info.width)
                             .arg(info.height)
                             .arg(info.pieceWidth)
                             .arg(info.pieceHeight)
                             .arg(info.columns)
                             .arg(info.rows)
                             .arg(info.cells)
                             .arg(QString::asprintf("%3.3f", info.meanScore));
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("パズルの情報"), text, QMessageBox::Ok,
                    owner);
    box.exec();
}

void PlaceholderDialogs::ShowVersion(QWidget* owner) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("バージョン情報"),
                    QStringLiteral("tama05 ver 1.00\nバージョン　：　1.00"), QMessageBox::Ok,
                    owner);
    box.exec();
}

void PlaceholderDialogs::ShowAssociation(QWidget* owner) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ファイルの関連付け"),
                    QStringLiteral("この環境ではまだ使えません。"), QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace tama05
