#pragma once
// The PD0 ensemble layout: a section table after the header, sections found by their IDs,
// and a checksum after the counted bytes.
//
//   0 7F 7F | 2 length L | 4 - | 5 N | 6 offsets of N sections | ... | L checksum
//
// Offsets and cell counts come from the data, so every read is checked against the
// ensemble's counted bytes: a section that does not hold the fields read from it counts as
// absent, and a bin or field beyond the end reads as no data.
#include "data/DataTypes.h"
#include "data/EnsembleRecord.h"

#include <cstddef>

class CPd0Format
{
  public:
    static constexpr uint16_t ID_FIXED_LEADER = 0x0000;
    static constexpr uint16_t ID_VARIABLE_LEADER = 0x0080;
    static constexpr uint16_t ID_VELOCITY = 0x0100;
    static constexpr uint16_t ID_CORRELATION = 0x0200;
    static constexpr uint16_t ID_AMPLITUDE = 0x0300;
    static constexpr uint16_t ID_RANGE = 0x4000;

    // Fills the section offsets, cell count and coordinate flag of rec from the bytes
    // (rec.m_pBytes, rec.m_nSize).
    static void Decode(SEnsembleRecord& rec);
    // The 16-bit sum of every byte but the last two equals the last two.
    static bool IsValid(const SEnsembleRecord& rec);

    static double GetValue(const SEnsembleRecord& rec, DataType dataType, int beam, int bin);
    static double GetNumber(const SEnsembleRecord& rec);
    static double GetTime(const SEnsembleRecord& rec);
    static double GetRange(const SEnsembleRecord& rec);
    // Velocity value 1 or 2 of a bin (from 0) as stored, or -32768 when it is not there.
    static int GetVelocity(const SEnsembleRecord& rec, int bin, int value);
    // X alone in X/Y coordinates; else the mean of the two beams, each taken along the channel.
    static double IndexVelocity(const SEnsembleRecord& rec, int first, int last, int sign);

    // The year of a two-digit year byte: 2000 + y below 91, else 1900 + y.
    static int FullYear(int yearByte) { return yearByte < 91 ? 2000 + yearByte : 1900 + yearByte; }
};
