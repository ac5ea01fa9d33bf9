// Feeds arbitrary bytes to the painter file reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_reader.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "fuzz_limits.h"
#include "painter/painter_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    const std::span<const uint8_t> bytes(data, size);
    if (fuzz::ClaimsLargeJpeg(bytes)) {
        return 0;
    }
    ByteReader reader(bytes);
    NullMessageSink messages;
    PainterRecord record;
    Image image;
    if (ReadPainter(record, reader, image, messages) == kPainterOk) {
        // A run-length block may end with the data (the rest stays black), so the reader may
        // have failed; it never moves past the end.
        fuzz::Require(record.name.size() < kPainterNameBytes);
        fuzz::Require(reader.position() <= size);
    }
    return 0;
}
