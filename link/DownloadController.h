#pragma once
// The "Download Data" button of the communications dialog and what the operator sees of a
// download: the caption that turns into "Abort", the status lines, the progress bar, the
// outcome, and the erase question that follows only a good transfer.
//
// The dialog's controller implements IDownloadHost (most of it is what every instrument
// operation uses) and forwards the button to DownloadButton. The notifications arrive on the
// download's worker thread; a host with windows hands them to its own thread in order.
#include "link/DownloadEngine.h"

#include <atomic>
#include <mutex>
#include <string>

class IDownloadHost
{
  public:
    virtual ~IDownloadHost() = default;
    virtual void AppendStatus(const std::string& text) = 0;
    virtual void ClearStatus() = 0;
    virtual void EnableButtons(bool operations, bool wakeup) = 0;
    virtual void SetDownloadCaption(const std::string& caption) = 0;
    virtual void EnableDownloadButton(bool enabled) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual bool AskYesNo(const std::string& question) = 0;
    // The dialog's own steps: back to "not connected", and the recorder erase.
    virtual void ResetConnection() = 0;
    virtual void Erase() = 0;
    virtual void Beep(int /*hz*/, int /*ms*/) {}
};

class CDownloadController : public IDownloadOwner
{
  public:
    static constexpr const char* DOWNLOAD_CAPTION = "Download";
    static constexpr const char* ABORT_CAPTION = "Abort";
    static constexpr const char* ERASE_QUESTION = "The transfer has completed successfully, would you like "
                                                  "to erase the recorder card now (recommended)?";

    // Sets itself as the engine's owner.
    CDownloadController(CDownloadEngine& engine, IDownloadHost& host);
    ~CDownloadController() override;

    void DownloadButton();
    // Keeps the dialog from closing while a transfer runs.
    bool IsDownloading() const { return m_bDownloading.load(); }

    // The integer percentage the bar shows; 0 while the total is unknown (announced as 0).
    static int ProgressPercent(long long received, long long total);

    // IDownloadOwner, called on the worker thread.
    void EnableAbort() override;
    void ShowProgress() override;
    void DownloadFailed(const std::string& reason, bool reEstablish) override;
    void DownloadComplete() override;
    void Beep(int hz, int ms) override { m_host.Beep(hz, ms); }

  private:
    void SetCaption(const std::string& caption);
    std::string Caption() const;

    CDownloadEngine& m_engine;
    IDownloadHost& m_host;
    std::atomic<bool> m_bDownloading{false};
    mutable std::mutex m_mutex;
    std::string m_strCaption = DOWNLOAD_CAPTION;
};
