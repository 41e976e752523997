#pragma once
// What the instrument operations need of the window the operator looks at. The Qt
// communications dialog implements it; tidewell-tool implements it on a terminal; tests
// implement it with a recorder and scripted answers. Calls come on the thread that runs the
// operation, except the download's notifications (status, progress, the erase question),
// which come on the download's worker thread: a view with windows hands them to its own
// thread in order.
#include <memory>
#include <string>

class CSerialPort;

enum class ECommField { time, firmware, siteName, frequency };

class ICommunicationsView
{
  public:
    virtual ~ICommunicationsView() = default;

    // Status window: a line (shown with the last line in view), or empty it.
    virtual void AppendStatus(const std::string& text) = 0;
    virtual void ClearStatus() = 0;
    // "Wakeup" takes wakeup; every other operation button takes operations.
    virtual void EnableButtons(bool operations, bool wakeup) = 0;
    // The orientation button alone ("Check Orientation" / "Stop Test").
    virtual void EnableOrientationButton(bool enabled) = 0;
    virtual void SetOrientationCaption(const std::string& caption) = 0;
    // The download button alone ("Download" / "Abort") and the progress bar, 0..100.
    virtual void SetDownloadCaption(const std::string& caption) = 0;
    virtual void EnableDownloadButton(bool enabled) = 0;
    virtual void SetProgress(int percent) = 0;
    // The read-only fields of the "System" group.
    virtual void SetField(ECommField field, const std::string& text) = 0;

    virtual bool AskYesNo(const std::string& question) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void SetWaitCursor(bool waiting) = 0;
    // The 1000 ms timer whose ticks go to CCommunicationsController::Tick.
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
    // The "Set Time" dialog: offers the offset in hours, false on Cancel.
    virtual bool AskTimeZoneOffset(int& offset) = 0;
    // Opens the real-time data view on the port, which passes to it; false when the view
    // could not start (the port is then closed with it).
    virtual bool LaunchRealTimeView(std::unique_ptr<CSerialPort> port) = 0;
    // The dialog ends with the result (0 after a failed open, a refused ID, programming).
    virtual void CloseDialog(int result) = 0;
    virtual void Beep(int /*hz*/, int /*ms*/) {}
};
