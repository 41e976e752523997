#pragma once
// What the application object asks of the person at the screen. The main window answers
// with message boxes and dialogs; the widget tests answer from a script, so every road of
// New, Copy, Delete and Application Settings runs without a modal loop.
#include <string>

class CStation;

class IAppPrompter
{
  public:
    virtual ~IAppPrompter() = default;

    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& question) = 0;
    // Runs the "Station Configuration" dialog on the record; true on OK.
    virtual bool EditStation(CStation& station, bool isNew) = 0;
    // The "Copy Station" dialog; the two texts come preset and are returned as typed.
    virtual bool AskCopyStation(std::string& siteName, std::string& group) = 0;
};
