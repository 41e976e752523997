#pragma once
// What the station information view shows, decided without widgets: the station texts,
// the geometry caption, the summary texts of the selected data file and which buttons are
// enabled. The view copies these into its controls.
#include <string>
#include <vector>

class CStation;
class CDataSummary;

class CStationInfoModel
{
  public:
    // The view's buttons, in the order they appear.
    enum Button {
        CONFIGURE,
        VIEW_DATA,
        REFRESH,
        LISTEN_REALTIME,
        PROGRAM_VELUNIT,
        PROGRAM_FLOWCOMPUTER,
        BUTTON_COUNT
    };

    // Station texts, the caption, the port and the button states for a station or none.
    // The data list and the summary texts are emptied; the caller refreshes the list
    // afterwards for a station. `loadProblem` is what the station file's load had to say:
    // a station that did not load cleanly keeps its programming buttons off.
    void ShowStation(const CStation* station, const std::string& loadProblem = {});
    // After the data list was rebuilt: the files (kept sorted by name) and the entry to
    // select (-1 none).
    void SetDataFiles(std::vector<std::string> names, int previousSelection);
    // Fills the summary texts of the selected file from the station's summary cache; with
    // no file selected they are empty, never another file's.
    void ShowDataSummary(const CStation& station);
    void ClearSummary();

    // "Left - Horizontal" .. "Bottom - Vertical"; the previous text for any other value.
    static std::string OrientationText(int mounting, const std::string& previous);
    // "Rectangular - Units in Feet" and so on; the unit name alone for an unknown type.
    static std::string GeometryCaption(int channelType, int stageUnit);
    // "min - max unit", one bound alone when the other is missing, "Not Available" for none.
    static std::string RangeText(double min, double max, int unit);
    static std::string EnsembleTypeText(int type);

    std::string m_strSiteName = "No Station Loaded";
    std::string m_strLocation = "N/A", m_strCreated = "N/A", m_strOrientation = "N/A";
    std::string m_strCaption;
    std::string m_strTitle = "Station Information";
    int m_nPortIndex = 0;

    std::vector<std::string> m_arrFiles;
    int m_nSelected = -1;

    std::string m_strStart, m_strStop, m_strEnsembles, m_strStageRange, m_strVelocityRange, m_strFlowRange,
        m_strEnsembleType;

    bool m_bEnabled[BUTTON_COUNT] = {};
    // Why a button of this station is off, for its tool tip; empty when nothing here stops it.
    std::string m_strDisabledReason[BUTTON_COUNT];
};
