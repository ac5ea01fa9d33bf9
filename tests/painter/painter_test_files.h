#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/image.h"
#include "painter_writer.h"
#include "temp_folder.h"

namespace tama05::test {

inline std::filesystem::path WriteFile(const TempFolder& folder, const std::string& name,
                                       const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = folder.path() / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A pixel block of a width × height picture whose byte i is (i × step + start) mod 256,
// padding bytes included.
inline std::vector<uint8_t> PatternBlock(int32_t width, int32_t height, int step = 7,
                                         int start = 1) {
    Image image;
    image.Create(width, height);
    std::vector<uint8_t> block(image.byteCount());
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<uint8_t>((i * step + start) % 256);
    }
    return block;
}

inline std::vector<uint8_t> Block(const Image& image) {
    return std::vector<uint8_t>(image.data(), image.data() + image.byteCount());
}

}  // namespace tama05::test
