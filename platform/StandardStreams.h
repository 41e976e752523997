#pragma once
// The program's standard streams as the system sees them.

// Whether standard output, or standard error, is a terminal (a console window on Windows)
// rather than a file or a pipe.
bool StandardOutputIsTerminal();
bool StandardErrorIsTerminal();

// Makes standard output carry bytes exactly as written. Only Windows translates line ends on
// its way out; elsewhere this does nothing. Call it before anything is written.
void SetStandardOutputBinary();
