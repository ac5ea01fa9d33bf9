#include "puzzle/piece_folder.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

namespace tama05 {

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() <= extension.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(),
                      [](char a, char b) { return UpperAscii(a) == UpperAscii(b); });
}

bool DirectoryOrder(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(UpperAscii(x)) <
               static_cast<unsigned char>(UpperAscii(y));
    });
}

}  // namespace

std::vector<std::string> ScanPieceFolder(const std::filesystem::path& folder, int32_t maxNames) {
    std::vector<std::string> all;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            continue;
        }
        all.push_back(it->path().filename().string());
    }
    std::sort(all.begin(), all.end(), DirectoryOrder);

    std::vector<std::string> names;
    constexpr std::array<std::string_view, 4> kPatterns = {".bmp", ".jpg", ".jpeg", ".png"};
    for (std::string_view extension : kPatterns) {
        for (const std::string& name : all) {
            if (static_cast<int32_t>(names.size()) >= maxNames) {
                return names;
            }
            if (HasExtension(name, extension)) {
                names.push_back(name);
            }
        }
    }
    return names;
}

}  // namespace tama05
