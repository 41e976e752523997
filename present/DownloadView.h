#pragma once
// The download's own controls in a window: the button that turns into "Abort", the
// progress bar, and the sound at the end of a transfer.
#include <string>

class IDownloadView
{
  public:
    virtual ~IDownloadView() = default;

    virtual void SetDownloadCaption(const std::string& caption) = 0;
    virtual void EnableDownloadButton(bool enabled) = 0;
    // 0..100.
    virtual void SetProgress(int percent) = 0;
    virtual void Beep(int hz, int ms) = 0;
};
