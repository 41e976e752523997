// velunit connect|systest|zero|settime|sleep|erase|program: the communications dialog's
// operations from a terminal, through the same controller. Status lines go to standard
// output as the dialog would show them; every question is printed with the answer given
// (--yes or --no, default No). The session log is appended in the folder of the station
// file. PORT is "COM n" (mapped in the settings file), a device path such as the one
// velunit-sim prints, or "sim:velunit" for a simulated unit inside this program.
#include "link/SimLine.h"
#include "platform/SerialDevice.h"
#include "present/CommunicationsController.h"
#include "present/QueueDispatcher.h"
#include "sim/VelunitLineDriver.h"
#include "tools/tidewell-tool/StationArg.h"

#include <filesystem>
#include <iostream>

namespace
{

// The dialog on a terminal: what the status window gets is printed, never taken back; the
// buttons only say whether the unit is connected.
class CTerminalView : public IStatusView, public ICommunicationsView
{
  public:
    explicit CTerminalView(bool yes) : m_bYes(yes) {}

    void AppendStatus(const std::string& text) override
    {
        std::cout << text << std::endl;
        m_strLast = text;
    }
    // The window would be empty now: no line of it explains a failure any more.
    void ClearStatus() override { m_strLast.clear(); }
    void EnableButtons(bool operations, bool) override { m_bConnected = operations; }
    void SetField(ECommField field, const std::string& text) override
    {
        static const char* const kNames[] = {"Time", "Firmware", "Site Name", "Frequency"};
        if (!text.empty())
            std::cout << "  " << kNames[static_cast<int>(field)] << ": " << text << std::endl;
    }
    bool AskYesNo(const std::string& question) override
    {
        std::cout << question << (m_bYes ? " [Yes]" : " [No]") << std::endl;
        return m_bYes;
    }
    void ShowMessage(const std::string& text) override
    {
        // A port that could not be opened is reported once, on standard error, by the command.
        if (!m_bPortFailed)
            std::cout << text << std::endl;
        m_strLast = text;
    }
    bool AskTimeZoneOffset(int& offset) override
    {
        if (m_nOffset)
            offset = *m_nOffset;
        std::cout << "Timezone Offset: " << offset << std::endl;
        return true;
    }
    bool LaunchRealTimeView(std::unique_ptr<CSerialPort> port) override
    {
        port.reset();
        std::cout << "The unit is deployed; real-time data is shown by the desktop application." << std::endl;
        return true;
    }
    void CloseDialog(int result) override { m_nClosed = result; }

    std::optional<int> m_nOffset;
    bool m_bYes;
    bool m_bPortFailed = false;
    bool m_bConnected = false;
    int m_nClosed = -1;
    std::string m_strLast;
};

// Ports as the settings file maps them, plus simulated units inside this program.
class CToolPortOpener : public IPortOpener
{
  public:
    std::vector<ISerialTap*> Taps() override { return TraceTaps(); }
    std::unique_ptr<ISerialStream> OpenStream(const std::string& name) override
    {
        m_strError.clear();
        m_strResolved = ResolvePortName(name, SettingsFileLookup());
        const std::string& resolved = m_strResolved;
        if (resolved.rfind("sim:", 0) != 0) {
            auto stream = OpenSerialDevice(resolved, &m_strError);
            if (!stream && m_pFailed)
                *m_pFailed = true;
            return stream;
        }
        if (resolved != "sim:velunit" || m_pLine) {
            m_strError = m_pLine ? "the simulated unit is in use" : "no such simulated unit";
            if (m_pFailed)
                *m_pFailed = true;
            return nullptr;
        }
        m_pLine = std::make_unique<CSimLine>();
        m_pDriver =
            std::make_unique<CVelunitLineDriver>(*m_pLine, CSystemClock::Instance(), SVelunitConfig{}, true);
        return m_pLine->TakeHostEnd();
    }

    std::string LastOpenError() const override { return m_strError; }
    // The device a port name stood for at the last open, for the message.
    const std::string& Resolved() const { return m_strResolved; }
    bool* m_pFailed = nullptr; // set when an open fails

