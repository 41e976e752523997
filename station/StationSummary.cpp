#include "station/StationSummary.h"

#include "platform/Utf8Path.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <filesystem>

bool SummarizeDataFile(CStation& station, const std::string& directory, const std::string& fileName)
{
    CDataSummary summary;
    if (!SummarizeFile(Utf8FromPath(PathFromUtf8(directory) / PathFromUtf8(fileName)),
                       FlowSettingsTableOf(station), summary))
        return false;
    summary.m_strFileName = fileName;
    station.AddSummary(summary);
    return true;
}

// The data files lie in the station directory, which is where the station's own file is.
bool CStation::UpdateSummary(const std::string& name)
{
    const std::filesystem::path file = PathFromUtf8(GetFilePath());
    return SummarizeDataFile(*this, Utf8FromPath(file.parent_path()), name);
}
