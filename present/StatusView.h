#pragma once
// The operator's side of every instrument operation: the status window and the questions.
// The communications dialog shows it in its window; tidewell-tool prints it; tests record
// it and answer from a script. Called on the thread that owns the presenter.
#include <string>

class IStatusView
{
  public:
    virtual ~IStatusView() = default;

    // A line, shown with the last line in view; or empty the window.
    virtual void AppendStatus(const std::string& text) = 0;
    virtual void ClearStatus() = 0;
    virtual bool AskYesNo(const std::string& question) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};
