// Feeds arbitrary bytes to the item file reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/image.h"
#include "fuzz_limits.h"
#include "painter/item_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    Image image;
    ItemRecord record;
    ItemTextState text;
    if (DecodeItem(std::span<const uint8_t>(data, size), image, record, text) == kItemOk) {
        fuzz::Require(image.width() == kItemPictureSize && image.height() == kItemPictureSize);
    } else {
        fuzz::Require(image.empty());
    }
    return 0;
}
