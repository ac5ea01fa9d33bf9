// Feeds arbitrary bytes to the canvas file reader.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/image.h"
#include "core/message_sink.h"
#include "fuzz_limits.h"
#include "painter/canvas_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    const std::span<const uint8_t> bytes(data, size);
    if (fuzz::ClaimsLargeJpeg(bytes)) {
        return 0;
    }
    NullMessageSink messages;
    std::string name;
    std::string painterPath;
    Image image;
    CanvasRecord record;
    if (DecodeCNV2(messages, bytes, name, painterPath, image, &record) == kCanvasOk) {
        // Both texts come from 260-byte fields.
        fuzz::Require(name.size() < kCanvasTextFieldBytes);
        fuzz::Require(painterPath.size() < kCanvasTextFieldBytes);
    }
    return 0;
}
