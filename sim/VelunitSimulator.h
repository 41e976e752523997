#pragma once
// A stand-in for the Velunit as the program uses it. Fed the line's bytes and events, it
// answers through a send function, on the clock it was given:
//
//   asleep --break--> banner, prompt: command mode
//   command mode: every line echoed and answered, the answer ended by ">"; "ERR" for what
//     it does not know or refuses. PC2 streams readings once a second until a key;
//     cz sleeps; CS deploys (an ensemble each sample interval until a break);
//     MY sends the recorder as a batch transfer; CB changes the baud after answering.
//
// Not thread-safe: one driver feeds it (CVelunitLineDriver, CVelunitPtyServer).
#include "link/Clock.h"
#include "sim/VelunitConfig.h"
#include "sim/VelunitRecorder.h"

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>

class CVelunitSimulator
{
  public:
    enum EState { asleep, command, orientation, deployed, transfer, silent };
    static constexpr int64_t kNever = INT64_MAX;

    using SendFunction = std::function<void(const std::string& bytes)>;

    CVelunitSimulator(IClock& clock, SVelunitConfig config, SendFunction send);

    void OnBreak(); // a break on the line (or what stands for one)
    void OnByte(unsigned char byte);
    void Service();            // sends whatever has come due on the clock
    int64_t NextDueMs() const; // when Service has something to do next, or kNever

    EState State() const { return m_eState; }
    int Baud() const { return m_nBaud; }
    const std::string& SiteName() const { return m_strSiteName; }
    // A setting as the last command set it ("WN" -> "25"), empty when unknown.
    std::string Setting(const std::string& mnemonic) const;
    CDateTime InstrumentTime();
    const CVelunitRecorder& Recorder() const { return m_recorder; }
    // Every command line received, in order (for tests and the console trace).
    const std::vector<std::string>& Received() const { return m_arrReceived; }

  private:
    void Send(const std::string& text);
    void Answer(const std::string& line, const std::string& body);
    void Refuse(const std::string& line, const std::string& why);
    void HandleLine(const std::string& line);
    bool HandleSetting(const std::string& line, const std::string& mnemonic, const std::string& value);
    bool QuerySetting(const std::string& line, const std::string& mnemonic);
    void StartTransfer(const std::string& line);

    // One entry of the command table: false from a handler means the value does not fit.
    using Handler = bool (CVelunitSimulator::*)(const std::string& line, const std::string& value);
    struct SCommand {
        const char* m_szMnemonic;
        bool m_bQuery; // the "xx?" form
        Handler m_handler;
    };
    static const SCommand kCommands[];

    bool QuerySiteName(const std::string& line, const std::string& value);
    bool QueryTime(const std::string& line, const std::string& value);
    bool CmdSystem(const std::string& line, const std::string& value);
    bool CmdSelfTest(const std::string& line, const std::string& value);
    bool CmdOrientation(const std::string& line, const std::string& value);
    bool CmdZeroPressure(const std::string& line, const std::string& value);
    bool CmdSleep(const std::string& line, const std::string& value);
    bool CmdDeploy(const std::string& line, const std::string& value);
    bool CmdKeep(const std::string& line, const std::string& value);
    bool CmdRestore(const std::string& line, const std::string& value);
    bool CmdBaud(const std::string& line, const std::string& value);
    bool CmdErase(const std::string& line, const std::string& value);
    bool CmdTransfer(const std::string& line, const std::string& value);
    bool CmdSiteName(const std::string& line, const std::string& value);
    bool CmdTimeSet(const std::string& line, const std::string& value);
    std::string SystemReport();
    std::string Reading();
    void SendEnsemble();
    int SampleIntervalSeconds() const;
    int IntSetting(const std::string& mnemonic, int fallback) const;
    void FactoryDefaults();

    IClock& m_clock;
    SVelunitConfig m_config;
    SendFunction m_send;
    CVelunitRecorder m_recorder;
    std::mt19937 m_noise;

    EState m_eState = asleep;
    int m_nBaud = 9600;
    std::string m_strSiteName;
    std::map<std::string, std::string> m_settings;
    std::map<std::string, std::string> m_savedSettings; // "CK"
    double m_dClockOffsetDays = 0.0;                    // instrument clock minus the computer's
    double m_dPressureOffsetKPa = 0.0;
    std::string m_strLine;
    bool m_bLastWasCR = false;
    std::vector<std::string> m_arrReceived;

    int64_t m_nBannerDueMs = kNever;
    int64_t m_nReadingDueMs = kNever;
    int m_nReadings = 0;
    int64_t m_nEnsembleDueMs = kNever;
    int m_nEnsembleNumber = 0;
    CDateTime m_dtDeployStart;
    std::unique_ptr<IVelunitTransfer> m_pTransfer;
    bool m_bTransferArmed = false; // "MY" answered, waiting for the receiver's "C"
};
