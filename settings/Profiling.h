#pragma once
// The automatic profiling calculation: the instrument's ping time, blank, pings per ensemble,
// number of bins and bin size worked out from the frequency, the sample interval, the
// optimisation choice and the channel, and the bins averaged into the index velocity. The
// values live only in the station's command list (TP, WF, WP, WN, WS) and its velocity range.
#include "data/FlowSettings.h" // the mounting codes

#include <string>

class CStation;

// Rewrites TP, WF, WP, WN and WS in the command list. When the sample interval is not one of
// the table's, WP is left as it is: the ping count would come out negative.
void CalcProfilingSettings(CStation& station);

// Rewrites the velocity range: from bin 1 to the last bin that lies within 94 % of the
// profiling range, at most the number of bins and at least the start bin.
void CalcVelocityRange(CStation& station);

// The blank of the station's frequency in centimetres.
int GetDefaultBlank(const CStation& station);

// The seconds of the station's TE value; 0 when it is missing or not one of the table's.
int GetSampleIntervalSec(const CStation& station);

// Distances of bin i (from 0) along the beam, in tenths of a millimetre, from the channel
// edge for horizontal mounting, from the datum for bottom mounting, from the instrument for
// top mounting.
double GetBinStart(const CStation& station, int bin);
double GetBinCenter(const CStation& station, int bin);
double GetBinEnd(const CStation& station, int bin);

// The leading integer of a command parameter ("25", " 25x" -> 25; "", "x" -> 0), kept within
// the range of an int.
int CommandValueToInt(const std::string& text);
