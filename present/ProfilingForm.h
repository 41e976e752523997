#pragma once
// The "Velocity Model" page of the Station Configuration dialog without its widgets: the
// profiling choices (frequency, sample interval, automatic calculation and its optimisation),
// the velocity range, the forced depth, the velocity model group and the calculated results.
// Loading and saving run the profiling calculations as the station's flags ask; each handler
// works on the station and shows the page again.
#include "present/FormText.h"
#include "present/VelocityModelFields.h"

#include <functional>
#include <string>

class CStation;

class CProfilingForm
{
  public:
    // Record -> form. Recalculates the profiling commands and then the velocity range
    // when their automatic flags are set, so it changes the station.
    void Load(CStation& station);
    // Form -> record, then the calculations in the same order. A calculated velocity range
    // is not read back from its (disabled) edits: it is worked out from the commands.
    void Save(CStation& station);

    // Handlers. Each one that shows the page again saves it first, so that nothing typed
    // on the page is lost by a click elsewhere on it.
    void ForcedDepthClicked(bool ticked);
    void ModelChanged(CStation& station, int index);
    void OptimizeClicked(CStation& station, int optimize);
    void AutoCalcClicked(CStation& station, bool ticked);
    void AutoVelRangeClicked(CStation& station, bool ticked);
    void FrequencyOrIntervalChanged(CStation& station);
    // "Edit Commands": saves the page, then runs the dialog on the station's list (true for
    // OK). Cancel puts the list back as it was, whatever the dialog did to it meanwhile.
    // The page is not loaded again (that would recalculate what was just typed); only the
    // results show the list as it now is.
    bool EditCommands(CStation& station, const std::function<bool(CStation&)>& run);

    // The combos' entries.
    static int FrequencyCount();
    static const char* FrequencyText(int index);
    static int IntervalCount();
    static const char* IntervalText(int index);
    static const char* OptimizeText(int optimize); // 1..3

    std::string m_strDepthUnit;

    bool m_bAutoVelRange = true;
    bool m_bVelRangeEnabled = false;
    std::string m_strVelStart, m_strVelStop;

    bool m_bForcedDepth = false;
    bool m_bForcedDepthEnabled = false;
    CNumberText m_forcedDepth;

    int m_nModelIndex = 0; // -1 for a type outside the combo
    CVelocityModelFields m_model;

    int m_nFrequencyIndex = 0; // -1 for none selected
    int m_nIntervalIndex = 0;
    bool m_bAutoCalc = true;
    bool m_bOptimizeEnabled = true;
    int m_nOptimize = 3;

    std::string m_strBinSize, m_strBlank, m_strBins, m_strPings;

  private:
    void LoadResults(const CStation& station);
};
