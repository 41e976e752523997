#include "rating/RatingApply.h"

#include "station/Station.h"

#include <algorithm>

namespace
{

bool Finish(CStation& station, bool save, std::string& error)
{
    station.ClearSummaries();
    if (save && !station.Save()) {
        error = "the station file " + station.GetFilePath() + " could not be saved";
        return false;
    }
    return true;
}

} // namespace

bool ApplyRatingAsCalcSet(CStation& station, const SRatingFit& fit, const CDateTime& start,
                          std::string& error, bool save)
{
    if (!fit.m_bOk) {
        error = fit.m_strError.empty() ? "there is no fitted model to apply" : fit.m_strError;
        return false;
    }
    if (!start.IsValid()) {
        error = "the start time is not valid";
        return false;
    }
    auto set = station.MakeCalcSet(start);
    set->m_settings = fit.ApplyTo(set->m_settings);
    station.AddCalcSet(std::move(set));
    return Finish(station, save, error);
}

bool ApplyRatingAsStationModel(CStation& station, const SRatingFit& fit, std::string& error, bool save)
{
    if (!fit.m_bOk) {
        error = fit.m_strError.empty() ? "there is no fitted model to apply" : fit.m_strError;
        return false;
    }
    station.SetVelocityModel(static_cast<VelocityModel>(fit.m_nModelType));
    for (int i = 0; i < 4; ++i)
        station.SetModelCoef(fit.m_dModelCoef[i], i);
    station.SetCritVelocity(fit.m_dCritVelocity);
    return Finish(station, save, error);
}

double EarliestStart(const std::vector<SMeasurement>& rows)
{
    double earliest = NODATA;
    for (const auto& m : rows)
        if (IsNoData(earliest) || m.m_dStart < earliest)
            earliest = m.m_dStart;
    return earliest;
}
