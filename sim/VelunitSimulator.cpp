#include "sim/VelunitSimulator.h"

#include "sim/VelunitEnsembles.h"
#include "sim/YmodemSender.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace
{

struct SDefault {
    const char* m_szMnemonic;
    const char* m_szValue;
};

// The unit's factory settings: the same values the program's default command list sends.
const SDefault kFactory[] = {{"WP", "1"},        {"WF", "50"},       {"WN", "25"},    {"WS", "100"},
                             {"TP", "00:00.50"}, {"TE", "00003000"}, {"VP", "3"},     {"EZ", "1101101"},
                             {"EX", "01010"},    {"ES", "0"},        {"CF", "11110"}, {"CT", "1"},
                             {"MR", "1"},        {"PD", "14"}};

bool AllDigits(const std::string& s, size_t minLen, size_t maxLen)
{
    if (s.size() < minLen || s.size() > maxLen)
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

bool DigitsIn(const std::string& s, size_t len, char highest)
{
    if (s.size() != len)
        return false;
    for (char c : s)
        if (c < '0' || c > highest)
            return false;
    return true;
}

bool IntIn(const std::string& s, int low, int high)
{
    if (!AllDigits(s, 1, 6))
        return false;
    int v = std::atoi(s.c_str());
    return v >= low && v <= high;
}

// "mm:ss.hh" or "hh:mm:ss.hh"; the digits-only forms of the same lengths too.
bool IsTimeSpan(const std::string& s, bool withHours)
{
    const std::string pattern = withHours ? "dd:dd:dd.dd" : "dd:dd.dd";
    if (AllDigits(s, withHours ? 8 : 6, withHours ? 8 : 6))
        return true;
    if (s.size() != pattern.size())
        return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (pattern[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(s[i])) : s[i] != pattern[i])
            return false;
    return true;
}

bool IsValidSetting(const std::string& m, const std::string& v)
{
    if (m == "WP")
        return IntIn(v, 0, 16384);
    if (m == "WF")
        return IntIn(v, 0, 9999);
    if (m == "WN")
        return IntIn(v, 1, 128);
    if (m == "WS")
        return IntIn(v, 1, 9999);
    if (m == "TP")
        return IsTimeSpan(v, false);
    if (m == "TE")
        return IsTimeSpan(v, true);
    if (m == "VP")
        return IntIn(v, 0, 9);
    if (m == "EZ")
        return DigitsIn(v, 7, '2');
    if (m == "EX" || m == "CF")
        return DigitsIn(v, 5, '1');
    if (m == "ES")
        return IntIn(v, 0, 40);
    if (m == "CT" || m == "MR")
        return v == "0" || v == "1";
    if (m == "PD")
        return v == "0" || v == "14";
    return false;
}

bool Matches(const std::string& line, const std::string& fault)
{
    return !fault.empty() && line.compare(0, fault.size(), fault) == 0;
}

std::string Upper(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

CVelunitSimulator::CVelunitSimulator(IClock& clock, SVelunitConfig config, SendFunction send)
    : m_clock(clock), m_config(std::move(config)), m_send(std::move(send)),
      m_recorder(m_config.m_strRecorderPath), m_noise(m_config.m_nNoiseSeed),
      m_strSiteName(m_config.m_strSiteName)
{
    FactoryDefaults();
    m_savedSettings = m_settings;
    if (!m_config.m_ensembleSource)
        m_config.m_ensembleSource = MakeVelunitEnsemble;
    if (!m_config.m_transferFactory)
        m_config.m_transferFactory = CYmodemSender::Factory({}, &m_clock);
}

void CVelunitSimulator::FactoryDefaults()
{
    m_settings.clear();
    for (const auto& d : kFactory)
        m_settings[d.m_szMnemonic] = d.m_szValue;
}

std::string CVelunitSimulator::Setting(const std::string& mnemonic) const
{
    auto it = m_settings.find(mnemonic);
    return it == m_settings.end() ? std::string() : it->second;
}

int CVelunitSimulator::IntSetting(const std::string& mnemonic, int fallback) const
{
    std::string v = Setting(mnemonic);
    return v.empty() ? fallback : std::atoi(v.c_str());
}

CDateTime CVelunitSimulator::InstrumentTime()
{
    return CDateTime(m_clock.LocalNow().m_dt + m_dClockOffsetDays);
}

void CVelunitSimulator::Send(const std::string& text)
{
    if (m_config.m_dNoiseRate <= 0.0) {
        m_send(text);
        return;
    }
    std::string noisy = text;
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    for (auto& c : noisy)
        if (chance(m_noise) < m_config.m_dNoiseRate)
            c = static_cast<char>(m_noise() & 0xFF);
    m_send(noisy);
}

void CVelunitSimulator::Answer(const std::string& line, const std::string& body)
{
    Send(line + "\r\n" + body + ">");
}

void CVelunitSimulator::Refuse(const std::string& line, const std::string& why)
{
    Answer(line, "ERR " + why + "\r\n");
}

void CVelunitSimulator::OnBreak()
{
    // A break ends whatever the unit was doing, deployed or asleep alike.
    m_pTransfer.reset();
    m_bTransferArmed = false;
    m_nReadingDueMs = kNever;
    m_nEnsembleDueMs = kNever;
    m_strLine.clear();
    m_eState = command;
    m_nBaud = 9600;
    m_nBannerDueMs = m_clock.NowMs() + m_config.m_nWakeDelayMs;
}

void CVelunitSimulator::OnByte(unsigned char byte)
{
    switch (m_eState) {
    case asleep:
    case deployed:
    case silent:
        return; // nothing but a break reaches the unit now
    case transfer:
        if (m_pTransfer) {
            m_pTransfer->OnByte(byte);
            if (m_pTransfer->Finished()) {
                m_pTransfer.reset();
                m_eState = command;
                Send("\r\n>");
            }
        } else if (m_bTransferArmed && byte == 'C') {
            m_bTransferArmed = false;
            std::string name = m_strSiteName + ".000";
            m_pTransfer = m_config.m_transferFactory(name, m_recorder.Bytes(),
                                                     [this](const std::string& bytes) { Send(bytes); });
            m_pTransfer->OnByte(byte);
        }
        return;
    case orientation:
        // Any key ends the loop.
        m_nReadingDueMs = kNever;
        m_eState = command;
        Send("\r\n>");
        return;
    case command:
        break;
    }
    if (byte == '\n' && m_bLastWasCR) {
        m_bLastWasCR = false;
        return;
    }
    m_bLastWasCR = byte == '\r';
    if (byte == '\r' || byte == '\n') {
        std::string line;
        line.swap(m_strLine);
        m_arrReceived.push_back(line);
        HandleLine(line);
        return;
    }
    if (m_strLine.size() < 256)
        m_strLine.push_back(static_cast<char>(byte));
}

// Commands by mnemonic; the query forms ("mn?") have entries of their own. A handler that
// returns false found the value not fitting and the line is then an unknown command, as is
// a mnemonic with no entry that is not one of the settings either.
const CVelunitSimulator::SCommand CVelunitSimulator::kCommands[] = {
    {"MN", true, &CVelunitSimulator::QuerySiteName},    // mn?: the site name
    {"TS", true, &CVelunitSimulator::QueryTime},        // ts?: the clock
    {"PS", false, &CVelunitSimulator::CmdSystem},       // PS0: system report
    {"PA", false, &CVelunitSimulator::CmdSelfTest},     // pre-deployment tests
    {"PC", false, &CVelunitSimulator::CmdOrientation},  // PC2: readings until a key
    {"SZ", false, &CVelunitSimulator::CmdZeroPressure}, // zero the pressure sensor
    {"CZ", false, &CVelunitSimulator::CmdSleep},        // sleep
    {"CS", false, &CVelunitSimulator::CmdDeploy},       // start sampling
    {"CK", false, &CVelunitSimulator::CmdKeep},         // keep the settings as user defaults
    {"CR", false, &CVelunitSimulator::CmdRestore},      // CR0 user, CR1 factory defaults
    {"CB", false, &CVelunitSimulator::CmdBaud},         // CB 411..711
    {"ME", false, &CVelunitSimulator::CmdErase},        // ME ErAsE
    {"MY", false, &CVelunitSimulator::CmdTransfer},     // send the recorder
    {"MN", false, &CVelunitSimulator::CmdSiteName},     // MN name
    {"TS", false, &CVelunitSimulator::CmdTimeSet},      // TS yy/mm/dd,hh:mm:ss
};

void CVelunitSimulator::HandleLine(const std::string& line)
{
    if (Matches(line, m_config.m_strSilentFrom)) {
        m_eState = silent;
        return;
    }
    if (Matches(line, m_config.m_strErrOn)) {
        Refuse(line, "010: command refused");
        return;
    }
    if (line.empty()) {
        Send("\r\n>");
        return;
    }
    const std::string mnemonic = Upper(line.substr(0, 2));
    size_t at = 2;
    while (at < line.size() && line[at] == ' ')
        ++at;
    const std::string value = line.substr(at < line.size() ? at : line.size());
    const bool query = value == "?";

    for (const auto& command : kCommands) {
        if (command.m_bQuery == query && mnemonic == command.m_szMnemonic) {
            if ((this->*command.m_handler)(line, value))
                return;
            break;
        }
    }
    if (!(query ? QuerySetting(line, mnemonic) : HandleSetting(line, mnemonic, value)))
        Refuse(line, "001: unknown command");
}

bool CVelunitSimulator::QuerySiteName(const std::string& line, const std::string&)
{
    Answer(line, "MN " + m_strSiteName + "\r\n");
    return true;
}

bool CVelunitSimulator::QueryTime(const std::string& line, const std::string&)
{
    const std::string time = m_config.m_strTimeReply.empty() ? InstrumentTime().Format("TS %y/%m/%d,%H:%M:%S")
                                                             : m_config.m_strTimeReply;
    Answer(line, time + "\r\n");
    return true;
}

bool CVelunitSimulator::QuerySetting(const std::string& line, const std::string& mnemonic)
{
    auto it = m_settings.find(mnemonic);
    if (it == m_settings.end())
        return false;
    Answer(line, mnemonic + " " + it->second + "\r\n");
    return true;
}

bool CVelunitSimulator::CmdSystem(const std::string& line, const std::string& value)
{
    if (value != "0")
        return false;
    Answer(line, SystemReport());
    return true;
}

bool CVelunitSimulator::CmdSelfTest(const std::string& line, const std::string& value)
{
    if (!value.empty())
        return false;
    Answer(line, "Pre-deployment tests\r\n  RAM..................PASS\r\n  ROM..................PASS\r\n"
                 "  Recorder.............PASS\r\n  Receiver.............PASS\r\n"
                 "  Sensors..............PASS\r\n");
    return true;
}

bool CVelunitSimulator::CmdOrientation(const std::string& line, const std::string& value)
{
    if (value != "2")
        return false;
    Send(line + "\r\nPress any key to exit the loop.\r\n");
    m_eState = orientation;
    m_nReadingDueMs = m_clock.NowMs() + 1000;
    return true;
}

bool CVelunitSimulator::CmdZeroPressure(const std::string& line, const std::string& value)
{
    if (!value.empty())
        return false;
    m_dPressureOffsetKPa = 0.012;
    Answer(line, "Pressure sensor zeroed\r\n");
    return true;
}

// Sleep and deploy answer with the echo alone: the unit stops listening.
bool CVelunitSimulator::CmdSleep(const std::string& line, const std::string& value)
{
    if (!value.empty())
        return false;
    Send(line + "\r\n");
    m_eState = asleep;
    return true;
}

bool CVelunitSimulator::CmdDeploy(const std::string& line, const std::string& value)
{
    if (!value.empty())
        return false;
    Send(line + "\r\n");
    m_eState = deployed;
    m_nEnsembleNumber = 0;
    m_dtDeployStart = InstrumentTime();
    int64_t interval = SampleIntervalSeconds() * 1000LL / std::max(1, m_config.m_nTimeCompression);
    m_nEnsembleDueMs = m_clock.NowMs() + std::max<int64_t>(1, interval);
    return true;
}

bool CVelunitSimulator::CmdKeep(const std::string& line, const std::string& value)
{
    if (!value.empty())
        return false;
    m_savedSettings = m_settings;
    Answer(line, "[Parameters saved as USER defaults]\r\n");
    return true;
}

bool CVelunitSimulator::CmdRestore(const std::string& line, const std::string& value)
{
    if (value != "0" && value != "1")
        return false;
    if (value == "1")
        FactoryDefaults();
    else
        m_settings = m_savedSettings;
    Answer(line, value == "1" ? "[Parameters set to FACTORY defaults]\r\n"
                              : "[Parameters set to USER defaults]\r\n");
    return true;
}

bool CVelunitSimulator::CmdBaud(const std::string& line, const std::string& value)
{
    static const std::map<std::string, int> kRates = {
        {"411", 9600}, {"511", 19200}, {"611", 38400}, {"711", 57600}};
    auto rate = kRates.find(value);
    if (rate == kRates.end()) {
        Refuse(line, "002: bad parameter");
        return true;
    }
    Answer(line, "");
    m_nBaud = rate->second; // the answer went at the old rate
    return true;
}

bool CVelunitSimulator::CmdErase(const std::string& line, const std::string& value)
{
    if (value != "ErAsE") {
        Refuse(line, "002: bad parameter");
        return true;
    }
    m_recorder.Erase();
    Answer(line, "Recorder erased.\r\n");
    return true;
}

bool CVelunitSimulator::CmdTransfer(const std::string& line, const std::string& value)
{
    if (!value.empty())
        return false;
    StartTransfer(line);
    return true;
}

bool CVelunitSimulator::CmdSiteName(const std::string& line, const std::string& value)
{
    bool ok = !value.empty() && value.size() <= 32;
    for (char c : value)
        ok = ok && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
    if (!ok) {
        Refuse(line, "002: bad parameter");
        return true;
    }
    m_strSiteName = value;
    Answer(line, "");
    return true;
}

bool CVelunitSimulator::HandleSetting(const std::string& line, const std::string& mnemonic,
                                      const std::string& value)
{
    if (!m_settings.count(mnemonic))
        return false;
    if (!IsValidSetting(mnemonic, value))
        Refuse(line, "002: bad parameter");
    else {
        m_settings[mnemonic] = value;
        Answer(line, "");
    }
    return true;
}

// > TS 26/12/08,19:23:00
bool CVelunitSimulator::CmdTimeSet(const std::string& line, const std::string& value)
{
    int y, mo, d, h, mi, s;
    char tail;
    if (std::sscanf(value.c_str(), "%d/%d/%d,%d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) {
        Refuse(line, "002: bad parameter");
        return true;
    }
    CDateTime t = CDateTime::FromParts(y < 80 ? 2000 + y : 1900 + y, mo, d, h, mi, s);
    if (!t.IsValid()) {
        Refuse(line, "002: bad parameter");
        return true;
    }
    m_dClockOffsetDays = t.m_dt - m_clock.LocalNow().m_dt;
    Answer(line, "");
    return true;
}

void CVelunitSimulator::StartTransfer(const std::string& line)
{
    if (!m_config.m_transferFactory) {
        Refuse(line, "020: transfer not available");
        return;
    }
    // Straight into the batch send after the echo: the receiver reads up to the "Y" of
    // the echo and then asks with "C".
    Send(line);
    m_eState = transfer;
    m_bTransferArmed = true;
}

std::string CVelunitSimulator::SystemReport()
{
    char text[512];
    std::snprintf(text, sizeof text,
                  "Horizontal ADCP\r\nFirmware: %s\r\nFrequency: %ld\r\nSerial Number: %s\r\n"
                  "Recorder: %zu bytes used\r\n",
                  m_config.m_strFirmware.c_str(), m_config.m_nFrequencyHz, m_config.m_strSerial.c_str(),
                  m_recorder.Bytes().size());
    return text;
}

std::string CVelunitSimulator::Reading()
{
    // Temperature, pressure (kPa and metres of water), pitch and roll wander a little.
    ++m_nReadings;
    double wobble = (m_nReadings % 7) * 0.01;
    double kPa = 0.012 + wobble - m_dPressureOffsetKPa;
    char text[128];
    std::snprintf(text, sizeof text, "%c%9.2f %10.3f %9.3f %10.2f %9.2f\r", m_nReadings % 2 ? '/' : '\\',
                  21.35 + wobble, kPa, kPa / 9.80665, -0.50 + wobble, 0.84 - wobble);
    return text;
}

int CVelunitSimulator::SampleIntervalSeconds() const
{
    // "TE" hh:mm:ss.hh, or its eight digits: whole seconds count, at least one.
    std::string digits;
    for (char c : Setting("TE"))
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits.push_back(c);
    if (digits.size() != 8)
        return 30;
    int seconds = std::atoi(digits.substr(0, 2).c_str()) * 3600 +
                  std::atoi(digits.substr(2, 2).c_str()) * 60 + std::atoi(digits.substr(4, 2).c_str());
    return std::max(1, seconds);
}

void CVelunitSimulator::SendEnsemble()
{
    SVelunitEnsembleParams params;
    params.m_nFormat = IntSetting("PD", 14) == 0 ? 0 : 14;
    params.m_nNumber = ++m_nEnsembleNumber;
    params.m_dtTime = CDateTime(m_dtDeployStart.m_dt + params.m_nNumber * SampleIntervalSeconds() / 86400.0);
    params.m_nBins = IntSetting("WN", 25);
    params.m_nBinSizeCm = IntSetting("WS", 100);
    params.m_nBlankCm = IntSetting("WF", 50);
    std::vector<unsigned char> bytes = m_config.m_ensembleSource(params);
    if (IntSetting("MR", 1) != 0)
        m_recorder.Append(bytes);
    Send(std::string(bytes.begin(), bytes.end()));
}

void CVelunitSimulator::Service()
{
    int64_t now = m_clock.NowMs();
    if (now >= m_nBannerDueMs) {
        m_nBannerDueMs = kNever;
        Send("\r\n\r\nHorizontal ADCP\r\nVersion: " + m_config.m_strFirmware + "\r\nSimulated unit, serial " +
             m_config.m_strSerial + "\r\n\r\n>");
    }
    while (m_eState == orientation && now >= m_nReadingDueMs) {
        Send(Reading());
        m_nReadingDueMs += 1000;
    }
    int64_t interval =
        std::max<int64_t>(1, SampleIntervalSeconds() * 1000LL / std::max(1, m_config.m_nTimeCompression));
    while (m_eState == deployed && now >= m_nEnsembleDueMs) {
        SendEnsemble();
        m_nEnsembleDueMs += interval;
    }
}

int64_t CVelunitSimulator::NextDueMs() const
{
    int64_t next = m_nBannerDueMs;
    if (m_eState == orientation)
        next = std::min(next, m_nReadingDueMs);
    if (m_eState == deployed)
        next = std::min(next, m_nEnsembleDueMs);
    return next;
}
