#include "link/LiveRecorder.h"

#include "data/FormatValue.h"
#include "data/MovingAverage.h"
#include "link/Clock.h"
#include "platform/Utf8Path.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace
{

ViewUnits UnitsOf(const CStation& station)
{
    return {station.GetStageUnits(),  station.GetVelocityUnits(),    station.GetFlowUnits(),
            station.GetVolumeUnits(), station.GetTemperatureUnits(), station.GetAreaUnits()};
}

constexpr int LISTEN_BAUD = 9600;

} // namespace

CLiveRecorder::CLiveRecorder(const std::string& portName, const CStation& station, SLiveRecorderSetup setup)
    : m_settings(FlowSettingsTableOf(station)), m_units(UnitsOf(station))
{
    Init(setup);
    m_pPort = std::make_unique<CSerialPort>(m_pClock, setup.m_pOpener);
    m_bPortOpen = m_pPort->Open(portName, LISTEN_BAUD);
}

CLiveRecorder::CLiveRecorder(std::unique_ptr<CSerialPort> port, const CStation& station,
                             SLiveRecorderSetup setup)
    : CLiveRecorder(std::move(port), FlowSettingsTableOf(station), UnitsOf(station), std::move(setup))
{
}

CLiveRecorder::CLiveRecorder(std::unique_ptr<CSerialPort> port, CFlowSettingsTable settings,
                             const ViewUnits& units, SLiveRecorderSetup setup)
    : m_settings(std::move(settings)), m_units(units), m_pPort(std::move(port))
{
    Init(setup);
    // Handed over open; a port that is not is simply never read.
    m_bPortOpen = m_pPort != nullptr;
}

CLiveRecorder::~CLiveRecorder() = default;

void CLiveRecorder::Init(const SLiveRecorderSetup& setup)
{
    m_pClock = setup.m_pClock ? setup.m_pClock : &CSystemClock::Instance();
    m_random = setup.m_random ? setup.m_random : ProgramRandom();
    m_pListener = setup.m_pListener;
    m_strStationDir = setup.m_strStationDir;
    m_reader.Reset();
}

void CLiveRecorder::Start()
{
    if (m_pPort)
        m_pPort->Flush();
}

void CLiveRecorder::Close()
{
    if (m_pPort)
        m_pPort->Close();
    m_pRecordFile.reset();
}

bool CLiveRecorder::TakeByte(unsigned char& byte)
{
    // A lost port is not asked again: on a removed device every call would fail at once,
    // and the timer would only burn time on it.
    if (!m_bPortOpen || m_bPortLost || !m_pPort)
        return false;
    return m_pPort->ReadByteIfAvailable(byte);
}

int CLiveRecorder::OnTick()
{
    bool simulationDue = false;
    if (m_bSimulate) {
        m_nSimTime += TICK_MS;
        if (m_nSimTime >= SIMULATION_INTERVAL_MS) {
            m_nSimTime = 0;
            simulationDue = true;
        }
    }
    const size_t before = m_list.GetCount();
    for (;;) {
        unsigned char byte = 0;
        const bool taken = TakeByte(byte);
        if (!taken && !simulationDue)
            break;
        if (taken)
            m_reader.AddByte(byte);
        if (simulationDue) {
            simulationDue = false;
            SendSimulatedEnsemble();
        }
        if (m_reader.HasEnsemble()) {
            ProcessEnsemble();
            m_reader.Reset();
        }
    }
    CheckPortLost();
    return static_cast<int>(m_list.GetCount() - before);
}

void CLiveRecorder::SendSimulatedEnsemble()
{
    // Built straight into the framer (whatever it held is dropped), then sent out of the
    // port as an instrument would have sent it; a failed write changes nothing here.
    if (!BuildSimulatedEnsemble(m_reader, m_pClock->LocalNow(), m_random))
        return;
    if (!m_pPort || !m_pPort->IsOpen())
        return;
    for (int i = 0; i < m_reader.GetSize(); ++i)
        m_pPort->WriteByte(m_reader.GetByte(i));
}

