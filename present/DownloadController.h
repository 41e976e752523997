#pragma once
// The "Download Data" button of the communications dialog and what the operator sees of a
// download: the caption that turns into "Abort", the status lines, the progress bar, the
// outcome, and the erase question that follows only a good transfer.
//
// The transfer runs on a background worker; everything here runs on the owner's thread,
// the worker's reports included (they come as notifications through the dispatcher). The
// worker does the line work alone, re-establishing the link after a failure too, and
// shares nothing with this object but the cancel flag.
#include "link/DownloadEngine.h"
#include "present/BackgroundWorker.h"
#include "present/CommunicationsView.h"
#include "present/DownloadView.h"
#include "present/StatusView.h"

#include <functional>
#include <string>
#include <vector>

// What the window's own controller does at the end of a download. Either may be empty.
struct SDownloadSteps {
    // The link could not be re-established: back to "not connected".
    std::function<void()> m_resetConnection;
    // The operator accepted the erase after a good transfer.
    std::function<void()> m_erase;
};

class CDownloadController
{
  public:
    static constexpr const char* DOWNLOAD_CAPTION = "Download";
    static constexpr const char* ABORT_CAPTION = "Abort";
    static constexpr const char* ERASE_QUESTION = "The transfer has completed successfully, would you like "
                                                  "to erase the recorder card now (recommended)?";

    // The buttons and the download's controls are a window's; a terminal has neither.
    CDownloadController(CDownloadEngine& engine, IDispatcher& dispatcher, IStatusView& status,
                        ICommunicationsView* buttons = nullptr, IDownloadView* view = nullptr,
                        SDownloadSteps steps = {});
    // Cancels a transfer still running and waits for its worker.
    ~CDownloadController();
    CDownloadController(const CDownloadController&) = delete;
    CDownloadController& operator=(const CDownloadController&) = delete;

    void DownloadButton();
    // From the press until the worker's last notification has run; keeps the dialog from
    // closing.
    bool IsDownloading() const { return m_worker.IsBusy(); }

    // The integer percentage the bar shows; 0 while the total is unknown (announced as 0).
    static int ProgressPercent(long long received, long long total);

  private:
    class CJob;

    void ShowProgress(const YmodemProgress& progress);
    void Failed(const std::string& reason, bool reEstablish, bool back,
                const std::vector<YmodemFileResult>& files);
    void Completed(const std::vector<YmodemFileResult>& files);
    void ShowFiles(const std::vector<YmodemFileResult>& files);
    void SetCaption(const std::string& caption);
    void EnableButtons(bool operations, bool wakeup);
    void SetProgress(int percent);

    CDownloadEngine& m_engine;
    IStatusView& m_status;
    ICommunicationsView* m_pButtons;
    IDownloadView* m_pView;
    SDownloadSteps m_steps;
    CBackgroundWorker m_worker;
    std::string m_strCaption = DOWNLOAD_CAPTION;
};
