// The "Flow Computer Settings" dialog's form: the edits, the check run on OK with its
// message, the values going back into the station, and the derived figures.
#include "present/FlowComputerSettingsForm.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

using Settings = CFlowComputerSettingsForm;

// The edits as the operator left them, starting from valid values.
Settings::Edits ValidEdits()
{
    Settings::Edits edits;
    edits[Settings::TCF] = "0.5";
    edits[Settings::BadDataOutput] = "3.95";
    edits[Settings::NoDataOutput] = "3.65";
    edits[Settings::Timeout] = "1200";
    edits[Settings::PulseTime] = "0.05";
    edits[Settings::ZeroScreen] = "0.0";
    edits[Settings::BigStep] = "0.1";
    edits[Settings::BadReadings] = "5";
    return edits;
}

// Runs the OK check on the edits with one of them changed; the failed lines, "" if none.
std::string CheckWith(Settings::EField field, const std::string& text)
{
    Settings::Edits edits = ValidEdits();
    edits[field] = text;
    Settings settings;
    settings.ReadEdits(edits);
    std::string errors;
    const bool valid = settings.Validate(errors);
    EXPECT_EQ(valid, errors.empty()) << text;
    return errors;
}

TEST(FlowComputerSettingsEdits, ShowTheStationsValuesInTheMeasurementForm)
{
    CStation station;
    Settings settings(station);
    const Settings::Edits edits = settings.WriteEdits();
    EXPECT_EQ(edits[Settings::TCF], "1.00");
    EXPECT_EQ(edits[Settings::BadDataOutput], "3.95");
    EXPECT_EQ(edits[Settings::NoDataOutput], "3.65");
    EXPECT_EQ(edits[Settings::Timeout], "1200");
    EXPECT_EQ(edits[Settings::PulseTime], "0.050");
    EXPECT_EQ(edits[Settings::ZeroScreen], "0.00");
    EXPECT_EQ(edits[Settings::BigStep], "0.10");
    EXPECT_EQ(edits[Settings::BadReadings], "5.00");

    // What the edits show reads back as the same values.
    Settings reread;
    reread.m_nBadReadings = 0;
    reread.ReadEdits(edits);
    std::string errors;
    EXPECT_TRUE(reread.Validate(errors)) << errors;
    EXPECT_EQ(reread.m_nBadReadings, 5);
    EXPECT_EQ(reread.m_nTimeout, 1200);
    EXPECT_DOUBLE_EQ(reread.m_dPulseTime, 0.05);
}

TEST(FlowComputerSettingsEdits, RestoreDefaultsLoadsItsOwnSetNotANewStations)
{
    CStation station;
    station.SetTCF(0.3);
    station.SetTimeout(900);
    Settings settings(station);
    settings.RestoreDefaults();
    const Settings::Edits edits = settings.WriteEdits();
    const Settings::Edits expected = {"1.00", "3.95", "3.90", "1200", "0.050", "0.025", "0.10", "2.00"};
    EXPECT_EQ(edits, expected);
}

TEST(FlowComputerSettingsEdits, TypedTextsReadAsTheirLeadingNumber)
{
    Settings::Edits edits = ValidEdits();
    edits[Settings::TCF] = "  0.25 per step";
    edits[Settings::BadDataOutput] = "+3.5mA";
    edits[Settings::NoDataOutput] = ".5";
    edits[Settings::Timeout] = "1200.9";
    edits[Settings::PulseTime] = "5e-2";
    edits[Settings::ZeroScreen] = "abc";
    edits[Settings::BigStep] = "inf";
    edits[Settings::BadReadings] = "10.9";
    Settings settings;
    settings.ReadEdits(edits);
    EXPECT_DOUBLE_EQ(settings.m_dTCF, 0.25);
    EXPECT_DOUBLE_EQ(settings.m_dBadDataOutput, 3.5);
    EXPECT_DOUBLE_EQ(settings.m_dNoDataOutput, 0.5);
    EXPECT_EQ(settings.m_nTimeout, 1200);
    EXPECT_DOUBLE_EQ(settings.m_dPulseTime, 0.05);
    EXPECT_DOUBLE_EQ(settings.m_dZeroScreen, 0.0);
    EXPECT_DOUBLE_EQ(settings.m_dBigStep, 0.0); // not a number an operator types
    EXPECT_EQ(settings.m_nBadReadings, 10);

    edits[Settings::TCF] = "-";
    edits[Settings::NoDataOutput] = "1e";
    edits[Settings::BigStep] = "0x10";
    edits[Settings::Timeout] = "-350";
    edits[Settings::BadReadings] = "99999999999999999999999";
    settings.ReadEdits(edits);
    EXPECT_DOUBLE_EQ(settings.m_dTCF, 0.0);
    EXPECT_DOUBLE_EQ(settings.m_dNoDataOutput, 1.0);
    EXPECT_DOUBLE_EQ(settings.m_dBigStep, 0.0);
    EXPECT_EQ(settings.m_nTimeout, -350);
    EXPECT_GT(settings.m_nBadReadings, 10); // held large, so the check still fails it
}

