#include "present/DownloadController.h"

#include <cstdio>

// The engine's reports on the worker thread, turned into notifications for the owner's
// thread. The figures travel as a copy taken when the report was made.
class CDownloadController::CJob : public IDownloadOwner
{
  public:
    CJob(CDownloadController& controller, CBackgroundWorker::CContext& context)
        : m_controller(controller), m_engine(controller.m_engine), m_context(context)
    {
    }

    void Run(int baud)
    {
        // Abort is the engine's own flag, polled before every block.
        std::stop_callback abort(m_context.StopToken(), [this] { m_engine.Abort(); });
        m_engine.SetOwner(this);
        m_engine.Download(baud);
        m_engine.SetOwner(nullptr);
    }

    void EnableAbort() override
    {
        CDownloadController* c = &m_controller;
        m_context.Post([c] {
            if (c->m_pView)
                c->m_pView->EnableDownloadButton(true);
        });
    }
    void ShowProgress() override
    {
        const YmodemProgress progress = m_engine.Progress();
        m_context.Progress(progress.received, progress.total);
        CDownloadController* c = &m_controller;
        m_context.Post([c, progress] { c->ShowProgress(progress); });
    }
    void DownloadFailed(const std::string& reason, bool reEstablish) override
    {
        // Still line work: done here, before the owner hears of the failure.
        const bool back = !reEstablish || m_engine.ReEstablish();
        CDownloadController* c = &m_controller;
        m_context.Post([c, reason, reEstablish, back, files = m_engine.Files()] {
            c->Failed(reason, reEstablish, back, files);
        });
    }
    void DownloadComplete() override
    {
        CDownloadController* c = &m_controller;
        m_context.Post([c, files = m_engine.Files()] { c->Completed(files); });
    }
    void Beep(int hz, int ms) override
    {
        CDownloadController* c = &m_controller;
        m_context.Post([c, hz, ms] {
            if (c->m_pView)
                c->m_pView->Beep(hz, ms);
        });
    }

  private:
    CDownloadController& m_controller; // only inside notifications
    CDownloadEngine& m_engine;
    CBackgroundWorker::CContext& m_context;
};

CDownloadController::CDownloadController(CDownloadEngine& engine, IDispatcher& dispatcher,
                                         IStatusView& status, ICommunicationsView* buttons,
                                         IDownloadView* view, SDownloadSteps steps)
    : m_engine(engine), m_status(status), m_pButtons(buttons), m_pView(view), m_steps(std::move(steps)),
      m_worker(dispatcher)
{
    m_worker.SetProgressHandler(
        [this](long long received, long long total) { SetProgress(ProgressPercent(received, total)); });
}

CDownloadController::~CDownloadController() = default;

int CDownloadController::ProgressPercent(long long received, long long total)
{
    if (total <= 0 || received <= 0)
        return 0;
    // A sender that goes on past the size it announced can take the count past the total.
    const long long percent = received >= total ? 100 : received * 100 / total;
    return static_cast<int>(percent);
}

void CDownloadController::SetCaption(const std::string& caption)
{
    m_strCaption = caption;
    if (m_pView)
        m_pView->SetDownloadCaption(caption);
}

void CDownloadController::EnableButtons(bool operations, bool wakeup)
{
    if (m_pButtons)
        m_pButtons->EnableButtons(operations, wakeup);
}

void CDownloadController::SetProgress(int percent)
{
    if (m_pView)
        m_pView->SetProgress(percent);
}

void CDownloadController::DownloadButton()
{
    if (m_strCaption != ABORT_CAPTION) {
        const bool started = m_worker.Start([this](CBackgroundWorker::CContext& context) {
            CJob(*this, context).Run(CDownloadEngine::DOWNLOAD_BAUD);
        });
        if (!started)
            return; // the last transfer has not finished winding up
        EnableButtons(false, false);
        m_status.AppendStatus("Inititializing download...");
        SetCaption(ABORT_CAPTION);
        return;
    }
    // The worker sees the flag before its next block and fails the transfer.
    m_worker.Cancel();
    m_status.AppendStatus("Transfer Aborted!");
    m_status.AppendStatus("Please wait while communications are re-established");
    if (m_pView)
        m_pView->EnableDownloadButton(false);
}

void CDownloadController::ShowProgress(const YmodemProgress& progress)
{
    m_status.ClearStatus();
    char text[400];
    std::snprintf(text, sizeof text, "Transfering %s, %lld of %lld bytes received", progress.fileName.c_str(),
                  progress.received, progress.total);
    m_status.AppendStatus(text);
    std::snprintf(text, sizeof text, "%d transfer errors", progress.errors);
    m_status.AppendStatus(text);
}

void CDownloadController::ShowFiles(const std::vector<YmodemFileResult>& files)
{
    // Where every file of the batch went, ahead of the fixed lines so that those stay together.
    for (const auto& file : files)
        m_status.AppendStatus(file.Whereabouts());
}

void CDownloadController::Failed(const std::string& reason, bool reEstablish, bool back,
                                 const std::vector<YmodemFileResult>& files)
{
    if (back) {
        ShowFiles(files);
        m_status.AppendStatus("Download failed: " + reason);
        if (reEstablish)
            m_status.AppendStatus("Communications were re-established");
        EnableButtons(true, true);
    } else {
        if (m_steps.m_resetConnection)
            m_steps.m_resetConnection();
        ShowFiles(files);
        m_status.AppendStatus("Download failed: " + reason);
        m_status.AppendStatus("Communications were lost");
    }
    // Back to "Download" in both cases: after the operator wakes the unit again the button
    // must start a download, not abort one.
    SetCaption(DOWNLOAD_CAPTION);
    SetProgress(0);
}

void CDownloadController::Completed(const std::vector<YmodemFileResult>& files)
{
    ShowFiles(files);
    SetCaption(DOWNLOAD_CAPTION);
    EnableButtons(true, true);
    m_status.AppendStatus("Transfer completed succesfully");
    if (m_status.AskYesNo(ERASE_QUESTION) && m_steps.m_erase)
        m_steps.m_erase();
}
