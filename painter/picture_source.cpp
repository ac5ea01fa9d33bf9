#include "painter/picture_source.h"

#include "core/file_bytes.h"
#include "core/file_recognition.h"
#include "core/image_file.h"

namespace tama05 {

namespace {

constexpr std::string_view kCanvasFailure = "失敗：ReadCNV2";
constexpr std::string_view kCanvasFailureCaption = "失敗しちゃいました。";

// The canvas reader with the painter path as its second text buffer. On success the texts
// have been stored and picture holds the canvas picture when it decoded.
int ReadCanvasSource(MessageSink& messages, PictureSourceState& state, OpenedFile& file,
                     const std::filesystem::path& path, Image& picture) {
    std::string name;
    std::string painterPath = state.painterPath.string();
    CanvasRecord record;
    if (ReadCNV2(messages, name, painterPath, file, picture, &record) != kCanvasOk) {
        messages.ShowMessage(kCanvasFailure, kCanvasFailureCaption);
        return -1;
    }
    picture.path = std::move(name);
    state.canvas = std::move(record);
    state.painterPath = std::filesystem::path(painterPath);
    state.canvasPath = path;
    return 0;
}

int ReadPainterSource(MessageSink& messages, PictureSourceState& state, OpenedFile& file,
                      const std::filesystem::path& path, Image& picture) {
    if (ReadPainterFile(messages, file, state.painter, picture) != 0) {
        return -1;
    }
    state.painterName = state.painter.name;
    state.painterPath = path;
    return 0;
}

}  // namespace

int SniffSourceFile(MessageSink& messages, PictureSourceState& state,
                    const std::filesystem::path& path, Image& target, AlphaPlane* alphaPlane,
                    const SourceViewRefresh& refresh, const ReadGate& gate) {
    OpenedFile file;
    if (file.Open(path, kRecognitionHeadBytes) != 0) {
        return -3;
    }
    state.read.PictureHasAlpha = false;
    Image picture;
    if (file.bytes().size() < kSourceHeaderBytes) {
        if (alphaPlane != nullptr) {
            alphaPlane->Clear();
        }
        return -1;
    }
    const RecognitionRow* source =
        RecogniseFile(file.bytes(), path, KindBit(FileKind::Painter) | KindBit(FileKind::Canvas));
    if (source != nullptr) {
        if (alphaPlane != nullptr) {
            alphaPlane->Clear();
        }
        ReadHold hold;
        if (gate && !(hold = gate(source->readCost(file)))) {
            return -1;
        }
        const int result = source->kind == FileKind::Painter
                               ? ReadPainterSource(messages, state, file, path, picture)
                               : ReadCanvasSource(messages, state, file, path, picture);
        // A picture that did not decode (its message shown) leaves nothing to use.
        if (result != 0 || picture.empty()) {
            return -1;
        }
    } else {
        state.painterName = kNoPainterName;
        if (LoadOpenedImage(messages, file, path, picture, false, alphaPlane, &state.read, gate) !=
            0) {
            return -1;
        }
    }
    target = std::move(picture);
    if (refresh) {
        refresh(path, state.painterName);
    }
    return 0;
}

int ReadAnswerFile(MessageSink& messages, PictureSourceState& state,
                   const std::filesystem::path& path, Image& candidate, AlphaPlane* alphaPlane,
                   AnswerSource* source) {
    candidate.Clear();
    candidate.path.clear();
    if (source != nullptr) {
        *source = AnswerSource::None;
    }
    state.read.PictureHasAlpha = false;
    OpenedFile file;
    if (file.Open(path, kRecognitionHeadBytes) != 0) {
        messages.ShowMessage("ファイル生成に失敗しました。", "Read_ESI_CNV");
        messages.ShowMessage(path.string(), "test");
        return -3;
    }
    const RecognitionRow* row = RecogniseFile(
        file.bytes(), path,
        KindBit(FileKind::Item) | KindBit(FileKind::Painter) | KindBit(FileKind::Canvas));
    const FileKind found = row != nullptr ? row->kind : FileKind::Unknown;
    Image picture;
    AnswerSource kind = AnswerSource::Picture;
    if (found == FileKind::Item) {
        kind = AnswerSource::Item;
        UseItem(messages, file, picture, state.itemText, {});
        state.painterName = kNoPainterName;
    } else if (found == FileKind::Painter) {
        kind = AnswerSource::Painter;
        if (ReadPainterSource(messages, state, file, path, picture) != 0) {
            return -1;
        }
    } else if (found == FileKind::Canvas) {
        kind = AnswerSource::Canvas;
        if (ReadCanvasSource(messages, state, file, path, picture) != 0) {
            return -1;
        }
    } else {
        state.painterName = kNoPainterName;
        if (LoadOpenedImage(messages, file, path, picture, true, alphaPlane, &state.read) != 0) {
            messages.ShowMessage("ファイルの読み込みに失敗しました。", "失敗");
        }
    }
    if (kind != AnswerSource::Picture && alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    if (!picture.empty()) {
        candidate = std::move(picture);
    }
    if (source != nullptr) {
        *source = kind;
    }
    return 0;
}

}  // namespace tama05
