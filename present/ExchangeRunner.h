#pragma once
// Where one exchange with the unit runs. An exchange talks to the unit and to nothing else
// (no status line, no question, no field), so it may run on any thread; its caller sees
// only the result. Without a runner the caller runs it itself and waits (a terminal, the
// tests of the operations); a window hands it to a worker and keeps its event loop turning
// meanwhile, so that it repaints while the unit takes its time.
#include <functional>

class IExchangeRunner
{
  public:
    virtual ~IExchangeRunner() = default;

    // Returns the exchange's result once it is over.
    virtual bool Run(const std::function<bool()>& exchange) = 0;
    // True from the start of an exchange until Run returns: whatever else the owner's
    // thread does meanwhile (a timer tick, a button) must keep off the line.
    virtual bool IsRunning() const = 0;
};
