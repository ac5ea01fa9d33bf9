// Feeds arbitrary bytes to the AVIF reader, upright and as stored.
#include "core/avif_file.h"
#include "photo_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tama05::fuzz::CheckPhotoReader(tama05::ReadAvifBytes, data, size);
    return 0;
}
