#pragma once
// The series as an OGC WaterML 2.0 document: a wml2:Collection holding one observation per
// chosen quantity, each with its wml2:MeasurementTimeseries (unit of measure, quality good
// and the instantaneous interpolation type as the points' defaults). A missing value is a
// nil point with its nil reason and the quality missing; a suspect value carries the
// quality suspect.
//
// Written with pugixml. The points are built and printed a block at a time into the frame
// of the document, so that a year of one-minute values never has to be held as one tree.
#include "series/SeriesExport.h"

void WriteSeriesWaterML(const CStationSeries& series, const SSeriesExport& options, CSeriesOutput& out);

// The UCUM code of a unit, as WaterML states units of measure ("m3/s", "[ft_i]").
std::string UcumCode(int unitCode);
