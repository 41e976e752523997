#include "sim/VelunitEnsembles.h"

#include "sim/EnsembleEncoder.h"

#include <algorithm>
#include <cmath>

namespace
{

// Velocity of a bin in mm/s: faster towards the middle of the channel, with a tide-like
// swing over the ensembles.
int16_t BinVelocity(int bin, int bins, int number)
{
    double across = std::sin(3.14159265 * (bin + 0.5) / std::max(1, bins));
    double swing = 0.8 + 0.2 * std::sin(number / 20.0);
    return static_cast<int16_t>(std::lround(600.0 * across * swing));
}

} // namespace

std::vector<unsigned char> MakeVelunitEnsemble(const SVelunitEnsembleParams& params)
{
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    params.m_dtTime.GetParts(year, month, day, hour, minute, second);
    const int bins = std::clamp(params.m_nBins, 1, 128);
    const int32_t range =
        static_cast<int32_t>(std::lround(12211.0 + 800.0 * std::sin(params.m_nNumber / 30.0)));

    if (params.m_nFormat == 0) {
        SPd0Values v;
        v.m_nNumber = static_cast<uint32_t>(params.m_nNumber);
        v.m_nYear = year, v.m_nMonth = month, v.m_nDay = day;
        v.m_nHour = hour, v.m_nMinute = minute, v.m_nSecond = second;
        v.m_nPitch = -50, v.m_nRoll = 84;
        for (int b = 0; b < bins; ++b) {
            v.m_velocity1.push_back(BinVelocity(b, bins, params.m_nNumber));
            v.m_velocity2.push_back(static_cast<int16_t>(BinVelocity(b, bins, params.m_nNumber) / 10));
            v.m_correlation1.push_back(120), v.m_correlation2.push_back(118);
            v.m_amplitude1.push_back(static_cast<uint8_t>(160 - b)),
                v.m_amplitude2.push_back(static_cast<uint8_t>(158 - b));
        }
        v.m_nRange = range;
        v.m_nPressureRange = range - 40;
        return EncodePd0Ensemble(v);
    }
    SPd14Values v;
    v.m_nNumber = static_cast<uint16_t>(params.m_nNumber);
    v.m_nYear = year, v.m_nMonth = month, v.m_nDay = day;
    v.m_nHour = hour, v.m_nMinute = minute, v.m_nSecond = second;
    v.m_nPitch = -50, v.m_nRoll = 84;
    v.m_nRange = range;
    for (int b = 0; b < bins; ++b) {
        v.m_velocityX.push_back(BinVelocity(b, bins, params.m_nNumber));
        v.m_velocityY.push_back(static_cast<int16_t>(BinVelocity(b, bins, params.m_nNumber) / 10));
        v.m_amplitude1.push_back(static_cast<uint8_t>(160 - b)),
            v.m_amplitude2.push_back(static_cast<uint8_t>(158 - b));
    }
    return EncodePd14Ensemble(v);
}
