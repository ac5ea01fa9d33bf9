#include "core/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace tama05 {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string output;
    // A character never grows beyond three times its bytes either way (a one-byte half-width
    // katakana becomes three UTF-8 bytes), so 3 × input + 4 always suffices.
    output.resize(input.size() * 3 + 4);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    // Flush any shift state.
    if (ok && iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) {
        ok = false;
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    std::optional<std::string> cp932 = Convert("CP932", "UTF-8", utf8);
    // Some characters are folded onto another one's bytes (the yen sign onto the backslash):
    // only a conversion that comes back unchanged names the same thing.
    if (!cp932 || Convert("UTF-8", "CP932", *cp932) != utf8) {
        return std::nullopt;
    }
    return cp932;
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932);
}

}  // namespace tama05
