#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/dialogs/preview_file_dialog.h"
#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "core/picture_read_state.h"

namespace tama05 {

// What reading an answer file gives besides the picture.
struct AnswerFileInfo {
    // Shown in the window title: the painter named in a painter file, "－－" otherwise.
    std::string painterName = "－－";
    // The picture's own alpha, when it was read from a PNG with one.
    AlphaPlane alpha;
    PictureReadState readState;
};

// Reads an answer file confirmed with the first filter, which lists item, painter and canvas
// files as well as pictures, into answer. The file is known to open. Returns 0 when completed
// (also after a picture that could not be read: answer is then left empty), -1 when a painter
// or canvas file could not be read.
using AnswerFileReader = std::function<int(MessageSink& messages, const std::filesystem::path&,
                                           Image& answer, AnswerFileInfo& info)>;

// The picture reading: LoadImageFile with its messages, then "ファイルの読み込みに失敗しました。"
// (caption "失敗") when it fails. Returns 0.
int ReadPictureAnswerFile(MessageSink& messages, const std::filesystem::path& path, Image& answer,
                          AnswerFileInfo& info);

// The type list of the answer dialog, in order.
enum class AnswerFilter { kAnyPicture = 0, kJpeg = 1, kBitmap = 2, kPng = 3 };

// Reads the answer file confirmed in the dialog under the given type (0..3). A file that
// cannot be opened shows "ファイル生成に失敗しました。" (caption "Read_ESI_CNV") and then its path
// (caption "test") and gives -3. The first type goes to firstFilterReader (pictures only when
// it is empty); the other three are always read as pictures. info starts afresh.
int ReadAnswerChoice(MessageSink& messages, const std::filesystem::path& path, int filterIndex,
                     const AnswerFileReader& firstFilterReader, Image& answer,
                     AnswerFileInfo& info);

// "答え画像を選ぶ": the four picture types, opening in startFolder, with a picture preview.
class AnswerImageDialog : public PreviewFileDialog {
    Q_OBJECT
  public:
    AnswerImageDialog(QWidget* parent, const std::filesystem::path& startFolder);
};

}  // namespace tama05
