#include "painter/picture_source.h"

#include <vector>

#include "core/file_bytes.h"
#include "core/image_file.h"

namespace tama05 {

namespace {

constexpr std::string_view kCanvasFailure = "失敗：ReadCNV2";
constexpr std::string_view kCanvasFailureCaption = "失敗しちゃいました。";

// The canvas reader with the painter path as its second text buffer. On success the texts
// have been stored and picture holds the canvas picture when it decoded.
int ReadCanvasSource(MessageSink& messages, PictureSourceState& state,
                     const std::filesystem::path& path, Image& picture) {
    std::string name;
    std::string painterPath = state.painterPath.string();
    CanvasRecord record;
    if (ReadCNV2(messages, name, painterPath, path, picture, &record) != kCanvasOk) {
        messages.ShowMessage(kCanvasFailure, kCanvasFailureCaption);
        return -1;
    }
    picture.path = std::move(name);
    state.canvas = std::move(record);
    state.painterPath = std::filesystem::path(painterPath);
    state.canvasPath = path;
    return 0;
}

int ReadPainterSource(MessageSink& messages, PictureSourceState& state,
                      const std::filesystem::path& path, Image& picture) {
    if (ReadPainterFile(messages, path, state.painter, picture) != 0) {
        return -1;
    }
    state.painterName = state.painter.name;
    state.painterPath = path;
    return 0;
}

}  // namespace

int SniffSourceFile(MessageSink& messages, PictureSourceState& state,
                    const std::filesystem::path& path, Image& target, AlphaPlane* alphaPlane,
                    const SourceViewRefresh& refresh) {
    std::vector<uint8_t> head;
    if (ReadFileHead(path, kSourceHeaderBytes, head) != 0) {
        return -3;
    }
    state.read.PictureHasAlpha = false;
    Image picture;
    if (head.size() < kSourceHeaderBytes) {
        if (alphaPlane != nullptr) {
            alphaPlane->Clear();
        }
        return -1;
    }
    if (IsPainterHeader(head) || IsCanvasHeader(head)) {
        if (alphaPlane != nullptr) {
            alphaPlane->Clear();
        }
        const int result = IsPainterHeader(head) ? ReadPainterSource(messages, state, path, picture)
                                                 : ReadCanvasSource(messages, state, path, picture);
        // A picture that did not decode (its message shown) leaves nothing to use.
        if (result != 0 || picture.empty()) {
            return -1;
        }
    } else {
        state.painterName = kNoPainterName;
        if (LoadImageFile(messages, path, picture, false, alphaPlane, &state.read) != 0) {
            return -1;
        }
        picture.path = path.string();
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
    std::vector<uint8_t> head;
    if (ReadFileHead(path, kSourceHeaderBytes, head) != 0) {
        messages.ShowMessage("ファイル生成に失敗しました。", "Read_ESI_CNV");
        messages.ShowMessage(path.string(), "test");
        return -3;
    }
    const bool complete = head.size() >= kSourceHeaderBytes;
    Image picture;
    AnswerSource kind = AnswerSource::Picture;
    if (complete && IsItemHeader(head)) {
        kind = AnswerSource::Item;
        UseItem(messages, path, picture, state.itemText, {});
        state.painterName = kNoPainterName;
    } else if (complete && IsPainterHeader(head)) {
        kind = AnswerSource::Painter;
        if (ReadPainterSource(messages, state, path, picture) != 0) {
            return -1;
        }
    } else if (complete && IsCanvasHeader(head)) {
        kind = AnswerSource::Canvas;
        if (ReadCanvasSource(messages, state, path, picture) != 0) {
            return -1;
        }
    } else {
        state.painterName = kNoPainterName;
        if (LoadImageFile(messages, path, picture, true, alphaPlane, &state.read) == 0) {
            picture.path = path.string();
        } else {
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
