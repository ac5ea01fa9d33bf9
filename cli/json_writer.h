#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace tama05 {

// Writes compact JSON to a stream, placing the commas itself. Strings are UTF-8 and are
// escaped (quote, backslash and control characters); the caller keeps the nesting balanced.
class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of an object.
    void Key(std::string_view name);
    void String(std::string_view value);
    void Int(int64_t value);
    // A member whose value is an integer: Key(name), then Int(value).
    void Member(std::string_view name, int64_t value) {
        Key(name);
        Int(value);
    }
    // A number with every digit needed to read back the same double.
    void Double(double value);
    void Bool(bool value);
    void Null();

  private:
    void BeforeValue();
    void WriteEscaped(std::string_view text);

    std::ostream& m_out;
    // One entry per open object or array: whether it already holds a value.
    std::vector<bool> m_hasValue;
    bool m_afterKey = false;
};

}  // namespace tama05
