#pragma once
// Stations and data files with known flows for the series tests: a rectangular channel
// 1 m wide, the instrument at the bottom of it, velocities in mm/s so that the linear model
// passes them through unchanged. A range of 10000 (1 m) and a velocity of 1000 mm/s give a
// flow of exactly 1 m3/s.
#include "sim/EnsembleEncoder.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace seriestest
{

inline CStation MakeStation()
{
    CStation station;
    station.SetSiteName("Mill Race");
    station.SetLocation("Below the weir,\r\nleft bank");
    station.SetVelocityUnits(108);
    station.SetStageUnits(105);
    station.SetFlowUnits(113);
    station.SetVolumeUnits(121);
    CChannelGeometry geometry;
    geometry.SetType(CHANNEL_RECTANGULAR);
    geometry.SetRectangular(10000.0, 100000.0);
    geometry.SetZBottom(0.0);
    geometry.SetZAdcp(0.0);
    station.SetGeometry(geometry);
    return station;
}

struct SEns {
    int year = 2025, month = 3, day = 14, hour = 0, minute = 0, second = 0;
    uint16_t number = 1;
    int32_t range = 10000;   // -32768: no stage
    int16_t velocity = 1000; // every bin
};

inline std::vector<uint8_t> Encode(const SEns& e)
{
    SPd14Values v;
    v.m_nNumber = e.number;
    v.m_nYear = e.year;
    v.m_nMonth = e.month;
    v.m_nDay = e.day;
    v.m_nHour = e.hour;
    v.m_nMinute = e.minute;
    v.m_nSecond = e.second;
    v.m_nRange = e.range;
    v.m_velocityX.assign(20, e.velocity);
    v.m_velocityY.assign(20, 0);
    return EncodePd14Ensemble(v);
}

inline void WriteData(const std::filesystem::path& path, const std::vector<SEns>& ensembles)
{
    std::vector<unsigned char> bytes;
    for (const SEns& e : ensembles) {
        const auto one = Encode(e);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    testsupport::WriteFileBytes(path, bytes);
}

// count ensembles a minute apart from the given one on, numbered on from its number; the
// day counts on past the end of the month, so keep within one.
inline std::vector<SEns> Minutes(SEns first, int count)
{
    std::vector<SEns> list;
    int total = first.hour * 60 + first.minute;
    for (int i = 0; i < count; ++i, ++total) {
        SEns e = first;
        e.day = first.day + total / 1440;
        e.hour = total / 60 % 24;
        e.minute = total % 60;
        e.number = static_cast<uint16_t>(first.number + i);
        list.push_back(e);
    }
    return list;
}

} // namespace seriestest
