// Feeds arbitrary bytes to the painter, item and canvas readers: the first byte picks the
// reader. The seeds are files written by tests/support/painter_writer.h.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/byte_reader.h"
#include "core/image.h"
#include "core/message_sink.h"
#include "painter/canvas_file.h"
#include "painter/item_file.h"
#include "painter/painter_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    tama05::NullMessageSink messages;
    tama05::Image image;
    switch (data[0] % 3) {
        case 0: {
            tama05::ByteReader reader(bytes);
            tama05::PainterRecord record;
            tama05::ReadPainter(record, reader, image, messages);
            if (reader.position() > bytes.size()) {
                __builtin_trap();
            }
            break;
        }
        case 1: {
            tama05::ItemRecord record;
            tama05::ItemTextState text;
            if (tama05::DecodeItem(bytes, image, record, text) == tama05::kItemOk &&
                (image.width() != 50 || image.height() != 50)) {
                __builtin_trap();
            }
            break;
        }
        default: {
            std::string name;
            std::string painterPath;
            tama05::CanvasRecord record;
            tama05::DecodeCNV2(messages, bytes, name, painterPath, image, &record);
            if (name.size() >= 260 || painterPath.size() >= 260) {
                __builtin_trap();
            }
            break;
        }
    }
    return 0;
}
