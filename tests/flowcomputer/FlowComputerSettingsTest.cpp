// The Flow Computer settings as values: the bounds check at both ends of every range, and the
// way into and out of a station.
#include "flowcomputer/FlowComputerSettings.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

TEST(FlowComputerSettingsValues, EveryBoundIsInsideAndOneStepBeyondFails)
{
    struct Case {
        void (*set)(CFlowComputerSettings&, double);
        double low, high, step;
        const char* line;
    };
    const Case cases[] = {
        {[](CFlowComputerSettings& s, double v) { s.m_dTCF = v; }, 0.0, 1.0, 0.01,
         "TCF must be between 0.0 and 1.0\r\n"},
        {[](CFlowComputerSettings& s, double v) { s.m_nTimeout = static_cast<long>(v); }, 300, 3600, 1,
         "Timeout must be between 300 and 3600 seconds\r\n"},
        {[](CFlowComputerSettings& s, double v) { s.m_dPulseTime = v; }, 0.01, 0.1, 0.001,
         "Pulse time must be between 0.01 and 0.1 seconds\r\n"},
        {[](CFlowComputerSettings& s, double v) { s.m_nBadReadings = static_cast<long>(v); }, 1, 10, 1,
         "Bad readings must be between 1 and 10\r\n"},
    };
    for (const auto& c : cases) {
        for (double value : {c.low, c.high}) {
            CFlowComputerSettings settings;
            c.set(settings, value);
            std::string errors;
            EXPECT_TRUE(settings.Validate(errors)) << c.line << value;
            EXPECT_EQ(errors, "");
        }
        for (double value : {c.low - c.step, c.high + c.step}) {
            CFlowComputerSettings settings;
            c.set(settings, value);
            std::string errors = "kept\r\n";
            EXPECT_FALSE(settings.Validate(errors)) << c.line << value;
            EXPECT_EQ(errors, std::string("kept\r\n") + c.line);
        }
    }
}

TEST(FlowComputerSettingsValues, StationRoundTripAndTheRestoredSet)
{
    CStation station;
    station.SetModified(false);
    CFlowComputerSettings settings(station);
    settings.RestoreDefaults();
    EXPECT_DOUBLE_EQ(settings.m_dNoDataOutput, 3.9);
    EXPECT_EQ(settings.m_nBadReadings, 2);
    EXPECT_DOUBLE_EQ(settings.m_dZeroScreen, 0.025);
    settings.StoreTo(station);
    EXPECT_TRUE(station.IsModified());
    const CFlowComputerSettings back(station);
    EXPECT_DOUBLE_EQ(back.m_dNoDataOutput, 3.9);
    EXPECT_EQ(back.m_nBadReadings, 2);
    EXPECT_DOUBLE_EQ(back.m_dZeroScreen, 0.025);
    EXPECT_EQ(back.m_nTimeout, 1200);
}

} // namespace
