#pragma once

#include <filesystem>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/message_sink.h"

namespace tama05 {

// The picture save-as exports: the mosaic canvas blended with the answer image. Every byte of
// every row (padding included) is x × canvas + (1 − x) × answer in double precision, with
// x = blendValue × (1/255 held as a 32-bit float) limited to 0..1, truncated toward zero and
// limited to 0..255: blend 0 gives the answer image, blend 255 the canvas. out gets the
// answer's size and fresh headers. Returns 0, or -1 when the canvas and the answer differ in
// size or out cannot be created.
int ComposeExportImage(const Image& canvas, const Image& answer, int blendValue, Image& out);

// Progressive JPEG of quality 80. Returns 0, or -1 after showing
// "ファイルオープンに失敗しました。WRITE_JPEG" (the file cannot be created) or
// "JPEGファイル作成に失敗しました。WRITE_JPEG" (encoding or writing failed).
int ExportJpeg(MessageSink& messages, const std::filesystem::path& path, const Image& canvas,
               const Image& answer, int blendValue);

// 24-bit BMP. Returns 0, or -3 after showing "ファイル生成に失敗しました。" (caption "Error").
int ExportBmp(MessageSink& messages, const std::filesystem::path& path, const Image& canvas,
              const Image& answer, int blendValue);

// PNG, RGBA with answerAlpha when it is given and has the answer's size (the answer image was
// read from a PNG with its own alpha), RGB otherwise, written with the puzzle file's fast
// settings (FastPngWriteOptions). Returns 0, or -1 after showing
// "ファイルオープンに失敗しました。WRITE_PNG".
int ExportPng(MessageSink& messages, const std::filesystem::path& path, const Image& canvas,
              const Image& answer, int blendValue, const AlphaPlane* answerAlpha);

}  // namespace tama05
