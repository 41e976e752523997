#pragma once
// What the communications dialog shows of the unit and asks of the operator beyond the
// status window, as every client of the operations has it: the buttons (for a terminal,
// whether the unit is connected), the read-only fields of the "System" group, the
// "Set Time" question, the hand-over to the real-time view, and the dialog's end.
#include <memory>
#include <string>

class CSerialPort;

enum class ECommField { time, firmware, siteName, frequency };

class ICommunicationsView
{
  public:
    virtual ~ICommunicationsView() = default;

    // "Wakeup" takes wakeup; every other operation button takes operations.
    virtual void EnableButtons(bool operations, bool wakeup) = 0;
    virtual void SetField(ECommField field, const std::string& text) = 0;
    // The "Set Time" dialog: offers the offset in hours, false on Cancel.
    virtual bool AskTimeZoneOffset(int& offset) = 0;
    // Opens the real-time data view on the port, which passes to it; false when the view
    // could not start (the port is then closed with it).
    virtual bool LaunchRealTimeView(std::unique_ptr<CSerialPort> port) = 0;
    // The dialog ends with the result (0 after a failed open, a refused ID, programming).
    virtual void CloseDialog(int result) = 0;
};
