#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

namespace tama05 {

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasValue.empty()) {
        if (m_hasValue.back()) {
            m_out << ',';
        }
        m_hasValue.back() = true;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    m_out << '{';
    m_hasValue.push_back(false);
}

void JsonWriter::EndObject() {
    m_out << '}';
    m_hasValue.pop_back();
}

void JsonWriter::BeginArray() {
    BeforeValue();
    m_out << '[';
    m_hasValue.push_back(false);
}

void JsonWriter::EndArray() {
    m_out << ']';
    m_hasValue.pop_back();
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    WriteEscaped(name);
    m_out << ':';
    m_afterKey = true;
}

void JsonWriter::String(std::string_view value) {
    BeforeValue();
    WriteEscaped(value);
}

void JsonWriter::Int(int64_t value) {
    BeforeValue();
    m_out << value;
}

void JsonWriter::Double(double value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        m_out << "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    m_out << text;
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out << (value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    m_out << "null";
}

void JsonWriter::WriteEscaped(std::string_view text) {
    m_out << '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                m_out << "\\\"";
                break;
            case '\\':
                m_out << "\\\\";
                break;
            case '\n':
                m_out << "\\n";
                break;
            case '\r':
                m_out << "\\r";
                break;
            case '\t':
                m_out << "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    m_out << escaped;
                } else {
                    m_out << c;
                }
        }
    }
    m_out << '"';
}

}  // namespace tama05