TEST(FlowComputerSettingsCheck, BoundsIncludeBothEnds)
{
    const std::string timeoutLine = "Timeout must be between 300 and 3600 seconds\r\n";
    EXPECT_EQ(CheckWith(Settings::Timeout, "3600"), "");
    EXPECT_EQ(CheckWith(Settings::Timeout, "300"), "");
    EXPECT_EQ(CheckWith(Settings::Timeout, "3601"), timeoutLine);
    EXPECT_EQ(CheckWith(Settings::Timeout, "299"), timeoutLine);

    const std::string pulseLine = "Pulse time must be between 0.01 and 0.1 seconds\r\n";
    EXPECT_EQ(CheckWith(Settings::PulseTime, "0.1"), "");
    EXPECT_EQ(CheckWith(Settings::PulseTime, "0.01"), "");
    EXPECT_EQ(CheckWith(Settings::PulseTime, "0.11"), pulseLine);
    EXPECT_EQ(CheckWith(Settings::PulseTime, "0.009"), pulseLine);

    EXPECT_EQ(CheckWith(Settings::BadReadings, "10.9"), "");
    EXPECT_EQ(CheckWith(Settings::BadReadings, "1"), "");
    EXPECT_EQ(CheckWith(Settings::BadReadings, "0"), "Bad readings must be between 1 and 10\r\n");
    EXPECT_EQ(CheckWith(Settings::BadReadings, "11"), "Bad readings must be between 1 and 10\r\n");

    EXPECT_EQ(CheckWith(Settings::TCF, "0"), "");
    EXPECT_EQ(CheckWith(Settings::TCF, "1"), "");
    EXPECT_EQ(CheckWith(Settings::TCF, "1.01"), "TCF must be between 0.0 and 1.0\r\n");
    EXPECT_EQ(CheckWith(Settings::TCF, "-0.01"), "TCF must be between 0.0 and 1.0\r\n");
    EXPECT_EQ(CheckWith(Settings::BadDataOutput, "4"), "");
    EXPECT_EQ(CheckWith(Settings::BadDataOutput, "4.01"), "Bad data output must be between 0.0 and 4.0\r\n");
    EXPECT_EQ(CheckWith(Settings::NoDataOutput, "0"), "");
    EXPECT_EQ(CheckWith(Settings::NoDataOutput, "-1"), "No data output must be between 0.0 and 4.0\r\n");
    EXPECT_EQ(CheckWith(Settings::ZeroScreen, "0.1"), "");
    EXPECT_EQ(CheckWith(Settings::ZeroScreen, "0.2"), "Zero screen value must be between 0.0 and 0.1\r\n");
    EXPECT_EQ(CheckWith(Settings::BigStep, "1"), "");
    EXPECT_EQ(CheckWith(Settings::BigStep, "1.5"), "The big step value must be between 0.0 and 1.0\r\n");
}

TEST(FlowComputerSettingsCheck, EmptyEditsReadAsZero)
{
    EXPECT_EQ(CheckWith(Settings::BadReadings, ""), "Bad readings must be between 1 and 10\r\n");
    EXPECT_EQ(CheckWith(Settings::TCF, ""), "");
    EXPECT_EQ(CheckWith(Settings::Timeout, ""), "Timeout must be between 300 and 3600 seconds\r\n");
    EXPECT_EQ(CheckWith(Settings::PulseTime, "fast"), "Pulse time must be between 0.01 and 0.1 seconds\r\n");
}

TEST(FlowComputerSettingsCheck, ACountTooBigForTheStationIsNotWrappedIntoRange)
{
    // 65836 and 65537 would be 300 and 1 in 16 bits: both in range, neither what was typed.
    EXPECT_EQ(CheckWith(Settings::Timeout, "65836"), "Timeout must be between 300 and 3600 seconds\r\n");
    EXPECT_EQ(CheckWith(Settings::BadReadings, "65537"), "Bad readings must be between 1 and 10\r\n");
    EXPECT_EQ(CheckWith(Settings::Timeout, "-64236"), "Timeout must be between 300 and 3600 seconds\r\n");
}

