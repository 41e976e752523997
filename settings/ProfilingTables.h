#pragma once
// The fixed tables behind the profiling settings: what each frequency allows, the sample
// intervals the operator picks from, and the optimisation choices.
#include <span>
#include <string>

struct FrequencyInfo {
    int code;                 // 1 = 300 kHz, 2 = 600 kHz, 3 = 1200 kHz
    const char* comboText;    // "300 KHz"
    const char* pingTimeText; // the TP value
    double pingSeconds;
    int blankCm; // WF
    int minBinCm;
    int maxBinCm;
};

// The row of a frequency code; any other code gets the 600 kHz numbers with an empty TP text.
const FrequencyInfo& GetFrequencyInfo(int frequency);
std::span<const FrequencyInfo> FrequencyTable();

struct SampleIntervalInfo {
    const char* comboText; // "10 Sec."
    const char* teValue;   // "00001000": hours, minutes, seconds, hundredths
    int seconds;
};

std::span<const SampleIntervalInfo> SampleIntervalTable();
// The index of the row whose TE value is exactly the text, or -1.
int FindSampleInterval(const std::string& teValue);

struct OptimizeInfo {
    int code; // m_nOptimize
    const char* radioText;
    int bins;       // WN
    double divisor; // bin size = profiling range in cm / divisor
};

// The row of an optimisation choice, or null for a value outside the table.
const OptimizeInfo* FindOptimizeInfo(int optimize);
std::span<const OptimizeInfo> OptimizeTable();
