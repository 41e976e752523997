#include "tools/tidewell-tool/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string FormatRoundTrip(double value)
{
    if (!std::isfinite(value))
        return "null";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

JsonWriter& JsonWriter::BeginObject()
{
    BeforeValue();
    m_out << '{';
    m_stack.push_back({true, true});
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    bool empty = m_stack.back().empty;
    m_stack.pop_back();
    if (!empty)
        NewLine();
    m_out << '}';
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    BeforeValue();
    m_out << '[';
    m_stack.push_back({false, true});
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    bool empty = m_stack.back().empty;
    m_stack.pop_back();
    if (!empty)
        NewLine();
    m_out << ']';
    return *this;
}

JsonWriter& JsonWriter::Key(const std::string& key)
{
    BeforeValue();
    m_out << '"' << Escape(key) << "\":" << (m_pretty ? " " : "");
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::Value(double v)
{
    BeforeValue();
    m_out << FormatRoundTrip(v);
    return *this;
}

JsonWriter& JsonWriter::Value(int64_t v)
{
    BeforeValue();
    m_out << v;
    return *this;
}

JsonWriter& JsonWriter::Value(bool v)
{
    BeforeValue();
    m_out << (v ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::Value(const std::string& v)
{
    BeforeValue();
    m_out << '"' << Escape(v) << '"';
    return *this;
}

JsonWriter& JsonWriter::Null()
{
    BeforeValue();
    m_out << "null";
    return *this;
}

void JsonWriter::Finish()
{
    m_out << '\n';
}

void JsonWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_stack.empty())
        return;
    if (!m_stack.back().empty)
        m_out << ',';
    m_stack.back().empty = false;
    NewLine();
}

void JsonWriter::NewLine()
{
    if (!m_pretty)
        return;
    m_out << '\n';
    for (size_t i = 0; i < m_stack.size(); ++i)
        m_out << "  ";
}

std::string JsonWriter::Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}
