// Feeds arbitrary bytes to LoadImageFile through a file in a private temporary folder: the
// first byte picks the file's name, so recognition by name and by first bytes is exercised
// along with the BMP file reader. PNG data is left to the PNG stream target (the file reader
// only adds reading the whole file), and JPEG names are not used for the same reason.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "core/bmp_file.h"
#include "core/image.h"
#include "core/image_file.h"
#include "core/message_sink.h"
#include "core/png_file.h"
#include "fuzz_files.h"
#include "fuzz_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    static const fuzz::PrivateFolder folder;
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    if (HasPngSignature(bytes)) {
        return 0;
    }
    static const char* const kNames[] = {"p.bmp", "p.BMP", "p.Bmp", "p.bMP", "p.txt", "bmp"};
    const std::filesystem::path path = folder.path() / kNames[data[0] % 6];
    if (!fuzz::WriteWhole(path, bytes)) {
        std::abort();
    }
    NullMessageSink messages;
    Image image;
    AlphaPlane plane;
    PictureReadState state;
    if (LoadImageFile(messages, path, image, data[0] & 0x80, &plane, &state) == 0) {
        fuzz::Require(image.byteCount() + kBmpHeaderBytes <= bytes.size());
        fuzz::Require(plane.values.empty() && !state.PictureHasAlpha);
    }
    std::filesystem::remove(path);
    return 0;
}
