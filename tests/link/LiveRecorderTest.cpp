// The live recorder behind the real-time view and `velunit listen`, over the in-process line:
// the test plays the instrument byte by byte, or a simulated unit runs deployed on a virtual
// clock. No real time passes.
#include "link/LiveRecorder.h"
#include "data/DataFiles.h"
#include "data/FormatValue.h"
#include "sim/EnsembleEncoder.h"
#include "station/CalcSet.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"
#include "tests/link/LiveLine.h"
#include "tests/link/VelunitRig.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

TEST(LiveRecorder, EnsemblesArriveInOrderAndGoToOneRecordingFileByteForByte)
{
    LiveLine live;
    const Bytes e1 = Pd14(1, 0), e2 = Pd14(2, 30), e3 = Pd14(3, 59);

    // Nothing yet: no ensemble, no file.
    EXPECT_EQ(live.Tick(), 0);
    EXPECT_TRUE(live.Files().empty());

    // Two ensembles within one second: both, in order, the second last.
    live.Send(Join({e1, e2}));
    EXPECT_EQ(live.Tick(), 2);
    ASSERT_EQ(live.recorder->List().GetCount(), 2u);
    EXPECT_EQ(live.Value(0, DATATYPE_NUMBER), 1.0);
    EXPECT_EQ(live.Value(1, DATATYPE_NUMBER), 2.0);
    EXPECT_EQ(live.log.events, (std::vector<std::string>{"added 0", "opened rt20261208.001",
                                                         "done 0 recorded", "added 1", "done 1 recorded"}));

    // The file was made at the first valid ensemble, in the station directory, and keeps
    // taking every later one.
    EXPECT_EQ(live.Files(), (std::vector<std::string>{"rt20261208.001"}));
    live.Send(e3);
    EXPECT_EQ(live.Tick(), 1);
    EXPECT_EQ(testsupport::ReadFileBytes(live.File("rt20261208.001")), Join({e1, e2, e3}));
    EXPECT_EQ(live.recorder->RecordedCount(), 3u);
    EXPECT_TRUE(live.log.warnings.empty());
}

TEST(LiveRecorder, SplitEnsemblesGarbageAndInvalidEnsembles)
{
    LiveLine live;
    const Bytes e1 = Pd14(7), e2 = Pd14(8);

    // An ensemble split across two ticks is completed on the second.
    live.Send(Bytes(e1.begin(), e1.begin() + 40));
    EXPECT_EQ(live.Tick(), 0);
    live.Send(Bytes(e1.begin() + 40, e1.end()));
    EXPECT_EQ(live.Tick(), 1);

    // Noise, including false starts of both formats, before a header is skipped and never
    // recorded. 7F 8F: the 8F is used up by the reset it causes.
    live.Send(Join({Bytes{0x00, 0x41, 0x7F, 0x00, 0x8F, 0x8F, 0x01, 0x00, 0x7F, 0x8F}, e2}));
    EXPECT_EQ(live.Tick(), 1);

    // Number 0 with an impossible date fails the validity rule: dropped without a word.
    const Bytes invalid = [] {
        Bytes b = Pd14(0);
        b[8] = 13; // month 13
        return b;
    }();
    live.Send(invalid);
    EXPECT_EQ(live.Tick(), 0);

    ASSERT_EQ(live.recorder->List().GetCount(), 2u);
    EXPECT_EQ(live.Value(1, DATATYPE_NUMBER), 8.0);
    EXPECT_EQ(testsupport::ReadFileBytes(live.File("rt20261208.001")), Join({e1, e2}));
}

TEST(LiveRecorder, AnEnsembleWithoutTimeIsComputedWithTheStationsOwnSettings)
{
    CStation station;
    CCalcSet set = *station.MakeCalcSet(CDateTime::FromParts(2020, 1, 1, 0, 0, 0));
    set.m_settings.m_dModelCoef[1] = 2.0; // twice the index velocity from 2020 on
    station.AddCalcSet(std::make_unique<CCalcSet>(set));
    LiveLine live(station);

    const Bytes dated = Pd14(1);
    Bytes undated = Pd14(2);
    undated[8] = 13; // no time, but a number: valid
    live.Send(Join({dated, undated}));
    ASSERT_EQ(live.Tick(), 2);

    const auto own = BuildEnsemble(FlowSettingsOf(station), undated.data(), undated.size());
    const auto inSet = BuildEnsemble(FlowSettingsOf(set, station), dated.data(), dated.size());
    ASSERT_NE(own->GetValue(DATATYPE_VELOCITY, 0, 0), inSet->GetValue(DATATYPE_VELOCITY, 0, 0));
    EXPECT_TRUE(IsNoData(live.Value(1, DATATYPE_DATETIME)));
    EXPECT_EQ(live.Value(1, DATATYPE_VELOCITY), own->GetValue(DATATYPE_VELOCITY, 0, 0));
    EXPECT_EQ(live.Value(0, DATATYPE_VELOCITY), inSet->GetValue(DATATYPE_VELOCITY, 0, 0));
}

