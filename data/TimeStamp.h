#pragma once
// Time stamps of recorded ensembles: days since 30 December 1899, or NODATA.

// The stamp of a broken-down time read from an ensemble. A time that fails the plausibility
// check, or that passes it but names no real instant (31 February, hour 24, minute 60),
// gives NODATA.
double MakeTimeStamp(int year, int month, int day, int hour, int minute, int second);