void CLiveRecorder::ProcessEnsemble()
{
    // Computed with the station's own settings, then again with the calculation set in
    // force when the time stamp names one.
    const auto ensemble =
        BuildEnsembleAt(m_settings, m_reader.GetBytes(), static_cast<size_t>(m_reader.GetSize()));
    if (!ensemble || !ensemble->IsValid())
        return;
    m_list.Add(*ensemble);
    const size_t index = m_list.GetCount() - 1;
    if (m_pListener)
        m_pListener->OnEnsembleAdded(index);
    const bool recorded = Record();
    if (m_pListener)
        m_pListener->OnEnsembleDone(index, recorded);
}

bool CLiveRecorder::Record()
{
    if (!m_pRecordFile) {
        std::string path;
        m_pRecordFile = OpenRecordingFile(m_strStationDir, m_pClock->LocalNow(), &path);
        if (!m_pRecordFile) {
            Warn();
            return false;
        }
        m_nInFile = 0;
        m_arrRecordingFiles.push_back(path);
        if (m_pListener)
            m_pListener->OnRecordingOpened(path);
    }
    // Ensembles that found no file earlier go first, so that the files together hold every
    // ensemble in the order received.
    while (m_nFirstUnwritten < m_list.GetCount()) {
        if (!m_list.GetAt(m_nFirstUnwritten).WriteTo(m_pRecordFile.get())) {
            WriteFailed();
            return false;
        }
        ++m_nFirstUnwritten;
        ++m_nInFile;
    }
    m_bWarned = false;
    return true;
}

void CLiveRecorder::WriteFailed()
{
    m_pRecordFile.reset();
    // A file that took no whole ensemble holds nothing worth keeping (on a full disk it would
    // otherwise leave an empty file per attempt).
    if (m_nInFile == 0 && !m_arrRecordingFiles.empty()) {
        std::error_code ec;
        std::filesystem::remove(PathFromUtf8(m_arrRecordingFiles.back()), ec);
        m_arrRecordingFiles.pop_back();
    }
    Warn();
}

void CLiveRecorder::Warn()
{
    if (m_bWarned)
        return;
    m_bWarned = true;
    if (m_pListener)
        m_pListener->OnRecordingWarning(RECORDING_WARNING);
}

void CLiveRecorder::CheckPortLost()
{
    if (!m_bPortOpen || m_bPortLost || !m_pPort)
        return;
    if (m_pPort->Available() >= 0)
        return;
    m_bPortLost = true;
    if (m_pListener)
        m_pListener->OnPortLost(PORT_LOST_MESSAGE);
}

bool CLiveRecorder::OnKey(int key)
{
    if (key >= 0 && key <= 255)
        key = std::toupper(key);
    if (key == SIMULATION_KEYS[0] && m_nKeyCount == 0)
        m_nKeyCount = 1;
    else if (key == SIMULATION_KEYS[1] && m_nKeyCount == 1)
        m_nKeyCount = 2;
    else if (key == SIMULATION_KEYS[2] && m_nKeyCount == 2)
        m_nKeyCount = 3;
    if (m_nKeyCount != 3)
        return false;
    m_nKeyCount = 0;
    m_bSimulate = !m_bSimulate;
    // Due at the very next tick, then every tenth.
    if (m_bSimulate)
        m_nSimTime = SIMULATION_INTERVAL_MS;
    return true;
}

std::vector<std::string> CLiveRecorder::MovingAverageRow(const std::vector<DataType>& columns) const
{
    std::vector<std::string> row;
    row.reserve(columns.size());
    // The table's rows: the title, this row, then one per ensemble.
    const size_t rows = m_list.GetCount() + 2;
    for (const DataType type : columns) {
        if (type == DATATYPE_NUMBER) {
            row.emplace_back("---");
            continue;
        }
        if (type == DATATYPE_DATETIME) {
            row.emplace_back("Moving Avg.");
            continue;
        }
        const double average = MovingAverage(rows, [&](size_t r, std::string& text) {
            const double value = m_list.GetValue(r - 2, type);
            if (IsNoData(value))
                return false; // an empty cell
            text = FormatSeriesValue(value, type, m_units);
            return true;
        });
        row.push_back(FormatValue(average));
    }
    return row;
}