  private:
    std::string m_strError;
    std::string m_strResolved;
    std::unique_ptr<CSimLine> m_pLine;
    std::unique_ptr<CVelunitLineDriver> m_pDriver;
};

int RunOperation(const std::string& operation, const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--port", "--offset"}, {"--yes", "--no"});
    if (!parsed.Positional().empty() || !parsed.Has("--station") || !parsed.Has("--port"))
        throw UsageError{"--station and --port are required"};
    if (parsed.Has("--yes") && parsed.Has("--no"))
        throw UsageError{"--yes and --no exclude each other"};
    const std::string stationPath = parsed.Value("--station");
    auto station = LoadStationArg(stationPath);
    const std::string dir = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(stationPath)).parent_path());
    // The station is saved where it came from when an operation changes it.
    station->SetFilePath(Utf8FromPath(std::filesystem::absolute(PathFromUtf8(stationPath))));
    station->SetModified(false);

    CTerminalView view(parsed.Has("--yes"));
    if (parsed.Has("--offset"))
        view.m_nOffset = std::atoi(parsed.Value("--offset").c_str());
    CToolPortOpener opener;
    opener.m_pFailed = &view.m_bPortFailed;
    SCommunicationsSetup setup;
    setup.m_pOpener = &opener;
    setup.m_strSiteDir = dir;
    setup.m_strStationDir = dir;
    const int setsBefore = station->GetCalcSetCount();
    bool ok = false;
    {
        // No download runs here, so nothing is ever posted; the controller needs a dispatcher
        // all the same.
        CQueueDispatcher dispatcher;
        CCommunicationsController controller(*station, view, view, dispatcher, setup);
        if (!controller.OpenPort(parsed.Value("--port"))) {
            if (view.m_bPortFailed)
                throw ToolFailure{
                    PortFailure(parsed.Value("--port"), opener.Resolved(), opener.LastOpenError())};
            throw ToolFailure{view.m_strLast};
        }
        ok = view.m_bConnected && view.m_nClosed < 0;
        if (ok && operation != "connect") {
            if (operation == "systest")
                controller.SystemTest();
            else if (operation == "zero")
                controller.ZeroPressure();
            else if (operation == "settime")
                controller.SetClock();
            else if (operation == "sleep")
                controller.SleepUnit();
            else if (operation == "erase")
                controller.EraseData();
            else if (operation == "program")
                controller.Program();
            if (operation == "sleep")
                ok = view.m_strLast == "Disconnected";
            else if (operation == "program")
                ok = station->GetCalcSetCount() > setsBefore;
            else if (operation == "zero" || operation == "erase")
                ok = view.m_bConnected || !parsed.Has("--yes"); // No: nothing was asked of the unit
            else
                ok = view.m_bConnected;
        }
    }
    if (station->IsModified()) {
        if (station->Save())
            std::cout << "Station file saved: " << station->GetFilePath() << std::endl;
        else
            std::cerr << "Warning, the station file could not be saved" << std::endl;
    }
    if (!ok && view.m_bPortFailed) // a port reopened during the operation
        throw ToolFailure{PortFailure(parsed.Value("--port"), opener.Resolved(), opener.LastOpenError())};
    if (!ok && view.m_nClosed == 0)
        throw ToolFailure{"the connected meter's ID differs from the station's; the unit was restarted"};
    if (!ok)
        throw ToolFailure{view.m_strLast.empty() ? operation + " failed" : view.m_strLast};
    return 0;
}

int RunConnect(const std::vector<std::string>& a)
{
    return RunOperation("connect", a);
}
int RunSysTest(const std::vector<std::string>& a)
{
    return RunOperation("systest", a);
}
int RunZero(const std::vector<std::string>& a)
{
    return RunOperation("zero", a);
}
int RunSetTime(const std::vector<std::string>& a)
{
    return RunOperation("settime", a);
}
int RunSleep(const std::vector<std::string>& a)
{
    return RunOperation("sleep", a);
}
int RunErase(const std::vector<std::string>& a)
{
    return RunOperation("erase", a);
}
int RunProgram(const std::vector<std::string>& a)
{
    return RunOperation("program", a);
}

const char* const kOptions = " --station S.hstn --port PORT [--yes|--no]";

ToolCommandRegistration regConnect{{"velunit", "connect", std::string("velunit connect") + kOptions,
                                    "wake the Velunit and check its clock, site name and frequency",
                                    &RunConnect, true}};
ToolCommandRegistration regSysTest{{"velunit", "systest", std::string("velunit systest") + kOptions,
                                    "connect, then run the unit's system test (PA, PS0)", &RunSysTest, true}};
ToolCommandRegistration regZero{{"velunit", "zero", std::string("velunit zero") + kOptions,
                                 "connect, then zero the pressure sensor (asks first)", &RunZero, true}};
ToolCommandRegistration regSetTime{
    {"velunit", "settime", std::string("velunit settime") + kOptions + " [--offset H]",
     "connect, then set the unit's clock to this computer's time plus the offset", &RunSetTime, true}};
ToolCommandRegistration regSleep{{"velunit", "sleep", std::string("velunit sleep") + kOptions,
                                  "connect, then put the unit to sleep", &RunSleep, true}};
ToolCommandRegistration regErase{{"velunit", "erase", std::string("velunit erase") + kOptions,
                                  "connect, then erase the recorder card (asks first)", &RunErase, true}};
ToolCommandRegistration regProgram{{"velunit", "program", std::string("velunit program") + kOptions,
                                    "connect, then send the station's command list, ID, store and start",
                                    &RunProgram, true}};

} // namespace
