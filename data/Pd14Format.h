#pragma once
// The PD14 ensemble layout: fixed fields, then X and Y velocities and the amplitudes of
// n bins; no checksum.
//
//   0 8F 8F | 2 length | 4 number | 6 year | 8 mon day hour min sec | 14 pitch | 16 roll
//   18 range | 22 n | 23 n x (X, Y) | 23 + 4n  n x (amp1, amp2)
#include "data/DataTypes.h"
#include "data/EnsembleRecord.h"

#include <cstddef>

class CPd14Format
{
  public:
    static constexpr int HEADER_SIZE = 23;

    static void Decode(SEnsembleRecord& rec);
    // Valid when the time stamp's year is after 1950, or else when the number is above 0.
    static bool IsValid(const SEnsembleRecord& rec);

    static double GetValue(const SEnsembleRecord& rec, DataType dataType, int beam, int bin);
    static double GetNumber(const SEnsembleRecord& rec);
    static double GetTime(const SEnsembleRecord& rec);
    static double GetRange(const SEnsembleRecord& rec);
    // X (value 1) or Y (value 2) velocity of a bin (from 0) as stored, -32768 when not there.
    static int GetVelocity(const SEnsembleRecord& rec, int bin, int value);
    // The mean X velocity.
    static double IndexVelocity(const SEnsembleRecord& rec, int first, int last, int sign);
};
