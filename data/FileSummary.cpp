#include "data/FileSummary.h"

#include "data/EnsembleFormat.h"
#include "platform/Utf8Path.h"

#include <filesystem>

namespace
{

struct Range {
    double min = NODATA;
    double max = NODATA;
    void Take(double v)
    {
        if (IsNoData(v))
            return;
        if (v > max)
            max = v;
        if (v < min || IsNoData(min))
            min = v;
    }
};

} // namespace

const char* CDataSummary::EnsembleTypeName(int32_t type)
{
    if (type == ENSEMBLE_MIXED)
        return "Mixed";
    const SEnsembleFormat* format = type >= 0 ? EnsembleFormatOf(static_cast<unsigned>(type)) : nullptr;
    return format ? format->m_pszName : "Unknown";
}

CDataSummary SummarizeList(const CEnsembleList& list)
{
    CDataSummary s;
    const size_t n = list.GetCount();
    s.m_nEnsembles = static_cast<int>(n);
    if (n == 0)
        return s;
    const double start = list.GetAt(0).GetTime();
    const double stop = list.GetAt(n - 1).GetTime();
    s.m_dtStart = CDateTime(IsNoData(start) ? 0.0 : start);
    s.m_dtStop = CDateTime(IsNoData(stop) ? 0.0 : stop);

    int type = ENSEMBLE_SEPARATOR;
    Range stage, velocity, flow;
    for (size_t i = 0; i < n; ++i) {
        const SEnsembleRecord& rec = list.GetAt(i).GetRecord();
        if (type == ENSEMBLE_SEPARATOR)
            type = rec.m_nType;
        else if (type != ENSEMBLE_MIXED && rec.m_nType != ENSEMBLE_SEPARATOR && rec.m_nType != type)
            type = ENSEMBLE_MIXED;
        // Separators hold no data in their derived values, so they pass over themselves.
        stage.Take(rec.m_dStage);
        velocity.Take(rec.m_dMeanVelocity);
        flow.Take(rec.m_dFlow);
    }
    s.m_nEnsembleType = type;
    s.m_dStageMin = stage.min;
    s.m_dStageMax = stage.max;
    s.m_dVelocityMin = velocity.min;
    s.m_dVelocityMax = velocity.max;
    s.m_dFlowMin = flow.min;
    s.m_dFlowMax = flow.max;
    return s;
}

bool SummarizeFile(const std::string& path, const CFlowSettingsTable& settings, CDataSummary& summary,
                   std::string* error)
{
    CEnsembleList list;
    if (list.Load(path, settings, error) == 0)
        return false;
    summary = SummarizeList(list);
    summary.m_strFileName = Utf8FromPath(PathFromUtf8(path).filename());
    return true;
}
