#pragma once
// Copies the instrument's recorded file into the station directory: raises the link to
// 57600 baud, receives the file as a batch transfer, lowers the link to 9600 again, and
// after a failure brings the instrument back to its prompt.
//
//   > CB 711\n        < CB 711\r\n>          then both ends at 57600
//   > MY\n            < MY                   the batch transfer follows (YmodemReceiver.h)
//   ...               < \r\n>
//   > CB 411\n        < CB 411\r\n>          then both ends at 9600
//
// Download runs on the caller's thread, which in a window is a background worker's: Abort
// is the one call meant for another thread. The owner is notified on the downloading
// thread, in order, and hands the notifications to its own thread if it needs to.
#include "link/InstrumentSession.h"
#include "link/YmodemReceiver.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class IDownloadOwner
{
  public:
    virtual ~IDownloadOwner() = default;
    // Block 0 has named the file: from now on the operator may abort.
    virtual void EnableAbort() = 0;
    // After block 0 and after every block; GetProgress has the figures.
    virtual void ShowProgress() = 0;
    // reEstablish is false when the link is known to be sound (the file arrived but not
    // whole): the owner reports the failure without disturbing the instrument.
    virtual void DownloadFailed(const std::string& reason, bool reEstablish) = 0;
    virtual void DownloadComplete() = 0;
    // The audible end of a transfer.
    virtual void Beep(int hz, int ms) = 0;
};

class CDownloadEngine
{
  public:
    static constexpr int DOWNLOAD_BAUD = 57600;
    static constexpr int NORMAL_BAUD = 9600;
    static constexpr int START_TIMEOUT_MS = 10000;

    explicit CDownloadEngine(CInstrumentSession& session);
    virtual ~CDownloadEngine() = default;
    CDownloadEngine(const CDownloadEngine&) = delete;
    CDownloadEngine& operator=(const CDownloadEngine&) = delete;

    void SetOwner(IDownloadOwner* owner) { m_pOwner = owner; }

    bool Download(int baud);
    bool Transfer();
    void Abort() { m_nAbort.store(1); }
    bool SetBaud(int baud);
    bool ReEstablish();

    void GetProgress(std::string& name, long long& received, long long& total, int& errors) const;
    YmodemProgress Progress() const;
    // The file written by the last transfer (empty before block 0 named it): the station
    // file itself, or its partial copy when the transfer did not end whole.
    std::string OutputPath() const;
    // Every file of the last transfer with its outcome.
    std::vector<YmodemFileResult> Files() const;
    const std::string& FailureDetail() const { return m_strFailure; }

    // "CB 511" for 19200, "CB 611" for 38400, "CB 711" for 57600, "CB 411" for anything else.
    static std::string BaudCommand(int baud);
    // The reason shown when a download fails: "Transfer error" when no file was begun, else
    // the reason of the first file that did not arrive whole. Empty when every file is whole
    // and failed is false.
    static std::string OutcomeText(const std::vector<YmodemFileResult>& files, bool failed);

  private:
    void Publish(const YmodemProgress& progress);

    CInstrumentSession& m_session;
    IDownloadOwner* m_pOwner = nullptr;
    std::atomic<int> m_nAbort{0};
    int m_nBaud = NORMAL_BAUD;  // the rate this end was last set to
    mutable std::mutex m_mutex; // guards the progress figures and the output path
    YmodemProgress m_progress;
    std::string m_strOutputPath;
    std::vector<YmodemFileResult> m_files;
    std::string m_strFailure;
};
