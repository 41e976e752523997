#pragma once
// A data view's decisions, without widgets: it owns the ensemble list shown and its own copy
// of the station, knows which panes are shown, which entry is current and how the keys and
// clicks move it, and builds what each pane draws. The view paints and passes input on.
#include "data/EnsembleList.h"
#include "data/SeriesFormat.h"
#include "present/DataTable.h"
#include "present/DataViewLayout.h"
#include "present/Hydrograph.h"
#include "present/ProfileGraphs.h"

#include <memory>

class CStation;

class CDataViewModel
{
  public:
    enum class Key { Right, Down, Left, Up, Home, End, PageUp, PageDown };

    // Takes the list over and copies the station; the current entry is the first.
    CDataViewModel(const CStation& station, CEnsembleList list);
    ~CDataViewModel();

    const CStation& Station() const { return *m_pStation; }
    const CEnsembleList& List() const { return m_list; }
    const ViewUnits& Units() const { return m_arrUnits; }
    const SDataViewLayout& Layout() const { return m_layout; }
    const CHydrograph& Hydrograph() const { return m_hydrograph; }
    const CDataTable& Table() const { return *m_pTable; }

    size_t GetCount() const { return m_list.GetCount(); }
    // The current entry; -1 while the list is empty.
    long GetCurrent() const { return m_nCurrent; }
    // Appends a live ensemble to the list, the hydrograph and the table (the current entry
    // stays where it was).
    void AddEnsemble(const CEnsemble& ensemble);

    // Sets the current entry, clamped into the list.
    void SetCurrent(long entry);
    // Right and Down +1, Left and Up -1, Page Down +5, Page Up -5, Home the first, End the last;
    // clamped into the list.
    void MoveBy(Key key);
    // A click on a data row of the table (from 0).
    void RowClicked(size_t row) { SetCurrent(static_cast<long>(row)); }
    // A click in the hydrograph at time t: the entry nearest in time. False when no entry
    // has a time (nothing changes).
    bool TimeClicked(double t);

    // What the graphs of the current entry show (empty graphs while the list is empty).
    SWhiskerGraph CurrentWhisker() const;
    SProfileGraph CurrentBeamGraph(BeamGraph graph) const;
    // The time the hydrograph marks: the current entry's, or no data.
    double CurrentTime() const;

  private:
    std::unique_ptr<CStation> m_pStation;
    CEnsembleList m_list;
    ViewUnits m_arrUnits;
    SDataViewLayout m_layout;
    CHydrograph m_hydrograph;
    std::unique_ptr<CDataTable> m_pTable;
    long m_nCurrent = -1;
};

// The six view units of a station, by unit kind.
ViewUnits ViewUnitsOf(const CStation& station);
