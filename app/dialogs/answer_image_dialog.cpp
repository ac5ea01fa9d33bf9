#include "app/dialogs/answer_image_dialog.h"

#include <vector>

#include "app/bridge/qt_path.h"
#include "core/file_bytes.h"
#include "core/image_file.h"

namespace tama05 {

namespace {

// Painter, item and canvas files are told apart by their first twelve bytes.
constexpr size_t kSourceHeadBytes = 12;

}  // namespace

int ReadPictureAnswerFile(MessageSink& messages, const std::filesystem::path& path, Image& answer,
                          AnswerFileInfo& info) {
    info.painterName = "－－";
    if (LoadImageFile(messages, path, answer, true, &info.alpha, &info.readState) != 0) {
        messages.ShowMessage("ファイルの読み込みに失敗しました。", "失敗");
        return 0;
    }
    answer.path = path.string();
    return 0;
}

int ReadAnswerChoice(MessageSink& messages, const std::filesystem::path& path, int filterIndex,
                     const AnswerFileReader& firstFilterReader, Image& answer,
                     AnswerFileInfo& info) {
    info = AnswerFileInfo();
    std::vector<uint8_t> head;
    std::error_code error;
    if (std::filesystem::is_directory(path, error) ||
        ReadFileHead(path, kSourceHeadBytes, head) != 0) {
        messages.ShowMessage("ファイル生成に失敗しました。", "Read_ESI_CNV");
        messages.ShowMessage(path.string(), "test");
        return -3;
    }
    if (filterIndex == static_cast<int>(AnswerFilter::kAnyPicture) && firstFilterReader) {
        return firstFilterReader(messages, path, answer, info);
    }
    return ReadPictureAnswerFile(messages, path, answer, info);
}

AnswerImageDialog::AnswerImageDialog(QWidget* parent, const std::filesystem::path& startFolder)
    : PreviewFileDialog(parent, QStringLiteral("答え画像を選ぶ"), PreviewPictureFile) {
    setObjectName(QStringLiteral("answerImageDialog"));
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    const QString jpg = QStringLiteral("jpg");
    SetFilters({
        {QStringLiteral("IMG (*.JPG, *.BMP, *PNG)"),
         {QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.png")},
         jpg},
        {QStringLiteral("JPEG (*.JPG)"), {QStringLiteral("*.jpg")}, jpg},
        {QStringLiteral("Bitmap (*.BMP)"), {QStringLiteral("*.bmp")}, jpg},
        {QStringLiteral("PNG (*.PNG)"), {QStringLiteral("*.png")}, jpg},
    });
    StartIn(ToQString(startFolder));
}

}  // namespace tama05
