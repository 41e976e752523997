#include "present/CommunicationsController.h"

#include "platform/SettingsStore.h"
#include "platform/Utf8Path.h"
#include "settings/Profiling.h"
#include "station/Station.h"

#include <algorithm>

namespace
{

constexpr int kOpenBaud = 9600;
const char* const kTimeFormat = "%Y/%m/%d %H:%M:%S";

std::string FrequencyText(int code)
{
    if (code == 3)
        return "1200 KHz";
    if (code == 2)
        return "600 KHz";
    return "300 KHz";
}

} // namespace

CCommunicationsController::CCommunicationsController(CStation& station, IStatusView& status,
                                                     ICommunicationsView& view, IDispatcher& dispatcher,
                                                     SCommunicationsSetup setup)
    : m_station(station), m_status(status), m_view(view), m_dispatcher(dispatcher), m_setup(std::move(setup)),
      m_clock(m_setup.m_pClock ? *m_setup.m_pClock : CSystemClock::Instance())
{
    if (m_setup.m_strSiteDir.empty()) {
        CSettingsStore store;
        store.Load();
        m_setup.m_strSiteDir = store.GetStationDir();
    }
}

CCommunicationsController::~CCommunicationsController()
{
    // The worker, if any, ends before the session and port it uses.
    m_pDownload.reset();
    m_pEngine.reset();
}

bool CCommunicationsController::OpenPort(int portNumber)
{
    m_nPortNumber = portNumber;
    return OpenPort("COM " + std::to_string(portNumber));
}

bool CCommunicationsController::OpenPort(const std::string& portName)
{
    m_pPort = std::make_unique<CSerialPort>(&m_clock, m_setup.m_pOpener);
    if (!m_pPort->Open(portName, kOpenBaud)) {
        // The fixed text, and the system's reason on a line of its own where it is known.
        const std::string& reason = m_pPort->OpenError();
        const std::string second = reason.empty() ? std::string() : "\n" + reason;
        int number = 0;
        if (ParseComPortName(portName, number))
            m_status.ShowMessage("Error, could not COM " + std::to_string(number) +
                                 "!  Please verify port is not in use." + second);
        else
            m_status.ShowMessage("Error, could not open " + portName +
                                 "!  Please verify port is not in use." + second);
        m_pPort.reset();
        m_view.CloseDialog(0);
        return false;
    }
    return StartSession();
}

bool CCommunicationsController::OpenStream(std::unique_ptr<ISerialStream> stream)
{
    m_pPort = std::make_unique<CSerialPort>(&m_clock, m_setup.m_pOpener);
    if (!m_pPort->Attach(std::move(stream), kOpenBaud)) {
        m_status.ShowMessage("Error, could not open the simulated line!  Please verify port is not in use.");
        m_pPort.reset();
        m_view.CloseDialog(0);
        return false;
    }
    return StartSession();
}

bool CCommunicationsController::StartSession()
{
    m_pSession = std::make_unique<CInstrumentSession>(m_pPort.get());
    m_pEngine = std::make_unique<CDownloadEngine>(*m_pSession);
    SDownloadSteps steps;
    steps.m_resetConnection = [this] { ResetConnection(); };
    steps.m_erase = [this] { Erase(); };
    m_pDownload = std::make_unique<CDownloadController>(*m_pEngine, m_dispatcher, m_status, &m_view,
                                                        m_setup.m_pDownloadView, std::move(steps));
    const std::string dir = m_setup.m_strStationDir.empty()
                                ? m_station.GetStationDirectory(m_setup.m_strSiteDir)
                                : m_setup.m_strStationDir;
    m_pSession->SetStationDirectory(dir);
    if (!m_pSession->OpenLog(dir + PATH_SEPARATOR + m_station.GetSiteName() + ".log"))
        m_status.ShowMessage("Error, the log file could not be opened!  File may be in use");
    Connect();
    return true;
}

void CCommunicationsController::SetWaitCursor(bool waiting)
{
    if (m_setup.m_pControls)
        m_setup.m_pControls->SetWaitCursor(waiting);
}

void CCommunicationsController::SetOrientationCaption(const std::string& caption)
{
    if (m_setup.m_pControls)
        m_setup.m_pControls->SetOrientationCaption(caption);
}

bool CCommunicationsController::Exchange(const std::function<bool()>& exchange)
{
    return m_setup.m_pExchanges ? m_setup.m_pExchanges->Run(exchange) : exchange();
}

void CCommunicationsController::ResetConnection()
{
    if (m_bTimerRunning) {
        if (m_setup.m_pControls)
            m_setup.m_pControls->StopTimer();
        m_bTimerRunning = false;
    }
    m_dtInstrument = CDateTime(-1.0);
    EnableButtons(false, true);
    m_view.SetField(ECommField::firmware, "");
    m_view.SetField(ECommField::siteName, "");
    m_view.SetField(ECommField::time, "");
    m_view.SetField(ECommField::frequency, "");
    m_status.ClearStatus();
}

