#include "link/DownloadEngine.h"

#include "link/YmodemSerialLine.h"
#include "platform/Utf8Path.h"

#include <cstdio>

CDownloadEngine::CDownloadEngine(CInstrumentSession& session) : m_session(session)
{
}

std::string CDownloadEngine::BaudCommand(int baud)
{
    switch (baud) {
    case 19200:
        return "CB 511";
    case 38400:
        return "CB 611";
    case 57600:
        return "CB 711";
    default:
        return "CB 411";
    }
}

std::string CDownloadEngine::OutcomeText(const std::vector<YmodemFileResult>& files, bool failed)
{
    // The reason in the download's fixed words, from the first file that went wrong; where
    // each file's bytes went is the owner's to show (Files). When every file begun is whole
    // the failure lies elsewhere and is the plain "Transfer error".
    for (const auto& file : files)
        if (file.outcome != YmodemFileResult::complete)
            return file.Reason();
    return failed ? "Transfer error" : "";
}

std::vector<YmodemFileResult> CDownloadEngine::Files() const
{
    std::lock_guard lock(m_mutex);
    return m_files;
}

bool CDownloadEngine::SetBaud(int baud)
{
    // The instrument answers at the old rate and then changes; so does this end.
    std::string reply;
    if (!m_session.SendCommand(BaudCommand(baud), reply, CInstrumentSession::kCommandTimeoutMs))
        return false;
    if (!m_session.Port()->Configure(baud))
        return false;
    m_nBaud = baud;
    return true;
}

void CDownloadEngine::Publish(const YmodemProgress& progress)
{
    std::lock_guard lock(m_mutex);
    m_progress = progress;
}

void CDownloadEngine::GetProgress(std::string& name, long long& received, long long& total, int& errors) const
{
    std::lock_guard lock(m_mutex);
    name = m_progress.fileName;
    received = m_progress.received;
    total = m_progress.total;
    errors = m_progress.errors;
}

YmodemProgress CDownloadEngine::Progress() const
{
    std::lock_guard lock(m_mutex);
    return m_progress;
}

std::string CDownloadEngine::OutputPath() const
{
    std::lock_guard lock(m_mutex);
    return m_strOutputPath;
}

bool CDownloadEngine::Transfer()
{
    m_nAbort.store(0);
    Publish(YmodemProgress{});
    {
        std::lock_guard lock(m_mutex);
        m_strOutputPath.clear();
        m_files.clear();
    }
    m_strFailure.clear();

    CSerialPort& port = *m_session.Port();
    // The echo of the command ends in "Y"; the batch starts right after it.
    std::string echo;
    if (!port.Write("MY\n") || !port.ReadUntil(echo, START_TIMEOUT_MS, 'Y')) {
        m_strFailure = "the instrument did not start the transfer";
        return false;
    }

    CYmodemSerialLine line(port);
    CYmodemReceiver receiver(line, PathFromUtf8(m_session.GetStationDirectory()), m_nAbort);
    receiver.SetOnFileAnnounced([this](const YmodemProgress& p) {
        Publish(p);
        {
            std::lock_guard lock(m_mutex);
            m_strOutputPath = Utf8FromPath(PathFromUtf8(m_session.GetStationDirectory()) /
                                           PathFromUtf8(CYmodemReceiver::PartialName(p.fileName)));
        }
        if (m_pOwner) {
            m_pOwner->ShowProgress();
            m_pOwner->EnableAbort();
        }
    });
    receiver.SetOnProgress([this](const YmodemProgress& p) {
        Publish(p);
        if (m_pOwner)
            m_pOwner->ShowProgress();
    });
    const bool ok = receiver.Receive();
    Publish(receiver.Progress());
    {
        std::lock_guard lock(m_mutex);
        m_files = receiver.Files();
        m_strOutputPath = Utf8FromPath(receiver.OutputPath());
    }
    if (!ok) {
        m_strFailure = receiver.FailureDetail();
        return false;
    }
    // An empty batch is no download: nothing to show, and never a reason to erase the card.
    if (receiver.Files().empty()) {
        m_strFailure = "the instrument sent no file";
        return false;
    }
    if (!m_session.WaitForPrompt()) {
        m_strFailure = "no prompt after the transfer";
        return false;
    }
    return true;
}

bool CDownloadEngine::Download(int baud)
{
    if (!SetBaud(baud)) {
        if (m_pOwner)
            m_pOwner->DownloadFailed("Could not set download baud", true);
        return false;
    }
    if (!Transfer()) {
        if (m_pOwner) {
            m_pOwner->DownloadFailed(OutcomeText(Files(), true), true);
            m_pOwner->Beep(600, 1000);
        }
        return false;
    }
    if (m_pOwner)
        m_pOwner->Beep(600, 1000);
    if (!SetBaud(NORMAL_BAUD)) {
        if (m_pOwner)
            m_pOwner->DownloadFailed("Could not reset normal baudrate", true);
        return false;
    }
    // The protocol ran to its end, but a file with gaps or short of what was announced is
    // not a copy to rely on (and never one to erase the recorder after); it was kept as a
    // partial file.
    const std::string incomplete = OutcomeText(Files(), false);
    if (!incomplete.empty()) {
        if (m_pOwner)
            m_pOwner->DownloadFailed(incomplete, false);
        return false;
    }
    if (m_pOwner)
        m_pOwner->DownloadComplete();
    return true;
}

bool CDownloadEngine::ReEstablish()
{
    // What is left of a block in flight is of no use and could hold a ">" of its own.
    CSerialPort& port = *m_session.Port();
    port.Flush();
    bool back = m_session.SendRaw(std::string(8, '\x18')) && m_session.WaitForPrompt();
    if (back) {
        port.Flush();
        back = SetBaud(NORMAL_BAUD);
    }
    if (back)
        return true;
    if (m_session.WakeUp())
        return true;
    // A break returns the instrument to its normal rate; an end still at the download rate
    // would not understand its banner.
    if (m_nBaud != NORMAL_BAUD && m_session.Port()->Configure(NORMAL_BAUD)) {
        m_nBaud = NORMAL_BAUD;
        return m_session.WakeUp();
    }
    return false;
}
