#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

namespace tama05 {

// The tool's JSON: members in the order they were added.
using Json = nlohmann::ordered_json;

// A double as scripts read it: a whole value is written as an integer ("100"), any other value
// with the shortest digits that read back the same double, a value that is not finite as null.
Json JsonNumber(double value);

// Writes the object compactly on one line. Strings are UTF-8; bytes that are not (a file name
// in another encoding) are written as U+FFFD.
void PrintJson(std::ostream& out, const Json& value);

}  // namespace tama05
