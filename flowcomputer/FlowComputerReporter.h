#pragma once
// What programming the Flow Computer shows the operator: one status line that each step
// replaces, a progress figure from 0 to 100, message boxes, and the "Exit" button that stays
// hidden while the transfer runs. The dialog implements it; the command-line tool prints.
#include <string>

class IFlowComputerReporter
{
  public:
    virtual ~IFlowComputerReporter() = default;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowExit(bool visible) = 0;
};
