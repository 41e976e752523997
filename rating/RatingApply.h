#pragma once
// Putting a fitted model to use: as a calculation set from a chosen time, carrying the
// station's present geometry, bins and mounting, or as the station's own model. The data
// summaries are cleared so that the ranges are worked out again with the new model, and the
// station file is saved the usual way (written beside the old one, then put in its place).
#include "data/DateTime.h"
#include "rating/RatingFit.h"

#include <string>

class CStation;

// Adds the set; false with the reason when the fit has no model or the file cannot be saved
// (the set stays added to the record in memory then).
bool ApplyRatingAsCalcSet(CStation& station, const SRatingFit& fit, const CDateTime& start,
                          std::string& error, bool save = true);
bool ApplyRatingAsStationModel(CStation& station, const SRatingFit& fit, std::string& error,
                               bool save = true);

// The default start of the set: the earliest start among the measurements.
double EarliestStart(const std::vector<SMeasurement>& rows);