TEST(LiveRecorder, SimulationModeMakesAnEnsembleAtTheFirstTickAndEveryTenthAfter)
{
    unsigned draws = 0;
    LiveLine live(CStation(), [&draws] {
        ++draws;
        return 7919u * draws + draws % 3;
    });

    // S, a stray key, I, M: the stray key does not break the sequence.
    EXPECT_FALSE(live.recorder->OnKey('s'));
    EXPECT_FALSE(live.recorder->OnKey('x'));
    EXPECT_FALSE(live.recorder->OnKey('I'));
    EXPECT_TRUE(live.recorder->OnKey('m'));
    EXPECT_TRUE(live.recorder->IsSimulating());
    EXPECT_FALSE(live.recorder->OnKey('m')); // the count starts again after a switch

    std::vector<int> ticksWithEnsemble;
    for (int tick = 1; tick <= 21; ++tick)
        if (live.Tick() == 1)
            ticksWithEnsemble.push_back(tick);
    EXPECT_EQ(ticksWithEnsemble, (std::vector<int>{1, 11, 21}));
    ASSERT_EQ(live.recorder->List().GetCount(), 3u);

    // What was shown and recorded is what went out of the port.
    const Bytes recorded = testsupport::ReadFileBytes(live.File("rt20261208.001"));
    EXPECT_EQ(live.Sent(), recorded);
    ASSERT_EQ(recorded.size(), 3 * SIMULATION_TEMPLATE_SIZE);

    const auto& t = SimulationTemplate();
    for (size_t k = 0; k < 3; ++k) {
        const uint8_t* e = recorded.data() + k * SIMULATION_TEMPLATE_SIZE;
        // The template's year, today's date and the time of its tick (tick 1, 11, 21).
        int year, month, day, hour, minute, second;
        ASSERT_TRUE(
            CDateTime(live.Value(k, DATATYPE_DATETIME)).GetParts(year, month, day, hour, minute, second));
        EXPECT_EQ(year, 2004);
        EXPECT_EQ(month, 12);
        EXPECT_EQ(day, 8);
        EXPECT_EQ(hour * 3600 + minute * 60 + second, 10 * 3600 + 1 + 10 * static_cast<int>(k));
        EXPECT_TRUE(std::equal(e, e + 8, t.begin())); // header, length, number, year
        EXPECT_TRUE(std::equal(e + 13, e + 18, t.begin() + 13));
        for (int b = 0; b < 32; ++b) {
            const int16_t x = static_cast<int16_t>(e[23 + 4 * b] | e[24 + 4 * b] << 8);
            const int16_t tx = static_cast<int16_t>(t[23 + 4 * b] | t[24 + 4 * b] << 8);
            if (tx == -32768) {
                EXPECT_EQ(x, -32768) << "bin " << b;
            } else {
                EXPECT_GE(x, 0) << "bin " << b;
                EXPECT_LE(x, 2 * tx) << "bin " << b;
            }
            // Y velocities and amplitudes are the template's.
            EXPECT_EQ(e[25 + 4 * b], t[25 + 4 * b]);
            EXPECT_EQ(e[151 + 2 * b], t[151 + 2 * b]);
        }
    }
    // The velocities are shaken: the first two ensembles differ somewhere in the bins.
    EXPECT_FALSE(std::equal(recorded.begin() + 23, recorded.begin() + 151,
                            recorded.begin() + SIMULATION_TEMPLATE_SIZE + 23));

    // The sequence again switches it off.
    live.recorder->OnKey('S');
    live.recorder->OnKey('I');
    EXPECT_TRUE(live.recorder->OnKey('M'));
    EXPECT_FALSE(live.recorder->IsSimulating());
    for (int tick = 0; tick < 12; ++tick)
        EXPECT_EQ(live.Tick(), 0);
}

TEST(LiveRecorder, MovingAverageRowTakesTheTenNewestShownValues)
{
    LiveLine live;
    const std::vector<DataType> columns{DATATYPE_NUMBER, DATATYPE_DATETIME, DATATYPE_RANGE};
    EXPECT_EQ(live.recorder->MovingAverageRow(columns), (std::vector<std::string>{"---", "Moving Avg.", ""}));
    // Ranges of 1 to 12 feet: the newest ten average 7.5.
    for (int k = 1; k <= 12; ++k)
        live.Send(Pd14(static_cast<uint16_t>(k), k, 12, 3048 * k));
    ASSERT_EQ(live.Tick(), 12);
    EXPECT_EQ(live.recorder->MovingAverageRow(columns),
              (std::vector<std::string>{"---", "Moving Avg.", FormatValue(7.5)}));
}

