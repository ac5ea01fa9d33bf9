#include "puzzle/piece_folder.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>
#include <system_error>

namespace tama05 {

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

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

std::vector<size_t> PieceFolderOrder(std::span<const std::string> names, int32_t maxNames) {
    std::vector<size_t> sorted(names.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        sorted[i] = i;
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](size_t a, size_t b) { return DirectoryOrder(names[a], names[b]); });

    std::vector<size_t> listed;
    constexpr std::array<std::string_view, 4> kPatterns = {".bmp", ".jpg", ".jpeg", ".png"};
    for (std::string_view extension : kPatterns) {
        for (size_t i : sorted) {
            if (static_cast<int64_t>(listed.size()) >= maxNames) {
                return listed;
            }
            if (HasExtension(names[i], extension)) {
                listed.push_back(i);
            }
        }
    }
    return listed;
}

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
    std::vector<std::string> names;
    for (size_t i : PieceFolderOrder(all, maxNames)) {
        names.push_back(std::move(all[i]));
    }
    return names;
}

std::vector<std::filesystem::path> ScanPictureFolder(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path root = std::filesystem::canonical(folder, error);
    if (error) {
        return {};
    }
    std::vector<std::string> all;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.empty() || name[0] == '.' || !it->is_regular_file(typeError)) {
            continue;  // a link is judged by what it leads to
        }
        if (it->is_symlink(typeError)) {
            const std::filesystem::path target = std::filesystem::canonical(it->path(), typeError);
            const auto [r, t] =
                std::mismatch(root.begin(), root.end(), target.begin(), target.end());
            if (typeError || r != root.end() || t == target.end()) {
                continue;
            }
        }
        all.push_back(name);
    }
    std::vector<std::filesystem::path> paths;
    for (size_t i : PieceFolderOrder(all, INT32_MAX)) {
        paths.push_back(folder / all[i]);
    }
    return paths;
}

}  // namespace tama05
