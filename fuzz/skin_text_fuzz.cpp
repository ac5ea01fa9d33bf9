// Feeds arbitrary text to the skin.txt scanner.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_limits.h"
#include "skin/skin_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    SkinLayout layout;
    const SkinScanReport report =
        ScanSkinText(std::string_view(reinterpret_cast<const char*>(data), size), layout);
    fuzz::Require(report.taken.size() + report.failed.size() == kSkinKeyCount);
    return 0;
}
