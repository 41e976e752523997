#include "rating/Pairing.h"

#include "data/DataFiles.h"
#include "data/EnsembleList.h"
#include "platform/Utf8Path.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

std::vector<SRecordedSample> CollectSamples(const CEnsembleList& list)
{
    std::vector<SRecordedSample> samples;
    for (size_t i = 0; i < list.GetCount(); ++i) {
        const CEnsembleRef e = list.GetAt(i);
        if (!e.IsValid() || IsNoData(e.GetTime()))
            continue;
        samples.push_back({e.GetTime(), e.GetValue(DATATYPE_INDEX_VELOCITY), e.GetValue(DATATYPE_STAGE)});
    }
    std::stable_sort(samples.begin(), samples.end(), [](const SRecordedSample& a, const SRecordedSample& b) {
        return a.m_dTime < b.m_dTime;
    });
    return samples;
}

std::vector<SRecordedSample> LoadStationSamples(const CStation& station, const std::string& directory,
                                                std::vector<std::string>* problems)
{
    const CFlowSettingsTable settings = FlowSettingsTableOf(station);
    std::vector<SRecordedSample> all;
    for (const std::string& name : ListDataFiles(directory)) {
        CEnsembleList list;
        std::string error;
        const std::string path = Utf8FromPath(PathFromUtf8(directory) / PathFromUtf8(name));
        if (list.Load(path, settings, &error) == 0 && !error.empty() && problems)
            problems->push_back(name + ": " + error);
        const auto samples = CollectSamples(list);
        all.insert(all.end(), samples.begin(), samples.end());
    }
    std::stable_sort(all.begin(), all.end(), [](const SRecordedSample& a, const SRecordedSample& b) {
        return a.m_dTime < b.m_dTime;
    });
    return all;
}

std::string StationDataDirectory(const CStation& station)
{
    return Utf8FromPath(PathFromUtf8(station.GetFilePath()).parent_path());
}

const char* PairKindName(PairKind kind)
{
    switch (kind) {
    case PairKind::Within:
        return "within";
    case PairKind::Nearest:
        return "nearest";
    case PairKind::None:
        break;
    }
    return "none";
}

bool SRatingPoint::Usable() const
{
    return m_kind != PairKind::None && !IsNoData(m_dIndexVelocity) && !IsNoData(m_dMeasuredVelocity);
}

std::vector<SRatingPoint> PairMeasurements(const std::vector<SMeasurement>& rows,
                                           const std::vector<SRecordedSample>& samples,
                                           const CFlowSettingsTable& settings, double toleranceMinutes)
{
    const double tolerance = toleranceMinutes / (24.0 * 60.0);
    // A second's slack on the ends, so that an ensemble stamped on the measurement's last
    // second is not lost to the rounding of the day fraction.
    const double slack = 0.5 / 86400.0;
    auto byTime = [](const SRecordedSample& s, double t) { return s.m_dTime < t; };
    std::vector<SRatingPoint> points;
    points.reserve(rows.size());
    for (const SMeasurement& m : rows) {
        SRatingPoint p;
        p.m_measurement = m;
        p.m_dTime = 0.5 * (m.m_dStart + m.m_dEnd);
        const auto first = std::lower_bound(samples.begin(), samples.end(), m.m_dStart - slack, byTime);
        const auto last = std::lower_bound(first, samples.end(), m.m_dEnd + slack, byTime);
        double sumV = 0.0, sumH = 0.0;
        int nV = 0, nH = 0;
        for (auto it = first; it != last; ++it) {
            if (!IsNoData(it->m_dIndexVelocity))
                sumV += it->m_dIndexVelocity, ++nV;
            if (!IsNoData(it->m_dStage))
                sumH += it->m_dStage, ++nH;
        }
        if (nV > 0) {
            p.m_kind = PairKind::Within;
            p.m_nEnsembles = nV;
            p.m_dIndexVelocity = sumV / nV;
            p.m_dStage = nH > 0 ? sumH / nH : NODATA;
        } else {
            // The nearest ensemble with a velocity on either side of the measurement.
            const SRecordedSample* best = nullptr;
            double bestGap = tolerance + slack;
            for (auto it = std::make_reverse_iterator(first); it != samples.rend(); ++it) {
                if (IsNoData(it->m_dIndexVelocity))
                    continue;
                if (m.m_dStart - it->m_dTime <= bestGap)
                    best = &*it, bestGap = m.m_dStart - it->m_dTime;
                break;
            }
            for (auto it = last; it != samples.end(); ++it) {
                if (IsNoData(it->m_dIndexVelocity))
                    continue;
                if (it->m_dTime - m.m_dEnd < bestGap)
                    best = &*it, bestGap = it->m_dTime - m.m_dEnd;
                break;
            }
            if (best) {
                p.m_kind = PairKind::Nearest;
                p.m_nEnsembles = 1;
                p.m_dIndexVelocity = best->m_dIndexVelocity;
                p.m_dStage = best->m_dStage;
            }
        }
        if (!IsNoData(m.m_dStage))
            p.m_dStage = m.m_dStage;
        if (p.m_kind != PairKind::None && !IsNoData(p.m_dStage)) {
            p.m_dArea = settings.GetSettingsAt(p.m_dTime).m_geometry.GetArea(p.m_dStage);
            if (!IsNoData(p.m_dArea) && p.m_dArea > 0.0 && !IsNoData(m.m_dDischarge))
                p.m_dMeasuredVelocity = m.m_dDischarge / p.m_dArea * 10.0; // cm/s to mm/s
        }
        points.push_back(p);
    }
    return points;
}
