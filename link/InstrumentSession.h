#pragma once
// The conversation with one Velunit over an open serial port: wake-up by break, commands
// answered up to the prompt, the instrument queries, and the station's session log.
//
// On the wire (every command ends with a line feed, every answer with the prompt):
//   > PS0\n
//   < PS0\r\nFirmware: 51.40\r\nFrequency: 1228800\r\n...\r\n>
#include "data/DateTime.h"
#include "link/InstrumentSessionLog.h"
#include "link/SerialPort.h"

#include <string>

class CInstrumentSession
{
  public:
    static constexpr int kCommandTimeoutMs = 5000;

    // The port is borrowed and must outlive the session; its clock times the session too.
    explicit CInstrumentSession(CSerialPort* port);
    virtual ~CInstrumentSession();
    CInstrumentSession(const CInstrumentSession&) = delete;
    CInstrumentSession& operator=(const CInstrumentSession&) = delete;

    CSerialPort* Port() const { return m_pPort; }
    void SetStationDirectory(const std::string& dir) { m_strStationDir = dir; }
    const std::string& GetStationDirectory() const { return m_strStationDir; }

    // Session log. Opened for appending, never truncated; a log that cannot be opened or
    // written never stops the work, the session simply runs without it. Once open it
    // listens to the port, so commands others write there directly are logged too.
    bool OpenLog(const std::string& path);
    bool IsLogOpen() const { return m_log.IsOpen(); }
    void LogSection(const std::string& label);
    void LogText(const std::string& text);

    bool WakeUp();
    bool SendCommand(const std::string& command, std::string& reply, int timeoutMs = kCommandTimeoutMs);
    bool WaitForPrompt();
    bool SendRaw(const std::string& text);
    bool SendLine(const std::string& text);
    bool ReadAvailableByte(unsigned char& byte);

    // Queries. Firmware and frequency are cached until the next WakeUp.
    bool GetFirmware(std::string& firmware);
    int GetFrequency(); // 1, 2 or 3; -1 when it cannot be learnt
    bool GetSiteName(std::string& name);
    bool GetTime(CDateTime& time);
    bool SetTime(const CDateTime& time);
    bool Sleep();
    bool Restart();

    const std::string& FirmwareVersion() const { return m_strFirmware; }
    int FrequencyCode() const { return m_nFrequency; }

    // Reply parsers, open for the tests and the download.
    bool ParseSystem(const std::string& reply);
    static bool ParseTime(const std::string& reply, CDateTime& time);
    static int FrequencyCodeFromHz(long hz);

  private:
    bool SendAndReadLine(const std::string& command);
    bool ReadBanner();

    CSerialPort* m_pPort;
    std::string m_strFirmware;
    std::string m_strStationDir;
    int m_nFrequency = -1;
    CInstrumentSessionLog m_log;
};
