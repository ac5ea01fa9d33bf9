// Feeds arbitrary bytes to the settings record reader; what it accepts must pack again.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_limits.h"
#include "skin/app_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    AppSettings settings;
    if (UnpackSettings(std::span<const uint8_t>(data, size), "/program", settings) == 0) {
        fuzz::Require(size >= kSettingsFileSize);
        fuzz::Require(PackSettings(settings).size() == kSettingsFileSize);
    }
    return 0;
}
