// Writes photo-like JPEG files for the drop measurements: smooth light, soft shapes and
// sensor-like noise, so that they decode like camera pictures of the same size.
//   tama05-make-photos FOLDER COUNT WIDTH HEIGHT
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/image.h"
#include "core/jpeg_file.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: tama05-make-photos FOLDER COUNT WIDTH HEIGHT\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int count = std::atoi(argv[2]);
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    std::filesystem::create_directories(folder);
    std::mt19937 rng(2026);
    for (int n = 0; n < count; ++n) {
        tama05::Image image;
        if (image.Create(width, height) != 0) {
            return 1;
        }
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        const float hue[3] = {unit(rng), unit(rng), unit(rng)};
        const float cx = unit(rng) * width;
        const float cy = unit(rng) * height;
        const float radius = (0.2f + unit(rng) * 0.4f) * static_cast<float>(std::min(width, height));
        std::normal_distribution<float> noise(0.0f, 6.0f);
        for (int y = 0; y < height; ++y) {
            uint8_t* row = image.row(y);
            for (int x = 0; x < width; ++x) {
                const float dx = x - cx;
                const float dy = y - cy;
                const float inside = std::sqrt(dx * dx + dy * dy) < radius ? 0.35f : 0.0f;
                for (int c = 0; c < 3; ++c) {
                    const float light = 40.0f + 150.0f * (0.5f + 0.5f * std::sin(
                        (x * (c + 1) * 0.0021f) + (y * 0.0017f) + hue[c] * 6.28f));
                    const float v = light * (1.0f - inside) + 230.0f * hue[c] * inside + noise(rng);
                    row[3 * x + c] = static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f));
                }
            }
        }
        image.SetHeaders();
        std::vector<uint8_t> bytes;
        if (tama05::WriteJpegStream(bytes, image, 90, false) != 1) {
            return 1;
        }
        char name[32];
        std::snprintf(name, sizeof name, "photo_%03d.jpg", n);
        if (tama05::WriteFileAtomically(folder / name, bytes) != 0) {
            return 1;
        }
    }
    return 0;
}
