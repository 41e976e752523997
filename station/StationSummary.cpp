#include "station/StationSummary.h"

#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <filesystem>

bool SummarizeDataFile(CStation& station, const std::string& directory, const std::string& fileName)
{
    CDataSummary summary;
    if (!SummarizeFile((std::filesystem::path(directory) / fileName).string(), FlowSettingsTableOf(station),
                       summary))
        return false;
    summary.m_strFileName = fileName;
    station.AddSummary(summary);
    return true;
}

// The data files lie in the station directory, which is where the station's own file is.
bool CStation::UpdateSummary(const std::string& name)
{
    const std::filesystem::path file(GetFilePath());
    return SummarizeDataFile(*this, file.parent_path().string(), name);
}
