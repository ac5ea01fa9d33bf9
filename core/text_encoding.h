#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tama05 {

// Conversions between the UTF-8 text the program holds in memory and the code page 932
// (Shift-JIS with the Windows extensions) bytes its files store. Both return nothing when a
// character has no counterpart or the input is not valid in its encoding; nothing is ever
// replaced or dropped, and text is only converted to code page 932 when it comes back
// unchanged (a character folded onto another's bytes is refused). Safe to call from any thread.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

}  // namespace tama05
