#pragma once
// Reference discharge measurements, as the hydrographer keeps them in a CSV file: one
// moving-boat measurement a row, with its start and end on the instrument's clock.
//
//   id,start,end,discharge[,stage][,exclude][,comment]
//
// The header row names the columns (in any order; a column it does not name is an error).
// Discharge is in a flow display unit, the optional stage in a length display unit; both
// are held here in internal units (cm3/s, tenths of a millimetre).
#include "data/NoData.h"

#include <istream>
#include <string>
#include <vector>

struct SMeasurement {
    std::string m_strId;
    double m_dStart = NODATA; // time stamps, days since 30 December 1899
    double m_dEnd = NODATA;
    double m_dDischarge = NODATA; // cm3/s
    double m_dStage = NODATA;     // tenths of a millimetre; NODATA: take the recorded one
    bool m_bExclude = false;      // left out of the fit, its residual still shown
    std::string m_strComment;
    int m_nLine = 0; // line of the file it came from, 0 when typed in
};

struct SMeasurementFile {
    std::vector<SMeasurement> m_rows;
    // One line per bad row, "line N: what is wrong"; the fit does not run while there is one.
    std::vector<std::string> m_problems;
    bool Ok() const { return m_problems.empty(); }
};

// The units the file's numbers are in.
struct SMeasurementUnits {
    int m_nFlowUnits = 111;
    int m_nStageUnits = 101;
};

// "YYYY-MM-DD HH:MM:SS" to a time stamp; false for anything else (a date the calendar
// does not have included).
bool ParseMeasurementTime(const std::string& text, double& days);
std::string FormatMeasurementTime(double days);

// One measurement row from its texts, as the file and the rating window's table give them.
// Empty when the row is good, else what is wrong (without the line number).
std::string ParseMeasurementRow(const std::string& id, const std::string& start, const std::string& end,
                                const std::string& discharge, const std::string& stage,
                                const std::string& exclude, const SMeasurementUnits& units,
                                SMeasurement& row);

// One row of the file as its texts, before they are read as values: what the rating window
// shows and lets the operator correct.
struct SMeasurementTexts {
    std::string m_strId, m_strStart, m_strEnd, m_strDischarge, m_strStage, m_strExclude, m_strComment;
    int m_nLine = 0;
    std::string m_strProblem; // a required column the row does not reach, else empty
};
// The rows of a file as texts; problems receives what is wrong with the header (and then
// there are no rows).
std::vector<SMeasurementTexts> ReadMeasurementTexts(std::istream& in, std::vector<std::string>& problems);
// A row's texts as values; empty when the row is good, else what is wrong.
std::string ParseMeasurementTexts(const SMeasurementTexts& texts, const SMeasurementUnits& units,
                                  SMeasurement& row);

SMeasurementFile ReadMeasurements(std::istream& in, const SMeasurementUnits& units);
// The file at a path; a file that cannot be read gives one problem saying so.
SMeasurementFile ReadMeasurementsFile(const std::string& path, const SMeasurementUnits& units);

// The rows as a file ReadMeasurements reads back (stage written only where it was given).
std::string WriteMeasurements(const std::vector<SMeasurement>& rows, const SMeasurementUnits& units);

// A flow unit as the operator names it: its code ("110"), short name ("cu m/s") or long
// name ("Cubic meters per second"); 0 when it names no flow unit.
int FlowUnitFromName(const std::string& name);
