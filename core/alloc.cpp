#include "core/alloc.h"

#include <cstdio>

namespace tama05 {

namespace {

void* ZeroedOrExit(size_t n, size_t elementSize, const char* message) {
    void* p = std::calloc(n == 0 ? 1 : n, elementSize);
    if (p == nullptr) {
        std::fputs(message, stdout);
        std::fflush(stdout);
        std::exit(1);
    }
    return p;
}

}  // namespace

std::unique_ptr<int32_t[], FreeDeleter> alloc_1d(size_t n) {
    return std::unique_ptr<int32_t[], FreeDeleter>(static_cast<int32_t*>(
        ZeroedOrExit(n, 4, "メモリーが足りてないっちゅうねん！！(alloc_1d)")));
}

std::unique_ptr<uint8_t[], FreeDeleter> alloc_c_1d(size_t n) {
    return std::unique_ptr<uint8_t[], FreeDeleter>(static_cast<uint8_t*>(
        ZeroedOrExit(n, 1, "メモリーが足りてないっちゅうねん！！(alloc_c_1d)")));
}

}  // namespace tama05
