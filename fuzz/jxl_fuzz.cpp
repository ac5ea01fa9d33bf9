// Feeds arbitrary bytes to the JPEG XL reader, upright and as stored.
#include "core/jxl_file.h"
#include "photo_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tama05::fuzz::CheckPhotoReader(tama05::ReadJxlBytes, data, size);
    return 0;
}
