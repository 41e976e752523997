#pragma once
// Builds expected station-file bytes by hand, field by field, independently of the writer.
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

class ByteBuilder
{
  public:
    ByteBuilder& U8(uint8_t v)
    {
        bytes.push_back(v);
        return *this;
    }
    ByteBuilder& U16(uint16_t v) { return U8(v & 0xFF).U8(static_cast<uint8_t>(v >> 8)); }
    ByteBuilder& I32(int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        return U8(u & 0xFF).U8((u >> 8) & 0xFF).U8((u >> 16) & 0xFF).U8(static_cast<uint8_t>(u >> 24));
    }
    ByteBuilder& F64(double v)
    {
        const auto u = std::bit_cast<uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            U8(static_cast<uint8_t>(u >> (8 * i)));
        return *this;
    }
    ByteBuilder& Date(int32_t status, double days) { return I32(status).F64(days); }
    // A text shorter than 255 bytes, already in the file's code page.
    ByteBuilder& ShortText(const std::string& s)
    {
        U8(static_cast<uint8_t>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    ByteBuilder& Raw(const std::vector<uint8_t>& more)
    {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }

    std::vector<uint8_t> bytes;
};

// The default geometry record: rectangular, 2 ft wide channels, nothing else set.
inline void AppendDefaultGeometry(ByteBuilder& b)
{
    b.I32(21).F64(60960.0).F64(60960.0).F64(30480.0).F64(60960.0).F64(30480.0).F64(2.0).I32(0);
    for (int i = 0; i < 40; ++i)
        b.F64(0.0);
    for (int i = 0; i < 6; ++i)
        b.F64(0.0);
}

inline void AppendDefaultCommands(ByteBuilder& b)
{
    const char* pairs[] = {"CR", "1",        "WP", "1",        "WF", "50", "WN", "25",      "WS", "100",
                           "TP", "00:00.50", "TE", "00003000", "VP", "3",  "EZ", "1101101", "EX", "01010",
                           "ES", "0",        "CF", "11110",    "CT", "1",  "MR", "1",       "PD", "14"};
    b.U16(30);
    for (const char* s : pairs)
        b.ShortText(s);
}

inline void AppendDefaultGraphPrefs(ByteBuilder& b)
{
    for (int flag : {1, 1, 1, 1, 0, 1, 1, 1, 0})
        b.I32(flag);
    b.I32(8);
    for (uint16_t code = 1; code <= 8; ++code)
        b.U16(code);
}

// Fields 2 to 31 of a station with every default, the given texts (short, code page) and
// mounting and creation date, and no summaries.
inline void AppendVersion0Body(ByteBuilder& b, const std::string& site, const std::string& location,
                               const std::string& group, int32_t mounting, double created)
{
    b.ShortText(site).ShortText(location).ShortText(group);
    for (int32_t v : {111, 107, 101, 125, 130, 117, 1, 1, 20, 1})
        b.I32(v);
    for (double v :
         {0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 4381263.646, 0.0, 304799.99025, 0.0, 3047.999902, 37854.1179})
        b.F64(v);
    AppendDefaultGeometry(b);
    b.F64(-32768.0).F64(0.0).F64(0.0);
    b.I32(mounting);
    b.Date(0, created);
    b.Date(0, 0.0);
    b.I32(1).U8(1);
    b.I32(0); // no summaries
    b.I32(1).I32(3).I32(1);
    AppendDefaultCommands(b);
    AppendDefaultGraphPrefs(b);
}

inline void AppendDefaultFlowComputer(ByteBuilder& b)
{
    b.F64(1.0).F64(3.95).F64(3.65).U16(1200).F64(0.05).U16(5).F64(0.1).F64(0.0);
}
