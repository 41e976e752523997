#pragma once
// The live recorder's tests: ensembles to send and the program's end of a line whose far end
// the test writes to.
#include "data/DataFiles.h"
#include "data/DataTypes.h"
#include "link/Clock.h"
#include "link/LiveRecorder.h"
#include "link/SimLine.h"
#include "sim/EnsembleEncoder.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline Bytes Pd14(uint16_t number, int second = 0, int month = 12, int32_t range = 12000)
{
    SPd14Values v;
    v.m_nNumber = number;
    v.m_nYear = 2026;
    v.m_nMonth = month;
    v.m_nDay = 8;
    v.m_nHour = 9;
    v.m_nMinute = 30;
    v.m_nSecond = second;
    v.m_nRange = range;
    for (int b = 0; b < 20; ++b) {
        v.m_velocityX.push_back(static_cast<int16_t>(400 + 5 * b));
        v.m_velocityY.push_back(static_cast<int16_t>(b - 10));
    }
    return EncodePd14Ensemble(v);
}

inline Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// What the view would be told, in order.
struct CEventLog : ILiveRecorderListener {
    void OnEnsembleAdded(size_t index) override { events.push_back("added " + std::to_string(index)); }
    void OnEnsembleDone(size_t index, bool recorded) override
    {
        events.push_back("done " + std::to_string(index) + (recorded ? " recorded" : " not recorded"));
    }
    void OnRecordingOpened(const std::string& path) override
    {
        events.push_back("opened " + std::filesystem::path(path).filename().string());
    }
    void OnRecordingWarning(const std::string& text) override { warnings.push_back(text); }
    void OnPortLost(const std::string& text) override { lost.push_back(text); }

    std::vector<std::string> events, warnings, lost;
};

// The program's end of a line whose far end the test writes to.
struct LiveLine {
    explicit LiveLine(const CStation& station = CStation(), RandomSource random = {})
    {
        auto port = std::make_unique<CSerialPort>(&clock);
        port->Attach(line.TakeHostEnd(), 9600);
        SLiveRecorderSetup setup;
        setup.m_strStationDir = dir.Path().string();
        setup.m_pClock = &clock;
        setup.m_random = std::move(random);
        setup.m_pListener = &log;
        recorder = std::make_unique<CLiveRecorder>(std::move(port), station, setup);
        recorder->Start();
    }
    void Send(const Bytes& bytes) { line.DeviceWrite(bytes.data(), bytes.size()); }
    int Tick()
    {
        clock.Advance(CLiveRecorder::TICK_MS);
        return recorder->OnTick();
    }
    // Everything the program sent down the line.
    Bytes Sent()
    {
        Bytes out;
        SLineItem item;
        while (line.DevicePoll(item))
            if (item.m_kind == SLineItem::byte)
                out.push_back(static_cast<uint8_t>(item.m_nValue));
        return out;
    }
    std::filesystem::path File(const std::string& name) const { return dir / name; }
    std::vector<std::string> Files() const { return ListDataFiles(dir.Path().string()); }
    double Value(size_t i, DataType type, int bin = 0) const
    {
        return recorder->List().GetValue(i, type, 0, bin);
    }

    testsupport::TempDir dir;
    CVirtualClock clock{CDateTime::FromParts(2026, 12, 8, 10, 0, 0)};
    CSimLine line;
    CEventLog log;
    std::unique_ptr<CLiveRecorder> recorder;
};
