#pragma once
// The "Calculation Settings" dialog without its widgets: the grid of the station's
// calculation sets, and what "Create...", "Edit Selected..." and "Remove Selected" do.
// Sets are numbered from 0 in list order, which is the grid's row order; -1 is no selection.
#include "data/DateTime.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CCalcSet;
class CStation;

class CCalcSettingsForm
{
  public:
    static constexpr int COLUMNS = 7;
    static const char* ColumnTitle(int column);
    static int ColumnWidth(int column); // pixels
    static constexpr const char* EDIT_WARNING =
        "Warning, changes to calculation settings are irreversible.  Are you sure you wish to proceed?";
    static constexpr const char* REMOVE_WARNING =
        "Warning, deleting calculation settings is irreversible.  Are you sure you wish to proceed?";

    using Row = std::array<std::string, COLUMNS>;
    using Ask = std::function<bool(const std::string&)>;
    using RunSet = std::function<bool(CCalcSet&)>; // the set dialog; true for OK

    // Sorts the station's sets, then one row per set.
    static std::vector<Row> Fill(CStation& station);
    // One set's row, in the station's display units.
    static Row RowOf(const CCalcSet& set, const CStation& station);

    // A set of the station's present settings starting at `start`, given to the set dialog;
    // OK adds it to the station, Cancel drops it.
    static bool Create(CStation& station, const RunSet& run, const CDateTime& start);
    // With a set selected and Yes to the warning, the set dialog on that set. Without a
    // selection nothing happens and nothing is asked.
    static bool EditSelected(CStation& station, int set, const Ask& ask, const RunSet& run);
    static bool RemoveSelected(CStation& station, int set, const Ask& ask);
};
