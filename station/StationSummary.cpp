#include "station/StationSummary.h"

#include "station/DataSummary.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <filesystem>

CDataSummary ToDataSummary(const SFileSummary& f)
{
    CDataSummary s;
    s.m_strFileName = f.m_strFileName;
    s.m_dtStart = CDateTime(f.m_dtStart);
    s.m_dtStop = CDateTime(f.m_dtStop);
    s.m_nEnsembles = f.m_nEnsembles;
    s.m_nEnsembleType = f.m_nEnsembleType;
    s.m_dStageMin = f.m_dStageMin;
    s.m_dStageMax = f.m_dStageMax;
    s.m_dVelocityMin = f.m_dVelocityMin;
    s.m_dVelocityMax = f.m_dVelocityMax;
    s.m_dFlowMin = f.m_dFlowMin;
    s.m_dFlowMax = f.m_dFlowMax;
    return s;
}

bool SummarizeDataFile(CStation& station, const std::string& directory, const std::string& fileName)
{
    const CStationFlowSettings settings(station);
    SFileSummary figures;
    if (!SummarizeFile((std::filesystem::path(directory) / fileName).string(), settings, figures))
        return false;
    figures.m_strFileName = fileName;
    station.AddSummary(ToDataSummary(figures));
    return true;
}

// The data files lie in the station directory, which is where the station's own file is.
bool CStation::UpdateSummary(const std::string& name)
{
    const std::filesystem::path file(GetFilePath());
    return SummarizeDataFile(*this, file.parent_path().string(), name);
}
