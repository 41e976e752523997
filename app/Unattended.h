#pragma once
// An unattended run (tidewell --grab): nobody is at the screen, so no window may wait for an
// answer. A window about to show a message box asks Report() first; in such a run the text
// goes to standard error as one line and the box is not shown. Questions take their safe
// answer (No), and the run's picture waits on the application's grab gate.
#include <QString>

namespace unattended
{

bool IsOn();
void SetOn(bool on);

// True when the text was reported on standard error (the caller shows nothing).
bool Report(const QString& text);

} // namespace unattended