TEST(LiveRecorder, AMissingStationDirectoryWarnsOnceAndTheNextFileTakesEveryEnsemble)
{
    LiveLine live;
    const std::filesystem::path gone = live.dir / "removed medium";
    {
        // Point a fresh recorder at a folder that is not there.
        auto port = std::make_unique<CSerialPort>(&live.clock);
        CSimLine line;
        port->Attach(line.TakeHostEnd(), 9600);
        CEventLog log;
        SLiveRecorderSetup setup;
        setup.m_strStationDir = gone.string();
        setup.m_pClock = &live.clock;
        setup.m_pListener = &log;
        CLiveRecorder recorder(std::move(port), CStation(), setup);
        const Bytes e1 = Pd14(1), e2 = Pd14(2), e3 = Pd14(3);
        line.DeviceWrite(e1.data(), e1.size());
        line.DeviceWrite(e2.data(), e2.size());
        EXPECT_EQ(recorder.OnTick(), 2);
        EXPECT_EQ(log.warnings, std::vector<std::string>{CLiveRecorder::RECORDING_WARNING});
        EXPECT_EQ(recorder.List().GetCount(), 2u);
        EXPECT_EQ(recorder.RecordedCount(), 0u);

        // The medium is back: the next ensemble opens a file and the two kept ones go first.
        std::filesystem::create_directory(gone);
        line.DeviceWrite(e3.data(), e3.size());
        EXPECT_EQ(recorder.OnTick(), 1);
        EXPECT_EQ(log.warnings.size(), 1u);
        EXPECT_EQ(testsupport::ReadFileBytes(gone / "rt20261208.001"), Join({e1, e2, e3}));
        EXPECT_EQ(recorder.RecordedCount(), 3u);
        EXPECT_EQ(log.events.back(), "done 2 recorded");
    }
}

TEST(LiveRecorder, APortThatGoesAwayIsReportedOnceAndTheEnsemblesStay)
{
    LiveLine live;
    live.Send(Pd14(1));
    EXPECT_EQ(live.Tick(), 1);
    EXPECT_FALSE(live.recorder->IsPortLost());

    // The last ensemble still arrives; then the cable is pulled.
    live.Send(Pd14(2));
    live.line.Shutdown();
    EXPECT_EQ(live.Tick(), 1);
    EXPECT_TRUE(live.recorder->IsPortLost());
    EXPECT_EQ(live.log.lost, std::vector<std::string>{CLiveRecorder::PORT_LOST_MESSAGE});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(live.Tick(), 0);
    EXPECT_EQ(live.log.lost.size(), 1u);
    EXPECT_EQ(live.recorder->List().GetCount(), 2u);
    EXPECT_EQ(live.recorder->RecordedCount(), 2u);
}

TEST(LiveRecorder, ADeployedSimulatedUnitOnACompressedClock)
{
    // 30-second ensembles every half second: two per tick.
    SVelunitConfig config;
    config.m_nTimeCompression = 60;
    VelunitRig rig(config, false);
    auto port = std::make_unique<CSerialPort>(&rig.clock);
    ASSERT_TRUE(port->Attach(rig.line.TakeHostEnd(), 9600));
    ASSERT_TRUE(port->SendBreak(300));
    std::string banner, echo;
    ASSERT_TRUE(port->ReadUntil(banner, 2000, '>'));
    ASSERT_TRUE(port->Write("CS\n"));
    ASSERT_TRUE(port->ReadUntil(echo, 1000, '\n'));
    ASSERT_EQ(rig.Sim().State(), CVelunitSimulator::deployed);

    testsupport::TempDir dir;
    CEventLog log;
    SLiveRecorderSetup setup;
    setup.m_strStationDir = dir.Path().string();
    setup.m_pClock = &rig.clock;
    setup.m_pListener = &log;
    CLiveRecorder recorder(std::move(port), CStation(), setup);
    recorder.Start();
    for (int tick = 0; tick < 5; ++tick) {
        rig.clock.Advance(CLiveRecorder::TICK_MS);
        EXPECT_EQ(recorder.OnTick(), 2) << "tick " << tick;
    }
    const CEnsembleList& list = recorder.List();
    ASSERT_EQ(list.GetCount(), 10u);
    for (size_t i = 1; i < list.GetCount(); ++i) {
        EXPECT_EQ(list.GetValue(i, DATATYPE_NUMBER), list.GetValue(i - 1, DATATYPE_NUMBER) + 1);
        EXPECT_NEAR(list.GetValue(i, DATATYPE_DATETIME) - list.GetValue(i - 1, DATATYPE_DATETIME),
                    30.0 / 86400, 1e-6);
    }
    // The file holds, byte for byte, what the unit recorded from the first ensemble listened to.
    const Bytes file = testsupport::ReadFileBytes(dir / ListDataFiles(dir.Path().string()).at(0));
    const auto& card = rig.Sim().Recorder().Bytes();
    ASSERT_GE(card.size(), file.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), card.end() - static_cast<long>(file.size())));
    EXPECT_EQ(recorder.RecordedCount(), 10u);
}

} // namespace
