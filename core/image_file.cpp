#include "core/image_file.h"

#include "core/file_recognition.h"

namespace tama05 {

int LoadOpenedImage(MessageSink& messages, OpenedFile& file, const std::filesystem::path& path,
                    Image& image, bool showMessages, AlphaPlane* alphaPlane,
                    PictureReadState* state, const ReadGate& gate) {
    const RecognitionRow* row = RecogniseFile(file.bytes(), path, kPictureKinds);
    if (alphaPlane != nullptr && (row == nullptr || row->kind != FileKind::Png)) {
        alphaPlane->Clear();
    }
    if (row == nullptr) {
        if (showMessages) {
            messages.ShowMessage("ファイルの読み込みに失敗しました。未対応のファイルです。",
                                 "失敗");
        }
        return -1;
    }
    ReadHold hold;
    if (gate && !(hold = gate(row->readCost(file)))) {
        return -1;
    }
    Image read;
    const int code = row->read(file, read, alphaPlane, state);
    if (!row->succeeded(code)) {
        row->showFailure(messages, code, showMessages);
        return -1;
    }
    read.path = path.string();
    image = std::move(read);
    return 0;
}

int LoadImageFile(MessageSink& messages, const std::filesystem::path& path, Image& image,
                  bool showMessages, AlphaPlane* alphaPlane, PictureReadState* state) {
    OpenedFile file;
    file.Open(path, kRecognitionHeadBytes);
    return LoadOpenedImage(messages, file, path, image, showMessages, alphaPlane, state);
}

}  // namespace tama05
