#include "present/ViewDataLoad.h"

#include "platform/Utf8Path.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

std::string DataFilePathFor(const std::string& stationDir, const std::string& nameOrPath)
{
    if (nameOrPath.find_first_of(PATH_SEPARATORS) != std::string::npos || stationDir.empty())
        return nameOrPath;
    return stationDir + PATH_SEPARATOR + nameOrPath;
}

std::string ViewDataErrorText(const std::string& path)
{
    return "Error, could not open the file \"" + path + ",\" file may be in use or may be empty";
}

bool LoadDataForView(const CStation& station, const std::string& path, CEnsembleList& list,
                     std::string& message)
{
    message.clear();
    if (list.Load(path, FlowSettingsTableOf(station)) > 0)
        return true;
    message = ViewDataErrorText(path);
    return false;
}
