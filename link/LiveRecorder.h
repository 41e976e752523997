#pragma once
// Live data from a deployed Velunit: the work of the real-time view's 1000 ms timer, without
// a window, so that the view and the headless recorder (tidewell-tool velunit listen) run the
// same code. Each tick drains what the port holds without waiting, cuts ensembles out of it,
// computes each with the settings in force at its time, keeps the valid ones and writes them,
// byte for byte as received, to the live recording file "rt" + date + ".NNN" in the station
// directory, which is opened at the first valid ensemble.
//
// It also holds the view's simulation mode (a three-key sequence, S I M, switches it; every
// tenth tick it makes up an ensemble, sends it out of the port and processes it as if it had
// been received) and the moving-average row of the view's table, so that the view only paints.
//
// Faults do not lose data silently: a recording file that cannot be opened or written is
// reported once (the ensembles stay in the list, and those not yet in a file go into the next
// file, tried at the next ensemble); a port that disappears is reported once and no longer
// read. One thread at a time; nothing here waits.
#include "data/DataFiles.h"
#include "data/EnsembleList.h"
#include "data/EnsembleReader.h"
#include "data/FlowSettingsTable.h"
#include "data/SeriesFormat.h"
#include "link/SerialPort.h"
#include "link/SimulatedEnsemble.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CStation;
class IClock;
class IPortOpener;

// Whoever shows the records: the real-time view, the tool's terminal, a test.
class ILiveRecorderListener
{
  public:
    virtual ~ILiveRecorderListener() = default;
    // A valid ensemble was appended at index of List(). The view adds it to its graphs and
    // table, makes it the current ensemble and redraws the panes for it. It is written to the
    // recording file right after this returns.
    virtual void OnEnsembleAdded(size_t index) = 0;
    // The same ensemble has been to the recording file: recorded says whether it (and every
    // earlier one) is now in a file. The view repaints the whole window here.
    virtual void OnEnsembleDone(size_t /*index*/, bool /*recorded*/) {}
    // A recording file was created; the path names it.
    virtual void OnRecordingOpened(const std::string& /*path*/) {}
    // Once per spell of trouble with the recording file (RECORDING_WARNING); a good write ends
    // the spell.
    virtual void OnRecordingWarning(const std::string& /*text*/) {}
    // Once, when the port stops answering (PORT_LOST_MESSAGE). Nothing is read from it again.
    virtual void OnPortLost(const std::string& /*text*/) {}
};

struct SLiveRecorderSetup {
    // Where the recording files go.
    std::string m_strStationDir;
    // Today's date for file names and simulated ensembles, and the port's clock; the
    // computer's when null. Not owned.
    IClock* m_pClock = nullptr;
    // Opens a port by name for the listening construction; the settings file and tty devices
    // when null. Not owned.
    IPortOpener* m_pOpener = nullptr;
    // The simulation's generator; the program's when empty.
    RandomSource m_random;
    // Not owned; may be set later with SetListener.
    ILiveRecorderListener* m_pListener = nullptr;
};

class CLiveRecorder
{
  public:
    static constexpr int TICK_MS = 1000;
    static constexpr int SIMULATION_INTERVAL_MS = 10000;
    static constexpr char SIMULATION_KEYS[3] = {'S', 'I', 'M'};
    static constexpr const char* RECORDING_WARNING =
        "Warning, the live recording file could not be written; the ensembles are kept and a new "
        "file will be tried with the next ensemble";
    static constexpr const char* PORT_LOST_MESSAGE = "Error, the connection to the instrument was lost";

    // Listening: opens the port ("COM n" or a device path) at 9600 baud; IsPortOpen says
    // whether that worked. The settings are taken from the station now (its own and its
    // calculation sets); later edits of the station do not reach the recorder.
    CLiveRecorder(const std::string& portName, const CStation& station, SLiveRecorderSetup setup);
    // Taking over a port that is already open (after programming); the recorder owns it now.
    CLiveRecorder(std::unique_ptr<CSerialPort> port, const CStation& station, SLiveRecorderSetup setup);
    // The same with the settings as a plain table and the display units (tests, benchmarks).
    CLiveRecorder(std::unique_ptr<CSerialPort> port, CFlowSettingsTable settings, const ViewUnits& units,
                  SLiveRecorderSetup setup);
    ~CLiveRecorder();
    CLiveRecorder(const CLiveRecorder&) = delete;
    CLiveRecorder& operator=(const CLiveRecorder&) = delete;

    void SetListener(ILiveRecorderListener* listener) { m_pListener = listener; }

    bool IsPortOpen() const { return m_bPortOpen; }
    bool IsPortLost() const { return m_bPortLost; }
    // The port, for attaching taps; null after Close.
    CSerialPort* Port() const { return m_pPort.get(); }

    // The window is up: drop whatever waited on the line before.
    void Start();
    // The timer: takes every byte waiting, processes every complete ensemble in arrival order
    // and returns how many valid ensembles were added.
    int OnTick();
    // A key typed in the view (before the view's own key handling). Letters count in either
    // case. True when it completed the sequence and switched simulation mode; the count then
    // starts again, so that later keys do not switch it back.
    bool OnKey(int key);
    bool IsSimulating() const { return m_bSimulate; }
    // The window closes: the port and the recording file are closed; the list stays.
    void Close();

    const CEnsembleList& List() const { return m_list; }
    const ViewUnits& Units() const { return m_units; }

    // The second header row of the real-time table, one text per column: "---" under
    // "Number", "Moving Avg." under "Date/Time", and for every other column the average of up
    // to its ten newest displayed values (empty when there is none).
    std::vector<std::string> MovingAverageRow(const std::vector<DataType>& columns) const;

    bool IsRecording() const { return m_pRecordFile != nullptr; }
    // Every recording file created, in order (the last is the one open, if any).
    const std::vector<std::string>& RecordingFiles() const { return m_arrRecordingFiles; }
    // How many of the list's ensembles are in a recording file.
    size_t RecordedCount() const { return m_nFirstUnwritten; }

  private:
    void Init(const SLiveRecorderSetup& setup);
    bool TakeByte(unsigned char& byte);
    void SendSimulatedEnsemble();
    void ProcessEnsemble();
    bool Record();
    void WriteFailed();
    void Warn();
    void CheckPortLost();

    IClock* m_pClock = nullptr;
    RandomSource m_random;
    ILiveRecorderListener* m_pListener = nullptr;
    std::string m_strStationDir;
    CFlowSettingsTable m_settings;
    ViewUnits m_units{};
    CEnsembleList m_list;

    std::unique_ptr<CSerialPort> m_pPort;
    CEnsembleReader m_reader;
    FilePtr m_pRecordFile;
    bool m_bPortOpen = false;
    bool m_bPortLost = false;
    int m_nKeyCount = 0;
    int m_nSimTime = 0;
    bool m_bSimulate = false;

    std::vector<std::string> m_arrRecordingFiles;
    size_t m_nFirstUnwritten = 0; // list index of the first ensemble in no file yet
    size_t m_nInFile = 0;         // ensembles written whole to the open file
    bool m_bWarned = false;
};