void CCommunicationsController::SaveStation()
{
    if (!m_station.Save())
        AppendStatus("Warning, the station file could not be saved");
}

void CCommunicationsController::Connect()
{
    if (!m_pSession)
        return;
    SetWaitCursor(true);
    ResetConnection();
    EnableButtons(false, false);

    m_pSession->LogSection("Wakeup");
    if (!Exchange([this] { return m_pSession->WakeUp(); })) {
        AppendStatus("Error, connect failed!");
        AppendStatus("Ensure cable is connected and unit is powered.");
        EnableButtons(false, true);
        SetWaitCursor(false);
        return;
    }
    AppendStatus("Connected to velunit...");

    std::string firmware, siteName;
    CDateTime time;
    int frequency = -1;
    const bool ok = Exchange([&] {
        if (!m_pSession->GetFirmware(firmware) || !m_pSession->GetTime(time) ||
            !m_pSession->GetSiteName(siteName))
            return false;
        frequency = m_pSession->GetFrequency();
        return frequency >= 0;
    });
    if (!ok) {
        AppendStatus("Error, could not query system information");
        EnableButtons(false, true);
        SetWaitCursor(false);
        return;
    }
    m_dtInstrument = time;

    EnableButtons(true, true);
    SetOrientationCaption(CHECK_ORIENTATION);
    m_view.SetField(ECommField::firmware, firmware);
    m_view.SetField(ECommField::siteName, siteName);
    m_view.SetField(ECommField::time, m_dtInstrument.Format(kTimeFormat));
    if (m_setup.m_pControls)
        m_setup.m_pControls->StartTimer();
    m_bTimerRunning = true;
    m_view.SetField(ECommField::frequency, FrequencyText(frequency));

    if (m_station.GetFrequency() != frequency) {
        if (m_status.AskYesNo(
                "Warning, the frequency of the velunit and the station file do not match, would you "
                "like to adjust the station file?")) {
            m_station.SetFrequency(frequency);
            if (m_station.GetAutoCalc())
                CalcProfilingSettings(m_station);
            if (m_station.GetAutoVelRange())
                CalcVelocityRange(m_station);
            SaveStation();
            AppendStatus("Ready");
            SetWaitCursor(false);
            return; // the station now follows this unit: no identity question
        }
    }

    const std::string id = m_station.GetInstrumentId();
    if (id != siteName) {
        if (!m_status.AskYesNo("Warning, the connected meter has ID \"" + siteName +
                               "\" but the station is configured with ID \"" + id +
                               "\" are you sure you want to continue?")) {
            if (!Exchange([this] { return m_pSession->Restart(); }))
                m_status.ShowMessage("Error, could not restart meter");
            SetWaitCursor(false);
            m_view.CloseDialog(0);
            return;
        }
    }
    AppendStatus("Ready");
    SetWaitCursor(false);
}

// > PA\n    < PA\r\n...tests...\r\n>
// > PS0\n   < PS0\r\n...Firmware: ...\r\n>
void CCommunicationsController::SystemTest()
{
    if (!m_pSession)
        return;
    EnableButtons(false, false);
    ClearStatus();
    m_pSession->LogSection("System Test");
    std::string reply;
    if (!Exchange([&] { return m_pSession->SendCommand("PA", reply); })) {
        ResetConnection();
        AppendStatus("PA test failed");
        return;
    }
    AppendStatus(reply);
    std::string system;
    if (!Exchange([&] { return m_pSession->SendCommand("PS0", system); })) {
        ResetConnection();
        AppendStatus("PA test failed");
        return;
    }
    AppendStatus(system);
    EnableButtons(true, true);
    AppendStatus("Ready");
}

void CCommunicationsController::ZeroPressure()
{
    if (!m_pSession)
        return;
    if (!m_status.AskYesNo(
            "Warning, zeroing the pressure sensor when the unit is submerged will cause erroneous "
            "depth measurements, are you sure you want to continue?"))
        return;
    ClearStatus();
    EnableButtons(false, false);
    m_pSession->LogSection("Zero Pressure");
    std::string reply;
    if (Exchange([&] { return m_pSession->SendCommand("sz", reply); })) {
        AppendStatus("Command successful");
        AppendStatus("Choose \"Check Orientation\" to view current pressure");
        AppendStatus("Ready");
        EnableButtons(true, true);
    } else {
        ResetConnection();
        AppendStatus("PA test failed");
    }
}

