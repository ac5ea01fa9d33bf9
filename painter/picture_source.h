#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/alpha_plane.h"
#include "core/file_recognition.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "core/picture_read_state.h"
#include "painter/canvas_file.h"
#include "painter/item_file.h"
#include "painter/painter_file.h"

namespace tama05 {

// The painter name after a plain picture or an item: "－－" as code page 932 bytes.
inline constexpr std::string_view kNoPainterName = "\x81\x7C\x81\x7C";

// What reading picture sources leaves behind, shared by the drop worker and the answer-image
// dialog. They run on different threads but never at the same time, so nothing here is
// locked; the owner hands the object over.
struct PictureSourceState {
    // Shown in the window title; code page 932 bytes (the title's caller converts them).
    std::string painterName;
    // The last painter file read; after a canvas file, the painter path stored in it (its code
    // page 932 bytes, kept byte for byte).
    std::filesystem::path painterPath;
    // The last canvas file read.
    std::filesystem::path canvasPath;
    // PictureHasAlpha: cleared at the start of every read, set by an RGBA PNG.
    PictureReadState read;
    PainterRecord painter;
    CanvasRecord canvas;
    ItemTextState itemText;
};

// Called after a successful read when the caller wants the painter picture view redrawn and
// the window title set: the path read and the painter name (code page 932 bytes).
using SourceViewRefresh =
    std::function<void(const std::filesystem::path& path, std::string_view painterName)>;

// Reads a dropped file (or a comment picture) into target, choosing the reader by the file's
// first 12 bytes only:
//   - a file that cannot be opened: -3, nothing else changes;
//   - PictureHasAlpha is cleared;
//   - a file shorter than 12 bytes is offered to no reader: -1, no message;
//   - a painter header ("esi file 0a" or "esi file 0f", position by position): the painter
//     reader fills state.painter and target; the painter name comes from the file and the
//     painter path becomes path;
//   - a canvas header ("cnv file 0a"): ReadCNV2 fills target (its name is the file's first
//     text) and state.canvas; the painter path becomes the file's second text, the canvas path
//     becomes path; a failure shows "失敗：ReadCNV2" ("失敗しちゃいました。");
//   - anything else (item files included): the painter name becomes "－－" and LoadImageFile
//     reads the picture without its optional messages; alphaPlane (when given) receives the
//     picture's alpha values.
// Returns 0 when target holds the file's picture (and refresh, when set, has been called), or
// -1 when the reader failed or the file's picture did not decode (target then unchanged).
// gate (when set) is asked with the file's reading cost once its kind is known; a refusal ends
// the read with -1.
int SniffSourceFile(MessageSink& messages, PictureSourceState& state,
                    const std::filesystem::path& path, Image& target,
                    AlphaPlane* alphaPlane = nullptr, const SourceViewRefresh& refresh = {},
                    const ReadGate& gate = {});

// The kind of file ReadAnswerFile found.
enum class AnswerSource { None, Item, Painter, Canvas, Picture };

// The answer reading of the answer-image dialog (its first filter) and of the command line:
// PictureHasAlpha is cleared; a file that cannot be opened shows "ファイル生成に失敗しました。"
// ("Read_ESI_CNV") and then the path ("test") and gives -3. The first 12 bytes are tested for
// an item, a painter and a canvas header in that order (a shorter file matches none):
//   - item: UseItem makes candidate the item's 50 × 50 picture; the painter name becomes "－－";
//   - painter: the painter reader; failure gives -1; the painter path becomes path;
//   - canvas: ReadCNV2 (candidate's path field and the painter path as its texts); failure
//     shows "失敗：ReadCNV2" ("失敗しちゃいました。") and gives -1; the canvas path becomes path;
//   - anything else: the painter name becomes "－－" and LoadImageFile reads the file with its
//     messages; a failure adds "ファイルの読み込みに失敗しました。" ("失敗").
// Returns 0 when the step completed (the caller then sets the window title from path and
// state.painterName, redraws the painter picture view for an item, and remembers the folder),
// -1 or -3. candidate is cleared first and holds a new answer picture exactly when it is not
// empty afterwards; the caller commits it only then.
int ReadAnswerFile(MessageSink& messages, PictureSourceState& state,
                   const std::filesystem::path& path, Image& candidate,
                   AlphaPlane* alphaPlane = nullptr, AnswerSource* source = nullptr);

}  // namespace tama05
