#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace tama05 {

// Writes bytes to target so that target either keeps its previous contents or holds all of
// the new bytes: the bytes go to a fresh temporary file beside target, which is flushed to
// disk and then renamed over target. Where the file system allows it the temporary has no
// name until it is whole (a process killed while writing leaves nothing); otherwise it is
// named ".<target name>.tmp<process id>-<random>", and each save removes the temporaries of
// that naming in its folder whose process is gone. Nothing is left behind on failure.
// Returns 0, -1 when the temporary file cannot be created (the folder is missing or not
// writable), -2 when writing, flushing or closing it fails, -3 when the rename fails.
int WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes);

}  // namespace tama05
