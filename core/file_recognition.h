#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "core/alpha_plane.h"
#include "core/file_bytes.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "core/picture_read_state.h"

namespace tama05 {

// The kinds of file the readers tell apart. Pictures are read here; painter, canvas and item
// files by the painter folder's readers.
enum class FileKind { Item, Painter, Canvas, Png, Bmp, Jpeg, Unknown };

// A set of kinds, one bit each.
using FileKinds = uint32_t;
constexpr FileKinds KindBit(FileKind kind) {
    return FileKinds{1} << static_cast<int>(kind);
}
inline constexpr FileKinds kPictureKinds =
    KindBit(FileKind::Png) | KindBit(FileKind::Bmp) | KindBit(FileKind::Jpeg);

// Reads a recognised picture from a file opened once; returns the reader's own code.
using PictureRead = int (*)(OpenedFile& file, Image& image, AlphaPlane* alphaPlane,
                            PictureReadState* state);

// One row of the recognition table. A pattern list matches when each position of the tested
// bytes equals the byte at that position in one of the patterns (so "esi file 0a" and
// "esi file 0f" accept "esi file 0" followed by "a" or "f"); an empty list plays no part.
struct RecognitionRow {
    FileKind kind;
    // The file's first bytes; a file shorter than the patterns or than headBytes does not match.
    std::span<const std::string_view> heads;
    size_t headBytes;
    // The last four characters of the path; a path shorter than four does not match.
    std::span<const std::string_view> nameEndings;
    // Pictures only: the reader, whether its code is a success, and its failure messages
    // (those wanted only when messages are asked for are left out when showMessages is off).
    PictureRead read = nullptr;
    bool (*succeeded)(int code) = nullptr;
    void (*showFailure)(MessageSink& messages, int code, bool showMessages) = nullptr;
    // The memory reading the file may take at most: the bytes it keeps of the file and what
    // decoding them allocates, judged from the headers (reading on as far as they need).
    uint64_t (*readCost)(OpenedFile& file) = nullptr;
};

// Asked once a file is recognised and before it is read on, with the row's readCost: returns a
// hold kept until the file is decoded, or nullptr to refuse the file (the gate says why).
using ReadHold = std::shared_ptr<void>;
using ReadGate = std::function<ReadHold(uint64_t cost)>;

// The rows in the order they are tried: the content decides first, the name only where the
// file's own bytes leave the choice open (BMP needs both, JPEG only its name).
std::span<const RecognitionRow> RecognitionTable();

// The bytes of the file's head every row's test can see.
inline constexpr size_t kRecognitionHeadBytes = 12;

// The first row among kinds that head and path match, or nullptr.
const RecognitionRow* RecogniseFile(std::span<const uint8_t> head,
                                    const std::filesystem::path& path, FileKinds kinds);

}  // namespace tama05
