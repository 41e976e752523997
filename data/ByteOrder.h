#pragma once
// Little-endian reads and writes for the recorded data formats. Callers check bounds
// before they read; these helpers only assemble the bytes.
#include <cstdint>

inline uint16_t ReadLeU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline int16_t ReadLeS16(const uint8_t* p)
{
    return static_cast<int16_t>(ReadLeU16(p));
}

inline int32_t ReadLeS32(const uint8_t* p)
{
    const uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(v);
}

inline void WriteLeU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void WriteLeS16(uint8_t* p, int16_t v)
{
    WriteLeU16(p, static_cast<uint16_t>(v));
}

inline void WriteLeS32(uint8_t* p, int32_t v)
{
    const auto u = static_cast<uint32_t>(v);
    p[0] = static_cast<uint8_t>(u & 0xFF);
    p[1] = static_cast<uint8_t>((u >> 8) & 0xFF);
    p[2] = static_cast<uint8_t>((u >> 16) & 0xFF);
    p[3] = static_cast<uint8_t>(u >> 24);
}
