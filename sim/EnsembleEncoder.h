#pragma once
// Encoders of single ensembles from values to bytes, in both recorded formats, exactly as
// the reader expects them. The data generator writes files of them and the instrument
// simulator streams them.
#include <cstdint>
#include <vector>

// One PD0 ensemble. Velocities per cell: value 1 and 2 are beams 1 and 2 (or X and Y when
// m_bXY); -32768 marks a bad value. Values 3 and 4 of each cell are written as 0.
struct SPd0Values {
    uint32_t m_nNumber = 1; // 24 bits: low 16 in the variable leader at 2, high byte at 11
    int m_nYear = 2005;     // four digits; written as two (2000..2090 and 1991..1999)
    int m_nMonth = 1, m_nDay = 1, m_nHour = 0, m_nMinute = 0, m_nSecond = 0;
    int16_t m_nPitch = 0, m_nRoll = 0; // hundredths of a degree
    bool m_bXY = true;
    std::vector<int16_t> m_velocity1, m_velocity2; // one per cell; their size is the cell count
    std::vector<uint8_t> m_correlation1, m_correlation2, m_amplitude1, m_amplitude2; // per cell, may be short
    bool m_bHasRange = true;
    int32_t m_nRange = 0;         // tenths of a millimetre
    int32_t m_nPressureRange = 0; // tenths of a millimetre
    bool m_bExtraSection = false; // a section of an ID the reader skips, as instruments add
    bool m_bBadChecksum = false;
};

// One PD14 ensemble. X velocities take the sign, Y not; bins = size of m_velocityX.
struct SPd14Values {
    uint16_t m_nNumber = 1;
    int m_nYear = 2005;
    int m_nMonth = 1, m_nDay = 1, m_nHour = 0, m_nMinute = 0, m_nSecond = 0;
    int16_t m_nPitch = 0, m_nRoll = 0; // hundredths of a degree
    int32_t m_nRange = 0;              // tenths of a millimetre
    std::vector<int16_t> m_velocityX, m_velocityY;
    std::vector<uint8_t> m_amplitude1, m_amplitude2; // per bin, may be short (0 then)
};

std::vector<uint8_t> EncodePd0Ensemble(const SPd0Values& values);
std::vector<uint8_t> EncodePd14Ensemble(const SPd14Values& values);

// Sum of bytes 0..L-1 into the two bytes at L, for hand-built PD0 ensembles.
void SetPd0Checksum(std::vector<uint8_t>& ensemble);
