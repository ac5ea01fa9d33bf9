#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace tama05 {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// Zero-filled blocks for the Huffman codec. They never return without memory: on genuine
// exhaustion they print their message on standard output and end the process with status 1.
// Callers check every size that comes from a file before asking for a block.
std::unique_ptr<int32_t[], FreeDeleter> alloc_1d(size_t n);
std::unique_ptr<uint8_t[], FreeDeleter> alloc_c_1d(size_t n);

}  // namespace tama05
