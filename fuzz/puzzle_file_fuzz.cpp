// Feeds arbitrary bytes to the puzzle file reader and to its thumbnail preview, both from memory
// and through a file in a private temporary folder: the file readers look at the header first
// and read only what it justifies, and must agree with the readers of the whole bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "core/image.h"
#include "core/message_sink.h"
#include "fuzz_files.h"
#include "fuzz_limits.h"
#include "puzzlefile/puzzle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    static const fuzz::PrivateFolder folder;
    const std::span<const uint8_t> bytes(data, size);
    NullMessageSink messages;
    PuzzleFileData file;
    const int decoded = DecodePuzzleFile(messages, bytes, file);
    if (decoded == 0) {
        // What the game relies on after an open: matching pictures, one score per cell.
        fuzz::Require(file.answer.width() == file.canvas.width() &&
                      file.answer.height() == file.canvas.height());
        fuzz::Require(file.pieceWidth >= 2 && file.pieceHeight >= 2);
        fuzz::Require(file.score >= 0 && file.score <= 100);
        fuzz::Require(file.blendValue >= 0 && file.blendValue <= 255);
    }
    Image thumbnail;
    const int decodedThumbnail = DecodePuzzleThumbnail(messages, bytes, thumbnail, true);
    if (decodedThumbnail == 0) {
        fuzz::Require(!thumbnail.empty());
    }
    const std::filesystem::path path = folder.path() / "p.tgr";
    if (!fuzz::WriteWhole(path, bytes)) {
        std::abort();
    }
    PuzzleFileData read;
    fuzz::Require(ReadPuzzleFile(messages, path, read) == decoded);
    Image readThumbnail;
    fuzz::Require(ReadPuzzleThumbnail(messages, path, readThumbnail, true) == decodedThumbnail);
    fuzz::Require(readThumbnail.width() == thumbnail.width() &&
                  readThumbnail.height() == thumbnail.height());
    std::filesystem::remove(path);
    return 0;
}
