#pragma once
// Where a background job's notifications run: on the thread that owns the presenter, one
// after another, in the order they were posted. Post may be called from any thread.
#include <functional>

class IDispatcher
{
  public:
    virtual ~IDispatcher() = default;
    virtual void Post(std::function<void()> notification) = 0;
};
