#pragma once

// Writes skin.txt texts for the skin tests and the fuzz seeds.

#include <string>
#include <string_view>

#include "skin/skin_layout.h"

namespace tama05::test {

// A complete skin.txt: every key in file order with the value given by value(index), each
// line ended by lineEnd.
template <typename F>
std::string FullSkinText(F value, std::string_view lineEnd = "\n") {
    std::string text;
    for (int i = 0; i < kSkinKeyCount; ++i) {
        text += std::string(SkinKeyName(static_cast<SkinKey>(i))) + "=" + std::to_string(value(i)) +
                std::string(lineEnd);
    }
    return text;
}

}  // namespace tama05::test