TEST(FlowComputerSettingsCheck, FailuresAreReportedTogetherInTableOrder)
{
    Settings::Edits edits = ValidEdits();
    edits[Settings::BadReadings] = "0";
    edits[Settings::TCF] = "2";
    edits[Settings::PulseTime] = "1";
    Settings settings;
    settings.ReadEdits(edits);
    std::string errors;
    EXPECT_FALSE(settings.Validate(errors));
    EXPECT_EQ(Settings::ErrorMessage(errors),
              "Error, the settings are not permitted, the following errors must be fixed:\r\n"
              " TCF must be between 0.0 and 1.0\r\n"
              "Pulse time must be between 0.01 and 0.1 seconds\r\n"
              "Bad readings must be between 1 and 10\r\n");

    // Every field out of range: all eight lines, in the order of the fields.
    Settings::Edits all = {"2", "5", "5", "1", "1", "1", "2", "20"};
    settings.ReadEdits(all);
    errors.clear();
    EXPECT_FALSE(settings.Validate(errors));
    EXPECT_EQ(errors, "TCF must be between 0.0 and 1.0\r\n"
                      "Bad data output must be between 0.0 and 4.0\r\n"
                      "No data output must be between 0.0 and 4.0\r\n"
                      "Timeout must be between 300 and 3600 seconds\r\n"
                      "Pulse time must be between 0.01 and 0.1 seconds\r\n"
                      "Zero screen value must be between 0.0 and 0.1\r\n"
                      "The big step value must be between 0.0 and 1.0\r\n"
                      "Bad readings must be between 1 and 10\r\n");
}

TEST(FlowComputerSettingsCheck, AcceptedValuesGoBackIntoTheStation)
{
    CStation station;
    station.SetModified(false);
    Settings settings(station);
    Settings::Edits edits = ValidEdits();
    edits[Settings::Timeout] = "3600";
    edits[Settings::BadReadings] = "10";
    settings.ReadEdits(edits);
    std::string errors;
    ASSERT_TRUE(settings.Validate(errors));
    settings.StoreTo(station);
    EXPECT_TRUE(station.IsModified());
    EXPECT_DOUBLE_EQ(station.GetTCF(), 0.5);
    EXPECT_DOUBLE_EQ(station.GetBadDataOutput(), 3.95);
    EXPECT_DOUBLE_EQ(station.GetNoDataOutput(), 3.65);
    EXPECT_EQ(station.GetTimeout(), 3600);
    EXPECT_DOUBLE_EQ(station.GetPulseTime(), 0.05);
    EXPECT_DOUBLE_EQ(station.GetZeroScreen(), 0.0);
    EXPECT_DOUBLE_EQ(station.GetBigStep(), 0.1);
    EXPECT_EQ(station.GetBadReadings(), 10);
    EXPECT_EQ(Settings(station).WriteEdits(), settings.WriteEdits());
}

TEST(FlowComputerSettingsFigures, TimeConstantFromTheSampleInterval)
{
    Settings settings;
    settings.m_dTCF = 0.5;
    EXPECT_EQ(settings.TimeConstantText(30.0), "18.79 sec.");
    EXPECT_EQ(settings.TimeConstantText(CStation()), "18.79 sec."); // a new station samples every 30 s
    settings.m_dTCF = 0.9;
    EXPECT_EQ(settings.TimeConstantText(600.0), "113.1 sec.");
    settings.m_dTCF = 0.1; // light smoothing of hourly samples: 14834.28 s
    EXPECT_EQ(settings.TimeConstantText(3600.0), "14834 sec.");
    for (double tcf : {1.0, 0.0, -0.5, 1.5}) {
        settings.m_dTCF = tcf;
        EXPECT_EQ(settings.TimeConstantText(30.0), "Undefined") << tcf;
    }
}

TEST(FlowComputerSettingsFigures, BigStepAndZeroScreenAsFlows)
{
    CStation station;
    station.SetFlow4mA(0.0);
    station.SetFlow20mA(1000.0 * 1000.0); // 1000 litres per second
    station.SetFlowUnits(114);
    Settings settings(station);
    settings.m_dBigStep = 0.1;
    settings.m_dZeroScreen = 0.025;
    EXPECT_EQ(settings.BigStepText(station), "100.0 (l/s)");
    EXPECT_EQ(settings.ZeroScreenText(station), "25.00 (l/s)");

    // The span, not the 20 mA flow alone, in the station's flow unit.
    station.SetFlow4mA(200000.0);
    station.SetFlowUnits(110);
    EXPECT_EQ(settings.BigStepText(station), "0.080 (cu m/s)");
    settings.m_dZeroScreen = 0.0;
    EXPECT_EQ(settings.ZeroScreenText(station), "0.00 (cu m/s)");
    // An absurd entry multiplied up is not shown as a number.
    EXPECT_EQ(Settings::SpanShareText(1e308, 0.0, 1e308, 110), "Undefined (cu m/s)");
}

} // namespace
