// Feeds arbitrary bytes to SniffSourceFile, the reader of every dropped file, through a file in
// a private temporary folder: the first byte picks the file's name, the rest is the file.
// Painter, canvas and item headers, PNG signatures and BMP names all lead to their readers.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "fuzz_files.h"
#include "fuzz_limits.h"
#include "painter/picture_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    static const fuzz::PrivateFolder folder;
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    if (fuzz::ClaimsLargeJpeg(bytes)) {
        return 0;
    }
    static const char* const kNames[] = {"d.bmp", "d.jpg", "d.png", "d.esi", "d.cnv", "d.JPEG"};
    const std::filesystem::path path = folder.path() / kNames[data[0] % 6];
    if (!fuzz::WriteWhole(path, bytes)) {
        std::abort();
    }
    NullMessageSink messages;
    PictureSourceState state;
    Image image;
    AlphaPlane plane;
    if (SniffSourceFile(messages, state, path, image, &plane) == 0) {
        // A BMP of zero width or height reads as an empty picture, which a drop then skips.
        fuzz::Require(plane.values.empty() || plane.Matches(image.width(), image.height()));
    } else {
        fuzz::Require(image.empty());
    }
    std::filesystem::remove(path);
    return 0;
}
