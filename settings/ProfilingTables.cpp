#include "settings/ProfilingTables.h"

namespace
{

constexpr FrequencyInfo kFrequencies[] = {
    {1, "300 KHz", "00:01.00", 1.0, 200, 100, 1000},
    {2, "600 KHz", "00:00.40", 0.4, 100, 100, 800},
    {3, "1200 KHz", "00:00.10", 0.1, 50, 10, 400},
};

constexpr FrequencyInfo kUnknownFrequency = {0, "", "", 0.4, 100, 100, 800};

constexpr SampleIntervalInfo kSampleIntervals[] = {
    {"10 Sec.", "00001000", 10},   {"15 Sec.", "00001500", 15},  {"20 Sec.", "00002000", 20},
    {"30 Sec.", "00003000", 30},   {"1 Min.", "00010000", 60},   {"2 Min.", "00020000", 120},
    {"2.5 Min.", "00023000", 150}, {"5 Min.", "00050000", 300},  {"7.5 Min.", "00073000", 450},
    {"10 Min.", "00100000", 600},  {"15 Min.", "00150000", 900}, {"20 Min.", "00200000", 1200},
    {"30 Min.", "00300000", 1800}, {"1 Hour", "01000000", 3600},
};

// Horizontal resolution divides by 28 although it asks for 30 bins; that is how stations in
// the field were set up, so it stays.
constexpr OptimizeInfo kOptimize[] = {
    {1, "Optimize velocity precision", 10, 9.0},
    {2, "Optimize horizontal resolution", 30, 28.0},
    {3, "Balance precision/resolution", 20, 19.0},
};

} // namespace

const FrequencyInfo& GetFrequencyInfo(int frequency)
{
    for (const FrequencyInfo& row : kFrequencies) {
        if (row.code == frequency) {
            return row;
        }
    }
    return kUnknownFrequency;
}

std::span<const FrequencyInfo> FrequencyTable()
{
    return kFrequencies;
}

std::span<const SampleIntervalInfo> SampleIntervalTable()
{
    return kSampleIntervals;
}

int FindSampleInterval(const std::string& teValue)
{
    for (std::size_t i = 0; i < std::size(kSampleIntervals); ++i) {
        if (teValue == kSampleIntervals[i].teValue) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const OptimizeInfo* FindOptimizeInfo(int optimize)
{
    for (const OptimizeInfo& row : kOptimize) {
        if (row.code == optimize) {
            return &row;
        }
    }
    return nullptr;
}

std::span<const OptimizeInfo> OptimizeTable()
{
    return kOptimize;
}
