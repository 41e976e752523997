#pragma once
// "View Data": which file a name means and what reading it gives the new data view.
#include "data/EnsembleList.h"

#include <string>

class CStation;

// A bare name is one of the station's data files, in its folder; anything with a folder in
// it is a path as given.
std::string DataFilePathFor(const std::string& stationDir, const std::string& nameOrPath);

// The message when a data file could not be read, or held nothing to show.
std::string ViewDataErrorText(const std::string& path);

// Reads a data file with the station's settings and calculation sets. The view opens with
// whatever was read; message is set (and false returned) when nothing could be.
bool LoadDataForView(const CStation& station, const std::string& path, CEnsembleList& list,
                     std::string& message);
