#include "link/DownloadController.h"

#include <cstdio>

CDownloadController::CDownloadController(CDownloadEngine& engine, IDownloadHost& host)
    : m_engine(engine), m_host(host)
{
    m_engine.SetOwner(this);
}

CDownloadController::~CDownloadController()
{
    // The worker notifies this object; it must be gone before this object is.
    m_engine.Join();
    m_engine.SetOwner(nullptr);
}

void CDownloadController::SetCaption(const std::string& caption)
{
    {
        std::lock_guard lock(m_mutex);
        m_strCaption = caption;
    }
    m_host.SetDownloadCaption(caption);
}

std::string CDownloadController::Caption() const
{
    std::lock_guard lock(m_mutex);
    return m_strCaption;
}

int CDownloadController::ProgressPercent(long long received, long long total)
{
    if (total <= 0 || received <= 0)
        return 0;
    // The last block's padding can take the count past the total.
    const long long percent = received >= total ? 100 : received * 100 / total;
    return static_cast<int>(percent);
}

void CDownloadController::DownloadButton()
{
    if (Caption() != ABORT_CAPTION) {
        if (!m_engine.StartDownload(CDownloadEngine::DOWNLOAD_BAUD))
            return; // the last transfer has not finished winding up
        m_bDownloading.store(true);
        m_host.EnableButtons(false, false);
        m_host.AppendStatus("Inititializing download...");
        SetCaption(ABORT_CAPTION);
        return;
    }
    // The worker sees the flag before its next block and fails the transfer.
    m_engine.Abort();
    m_host.AppendStatus("Transfer Aborted!");
    m_host.AppendStatus("Please wait while communications are re-established");
    m_host.EnableDownloadButton(false);
}

void CDownloadController::EnableAbort()
{
    m_host.EnableDownloadButton(true);
}

void CDownloadController::ShowProgress()
{
    std::string name;
    long long received = 0;
    long long total = 0;
    int errors = 0;
    m_engine.GetProgress(name, received, total, errors);
    m_host.SetProgress(ProgressPercent(received, total));
    m_host.ClearStatus();
    char text[400];
    std::snprintf(text, sizeof text, "Transfering %s, %lld of %lld bytes received", name.c_str(), received,
                  total);
    m_host.AppendStatus(text);
    std::snprintf(text, sizeof text, "%d transfer errors", errors);
    m_host.AppendStatus(text);
}

void CDownloadController::DownloadFailed(const std::string& reason, bool reEstablish)
{
    if (!reEstablish || m_engine.ReEstablish()) {
        m_host.AppendStatus("Download failed: " + reason);
        if (reEstablish)
            m_host.AppendStatus("Communications were re-established");
        m_host.EnableButtons(true, true);
    } else {
        m_host.ResetConnection();
        m_host.AppendStatus("Download failed: " + reason);
        m_host.AppendStatus("Communications were lost");
    }
    // Back to "Download" in both cases: after the operator wakes the unit again the button
    // must start a download, not abort one.
    SetCaption(DOWNLOAD_CAPTION);
    m_host.SetProgress(0);
    m_bDownloading.store(false);
}

void CDownloadController::DownloadComplete()
{
    SetCaption(DOWNLOAD_CAPTION);
    m_bDownloading.store(false);
    m_host.EnableButtons(true, true);
    m_host.AppendStatus("Transfer completed succesfully");
    if (m_host.AskYesNo(ERASE_QUESTION))
        m_host.Erase();
}