// > PC2\n   < PC2\r\nPress any key to exit the loop.\r\n/ 21.35 ...\r\ ...   (once a second)
// > c       < \r\n>
void CCommunicationsController::Orientation()
{
    if (!m_pSession)
        return;
    if (m_bOrientationRunning) {
        StopOrientation();
        return;
    }
    if (!Exchange([this] { return m_pSession->SendLine("PC2"); })) {
        ResetConnection();
        AppendStatus("Error, PC2 command failed");
        return;
    }
    m_strOrientationLine.clear();
    m_bOrientationRunning = true;
    EnableButtons(false, true);
    SetOrientationCaption(STOP_TEST);
    AppendStatus("Please wait, checking orientation...");
    if (m_setup.m_pControls)
        m_setup.m_pControls->EnableOrientationButton(true);
}

void CCommunicationsController::StopOrientation()
{
    // Whatever the outcome the stream is over for this dialog: the flag drops and the
    // caption returns. A stop the unit did not confirm leaves the error in view and the
    // dialog not connected, so the operator wakes the unit again.
    m_bOrientationRunning = false;
    SetOrientationCaption(CHECK_ORIENTATION);
    if (!Exchange([this] { return m_pSession->SendRaw("c") && m_pSession->WaitForPrompt(); })) {
        ResetConnection();
        AppendStatus("Error, did not receive prompt!");
        return;
    }
    EnableButtons(true, true);
    ClearStatus();
    AppendStatus("Ready");
}

void CCommunicationsController::Tick()
{
    if (m_dtInstrument.m_dt > 0) {
        m_dtInstrument = CDateTime(m_dtInstrument.m_dt + 1.0 / 86400.0);
        m_view.SetField(ECommField::time, m_dtInstrument.Format(kTimeFormat));
    }
    // While an exchange has the line the stream waits for the next tick.
    if (!m_bOrientationRunning || !m_pSession || Exchanging())
        return;
    unsigned char c = 0;
    while (m_pSession->ReadAvailableByte(c)) {
        if (c == '/' || c == '\\') {
            if (m_strOrientationLine.find("Press any key to exit the loop.") != std::string::npos) {
                m_strOrientationLine.clear();
            } else {
                ClearStatus();
                AppendStatus("Temp(degC)  Press(kPa)  Press(m) Pitch(deg) Roll(deg)");
                std::string shown = m_strOrientationLine;
                if (!shown.empty())
                    shown.pop_back();
                AppendStatus(shown);
                m_strOrientationLine.clear();
            }
        }
        m_strOrientationLine.push_back(static_cast<char>(c));
    }
}

void CCommunicationsController::DownloadButton()
{
    if (m_pDownload)
        m_pDownload->DownloadButton();
}

bool CCommunicationsController::CanClose() const
{
    return !m_pDownload || !m_pDownload->IsDownloading();
}

void CCommunicationsController::SetClock()
{
    if (!m_pSession)
        return;
    int offset = m_station.GetTimeZoneOffset();
    if (!m_view.AskTimeZoneOffset(offset))
        return;
    offset = std::clamp(offset, -23, 23);
    ClearStatus();
    EnableButtons(false, false);
    CDateTime t(m_clock.LocalNow().m_dt + offset / 24.0);
    if (!Exchange([&] { return m_pSession->SetTime(t); })) {
        ResetConnection();
        AppendStatus("Error, failed to set time");
        return;
    }
    CDateTime now;
    if (!Exchange([&] { return m_pSession->GetTime(now); })) {
        ResetConnection();
        AppendStatus("Error, query to system time");
        return;
    }
    m_dtInstrument = now;
    m_view.SetField(ECommField::time, m_dtInstrument.Format(kTimeFormat));
    if (offset != m_station.GetTimeZoneOffset()) {
        m_station.SetTimeZoneOffset(offset);
        SaveStation();
    }
    AppendStatus("Ready");
    EnableButtons(true, true);
}

// > cz\n   < cz\r\n   (the unit sleeps: no prompt)
void CCommunicationsController::SleepUnit()
{
    if (!m_pSession)
        return;
    ClearStatus();
    EnableButtons(false, false);
    m_pSession->LogSection("Sleep");
    if (!Exchange([this] { return m_pSession->Sleep(); })) {
        ResetConnection();
        AppendStatus("Sleep command failed!");
        return;
    }
    ResetConnection();
    AppendStatus("The unit is in sleep mode");
    AppendStatus("Disconnected");
}

void CCommunicationsController::EraseData()
{
    if (!m_pSession)
        return;
    if (!m_status.AskYesNo("Warning, this will erase all data permanently!  Do you want to continue?"))
        return;
    ClearStatus();
    Erase();
}

// > ME ErAsE\n   < ME ErAsE\r\n...\r\n>
void CCommunicationsController::Erase()
{
    if (!m_pSession)
        return;
    EnableButtons(false, false);
    m_pSession->LogSection("Erase Data");
    std::string reply;
    if (Exchange([&] { return m_pSession->SendCommand("ME ErAsE", reply); })) {
        EnableButtons(true, true);
        AppendStatus("Recorder card erased");
    } else {
        ResetConnection();
        AppendStatus("An error occured while trying to erase the recorder");
    }
}
