// Feeds arbitrary bytes to the puzzle file reader and to its thumbnail preview.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/image.h"
#include "core/message_sink.h"
#include "fuzz_limits.h"
#include "puzzlefile/puzzle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    const std::span<const uint8_t> bytes(data, size);
    NullMessageSink messages;
    PuzzleFileData file;
    if (DecodePuzzleFile(messages, bytes, file) == 0) {
        // What the game relies on after an open: matching pictures, one score per cell.
        fuzz::Require(file.answer.width() == file.canvas.width() &&
                      file.answer.height() == file.canvas.height());
        fuzz::Require(file.pieceWidth >= 2 && file.pieceHeight >= 2);
        fuzz::Require(file.score >= 0 && file.score <= 100);
        fuzz::Require(file.blendValue >= 0 && file.blendValue <= 255);
    }
    Image thumbnail;
    if (DecodePuzzleThumbnail(messages, bytes, thumbnail, true) == 0) {
        fuzz::Require(!thumbnail.empty());
    }
    return 0;
}
