#pragma once

#include <filesystem>

#include "core/alpha_plane.h"
#include "core/file_bytes.h"
#include "core/file_recognition.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "core/picture_read_state.h"

namespace tama05 {

// Reads a PNG, BMP or JPEG picture into image, choosing the reader by the picture rows of the
// recognition table: PNG by its signature whatever the name; BMP when the last four characters
// of the path match ".bmp" position by position in either case pattern (".bmp" or ".BMP", so
// ".Bmp" passes too) and the file starts with "BM"; JPEG by the name alone (".jpg", ".JPG",
// "jpeg", "JPEG", matched the same way). Paths shorter than four characters are neither BMP
// nor JPEG. A failure of the chosen reader is final. alphaPlane (when given) ends up describing
// the picture read: the PNG's alpha, or empty (opaque) for the other formats. state (when
// given) has PictureHasAlpha set by an RGBA PNG. The PNG messages and the 24-bit BMP message
// are shown whatever showMessages says; the JPEG and unsupported-file messages only when it
// is set. Returns 0, or -1 on failure (image unchanged).
int LoadImageFile(MessageSink& messages, const std::filesystem::path& path, Image& image,
                  bool showMessages = true, AlphaPlane* alphaPlane = nullptr,
                  PictureReadState* state = nullptr);

// LoadImageFile on a file the caller has already opened (or failed to open) and looked at.
// gate (when set) is asked before the recognised picture is read on; a refusal fails the load
// with the gate's messages only.
int LoadOpenedImage(MessageSink& messages, OpenedFile& file, const std::filesystem::path& path,
                    Image& image, bool showMessages, AlphaPlane* alphaPlane,
                    PictureReadState* state, const ReadGate& gate = {});

}  // namespace tama05
