// Runs the reader of dropped files, with its memory budget, on arbitrary bytes through a file in
// a private temporary folder (the first byte picks the name). Unlike sniff_source_fuzz nothing
// is skipped: headers claiming huge pictures are what this target is for. Its run limits
// (scripts/fuzz) fail any input that takes more than 64 MB beyond the process's own: the
// budget and the readers' checks must refuse such a file before it costs that much. The heap in
// use is followed through the sanitizer allocator's hooks.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include <sanitizer/allocator_interface.h>

#include <atomic>

#include "core/image.h"
#include "core/message_sink.h"
#include "fuzz_files.h"
#include "fuzz_limits.h"
#include "puzzle/drop_reader.h"

namespace {

std::atomic<int64_t> g_inUse{0};
std::atomic<int64_t> g_peak{0};

void OnMalloc(const volatile void*, size_t size) {
    const int64_t now = g_inUse += static_cast<int64_t>(size);
    int64_t peak = g_peak;
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

void OnFree(const volatile void* pointer) {
    g_inUse -= static_cast<int64_t>(__sanitizer_get_allocated_size(const_cast<void*>(pointer)));
}

constexpr int64_t kMaxInputCost = int64_t{64} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    static const fuzz::PrivateFolder folder;
    static const bool hooked = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    fuzz::Require(hooked);
    // What a file may cost at most: its share of the budget is refused beyond this.
    static const PictureSourceReader reader = DropPictureReader(uint64_t{48} << 20);
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    static const char* const kNames[] = {"d.bmp", "d.jpg", "d.png", "d.esi", "d.cnv", "d.JPEG"};
    const std::filesystem::path path = folder.path() / kNames[data[0] % 6];
    if (!fuzz::WriteWhole(path, bytes)) {
        std::abort();
    }
    NullMessageSink messages;
    const int64_t before = g_inUse;
    g_peak = before;
    {
        Image image;
        if (reader(path, image, messages) != 0) {
            fuzz::Require(image.empty());
        }
    }
    fuzz::Require(g_peak - before <= kMaxInputCost);
    std::filesystem::remove(path);
    return 0;
}
