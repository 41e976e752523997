#pragma once
// The "Edit Commands" dialog without its grid widget: the rows of the station's command
// list under a header row, edited in place, restored to the defaults with the profiling
// values worked out, and written back on OK. Row numbers are the grid's: 0 is the header
// ("Command" / "Parameter"), pair i of the list is row i + 1.
#include <string>
#include <utility>
#include <vector>

class CStation;

class CEditCommandsModel
{
  public:
    static constexpr const char* AUTO_NOTE = "WN, WS, WF, and WP are calculated automatically";

    // Fills the rows from the station's list; the station must outlive the model.
    explicit CEditCommandsModel(CStation& station);

    bool IsNoteVisible() const;
    int RowCount() const { return static_cast<int>(m_arrRows.size()) + 1; }
    // Cell text of a grid row (column 0 command, 1 parameter); the header for row 0.
    std::string Cell(int row, int column) const;
    void SetCell(int row, int column, const std::string& text);

    // An empty row: at the end when the focused row is the last one, else in front of it.
    void Insert(int focusedRow);
    // Deletes the focused row; the header stays.
    void Remove(int focusedRow);
    // The default list with the calculated profiling values, whatever the station's
    // automatic flag says; the station's list changes at once.
    void RestoreDefaults();
    // The rows become the station's list, empty rows as empty pairs.
    void Ok();

  private:
    void Fill();

    CStation& m_station;
    std::vector<std::pair<std::string, std::string>> m_arrRows;
};
