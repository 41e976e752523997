// Programming the unit: the station's command list, then its ID, the store command and the
// start command; a calculation set for the data to come; the offer of the live view.
//
// > CR1\n   < CR1\r\n>
// ...                           (every pair of the list, command and parameter joined)
// > MN Mill_Race\n   < MN Mill_Race\r\n>
// > CK\n   < CK\r\n[Parameters saved as USER defaults]\r\n>
// > CS\n   < CS\r\n             (deployed: no prompt, ensembles follow)
#include "present/CommunicationsController.h"

#include "station/Station.h"

namespace
{
constexpr int kQuestionPauseMs = 500;
} // namespace

void CCommunicationsController::Program()
{
    if (!m_pSession)
        return;
    ClearStatus();
    EnableButtons(false, false);
    m_pSession->LogSection("Program");

    if (!ProgramCommands())
        return;
    if (!ProgramClosing("MN " + m_station.GetInstrumentId(), "Error sending \"MN,\" aborted!"))
        return;
    if (!ProgramClosing("CK", "Error sending \"CK,\" aborted!"))
        return;
    if (!Exchange([this] { return m_pSession->Restart(); })) {
        ResetConnection();
        AppendStatus("Error sending \"CS,\" aborted!");
        EnableButtons(false, true);
        return;
    }

    m_station.AddCalcSetFromStation(m_clock.LocalNow());

    Exchange([this] {
        m_clock.SleepMs(kQuestionPauseMs);
        return true;
    });
    if (!m_status.AskYesNo("Successfully programmed unit, would you like to view real-time data?")) {
        ResetConnection();
        AppendStatus("Ready");
        return;
    }
    // The port goes to the live view; this dialog will not touch it again.
    m_pDownload.reset();
    m_pEngine.reset();
    m_pSession.reset();
    if (!m_view.LaunchRealTimeView(std::move(m_pPort)))
        m_status.ShowMessage("Error, failed to launch real-time view");
    ResetConnection();
    m_view.CloseDialog(0);
}

bool CCommunicationsController::ProgramCommands()
{
    const CCommandList& list = m_station.GetCommands();
    for (int i = 0; i < list.Count(); ++i) {
        std::string command, parameter;
        list.Get(i, command, parameter);
        std::string reply;
        if (Exchange([&] { return m_pSession->SendCommand(command + parameter, reply); })) {
            AppendStatus("Sent Command: " + command + " " + parameter);
            continue;
        }
        if (reply.find("ERR") != std::string::npos) {
            if (m_status.AskYesNo("Error, the command \"" + command + " " + parameter + "\"returned \"" +
                                  reply + ",\" do you want to continue anyway?")) {
                AppendStatus("Sent Command: " + command + " " + parameter);
                continue;
            }
            AppendStatus("Error sending command \"" + command + " " + parameter + ",\" aborted");
            EnableButtons(true, true);
            return false;
        }
        ResetConnection();
        AppendStatus("Unrecoverable error when sending command \"" + command + parameter + ",\" aborted!");
        EnableButtons(false, true);
        return false;
    }
    return true;
}

bool CCommunicationsController::ProgramClosing(const std::string& command, const std::string& failure)
{
    std::string reply;
    if (Exchange([&] { return m_pSession->SendCommand(command, reply); }))
        return true;
    ResetConnection();
    AppendStatus(failure);
    EnableButtons(false, true);
    return false;
}
