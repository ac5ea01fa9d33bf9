// Feeds arbitrary bytes to the skin.txt scanner and the settings record reader.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "skin/app_settings.h"
#include "skin/skin_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tama05::SkinLayout layout;
    const tama05::SkinScanReport report =
        tama05::ScanSkinText(std::string_view(reinterpret_cast<const char*>(data), size), layout);
    if (report.taken.size() + report.failed.size() != tama05::kSkinKeyCount) {
        __builtin_trap();
    }
    tama05::AppSettings settings;
    if (tama05::UnpackSettings(std::span<const uint8_t>(data, size), "/program", settings) == 0) {
        tama05::PackSettings(settings);
    }
    return 0;
}
