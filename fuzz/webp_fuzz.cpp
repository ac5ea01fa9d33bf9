// Feeds arbitrary bytes to the WebP reader, upright and as stored.
#include "core/webp_file.h"
#include "photo_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tama05::fuzz::CheckPhotoReader(tama05::ReadWebpBytes, data, size);
    return 0;
}
