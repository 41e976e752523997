#pragma once
// Data summaries of a station's recorded files.
#include "data/FileSummary.h"

#include <string>

class CStation;

// Loads directory/fileName with the station's settings and calculation sets and, when it
// holds a valid ensemble, appends its summary to the station. False when nothing was added.
bool SummarizeDataFile(CStation& station, const std::string& directory, const std::string& fileName);
