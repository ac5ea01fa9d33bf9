#include "core/picture_export.h"

#include <algorithm>
#include <vector>

#include "core/atomic_file.h"
#include "core/blend.h"
#include "core/bmp_file.h"
#include "core/jpeg_file.h"
#include "core/png_file.h"

namespace tama05 {

namespace {

constexpr int kExportJpegQuality = 80;

// The picture an export writes: at blend 255 (and above) the blend is the canvas itself and at
// 0 (and below) the answer itself, byte for byte, so these are written as they are; any other
// value is composed into scratch. nullptr when the pictures differ in size or scratch cannot be
// made.
const Image* ExportPicture(const Image& canvas, const Image& answer, int blendValue,
                           Image& scratch) {
    if (canvas.width() != answer.width() || canvas.height() != answer.height() ||
        canvas.byteCount() != answer.byteCount()) {
        return nullptr;
    }
    if (blendValue >= 255 || blendValue <= 0) {
        return blendValue >= 255 ? &canvas : &answer;
    }
    return ComposeExportImage(canvas, answer, blendValue, scratch) == 0 ? &scratch : nullptr;
}

}  // namespace

int ComposeExportImage(const Image& canvas, const Image& answer, int blendValue, Image& out) {
    if (canvas.width() != answer.width() || canvas.height() != answer.height() ||
        canvas.byteCount() != answer.byteCount()) {
        return -1;
    }
    if (out.CreateFilled(answer.width(), answer.height(), 0) != 0) {
        return -1;
    }
    // Every byte of every row, padding included, with the exact fast blend.
    BlendBytes(canvas.data(), answer.data(), out.data(), out.byteCount(), blendValue);
    out.SetHeaders();
    return 0;
}

int ExportJpeg(MessageSink& messages, const std::filesystem::path& path, const Image& canvas,
               const Image& answer, int blendValue) {
    Image scratch;
    const Image* picture = ExportPicture(canvas, answer, blendValue, scratch);
    std::vector<uint8_t> bytes;
    if (picture == nullptr || WriteJpegStream(bytes, *picture, kExportJpegQuality, true) != 1) {
        messages.ShowMessage("JPEGファイル作成に失敗しました。WRITE_JPEG", "失敗");
        return -1;
    }
    const int written = WriteFileAtomically(path, bytes);
    if (written == -1) {
        messages.ShowMessage("ファイルオープンに失敗しました。WRITE_JPEG", "失敗");
        return -1;
    }
    if (written != 0) {
        messages.ShowMessage("JPEGファイル作成に失敗しました。WRITE_JPEG", "失敗");
        return -1;
    }
    return 0;
}

int ExportBmp(MessageSink& messages, const std::filesystem::path& path, const Image& canvas,
              const Image& answer, int blendValue) {
    Image scratch;
    const Image* picture = ExportPicture(canvas, answer, blendValue, scratch);
    if (picture == nullptr || WriteFileAtomically(path, EncodeBmp(*picture)) != 0) {
        messages.ShowMessage("ファイル生成に失敗しました。", "Error");
        return -3;
    }
    return 0;
}

int ExportPng(MessageSink& messages, const std::filesystem::path& path, const Image& canvas,
              const Image& answer, int blendValue, const AlphaPlane* answerAlpha) {
    Image scratch;
    const Image* picture = ExportPicture(canvas, answer, blendValue, scratch);
    if (picture == nullptr) {
        messages.ShowMessage("ファイルオープンに失敗しました。WRITE_PNG", "失敗");
        return -1;
    }
    const AlphaPlane* plane =
        answerAlpha != nullptr && answerAlpha->Matches(picture->width(), picture->height())
            ? answerAlpha
            : nullptr;
    return WritePngFile(messages, path, *picture, plane, FastPngWriteOptions());
}

}  // namespace tama05
