#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "core/alpha_plane.h"
#include "core/image.h"

namespace tama05::test {

// Stands in for the picture file readers: serves pictures registered by path and records the
// paths asked for. Unknown paths fail with -1.
class FakePictureLoader {
  public:
    struct Entry {
        Image picture;
        // Alpha values in memory-row order; none gives an opaque plane.
        std::optional<std::vector<uint8_t>> alpha;
    };

    void Add(const std::filesystem::path& path, const Image& picture,
             std::optional<std::vector<uint8_t>> alpha = std::nullopt) {
        Entry entry;
        entry.picture.CopyFrom(picture);
        entry.alpha = std::move(alpha);
        m_entries[path] = std::move(entry);
    }

    int operator()(const std::filesystem::path& path, Image& picture, AlphaPlane* plane) {
        requests.push_back(path);
        const auto found = m_entries.find(path);
        if (found == m_entries.end()) {
            return -1;
        }
        picture.CopyFrom(found->second.picture);
        if (plane != nullptr) {
            const int32_t w = picture.width();
            const int32_t h = picture.height();
            plane->FillOpaque(w, h);
            if (found->second.alpha) {
                plane->fromFile = true;
                for (size_t i = 0; i < found->second.alpha->size(); ++i) {
                    plane->values[i] = (*found->second.alpha)[i];
                }
            }
        }
        return 0;
    }

    std::vector<std::filesystem::path> requests;

  private:
    std::map<std::filesystem::path, Entry> m_entries;
};

}  // namespace tama05::test
