#pragma once
// The parts of the communications dialog only a window has: the wait cursor, the 1000 ms
// timer that runs the displayed clock and the orientation stream, and the orientation
// button ("Check Orientation" / "Stop Test").
#include <string>

class ICommunicationsControls
{
  public:
    virtual ~ICommunicationsControls() = default;

    virtual void SetWaitCursor(bool waiting) = 0;
    // The timer whose ticks go to CCommunicationsController::Tick.
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
    virtual void EnableOrientationButton(bool enabled) = 0;
    virtual void SetOrientationCaption(const std::string& caption) = 0;
};
