#include "present/VelocityRatingModel.h"

#include "data/Units.h"
#include "platform/RegularFile.h"
#include "platform/Utf8Path.h"
#include "rating/RatingApply.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace
{

// Enough figures to tell measurements apart in any unit, without an exponent for the sizes
// a channel has.
std::string Cell(double value)
{
    if (IsNoData(value))
        return {};
    char text[48];
    if (std::fabs(value) >= 1000.0)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

std::string Percent(double value)
{
    if (IsNoData(value))
        return {};
    char text[48];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

void CVelocityRatingModel::Open(CStation* station, const std::string& dataDirectory)
{
    std::vector<std::string> problems;
    auto samples =
        station ? LoadStationSamples(*station, dataDirectory, &problems) : std::vector<SRecordedSample>();
    Open(station, std::move(samples));
    m_dataNotes = problems;
}

void CVelocityRatingModel::Open(CStation* station, std::vector<SRecordedSample> samples)
{
    m_pStation = station;
    m_samples = std::move(samples);
    m_fileProblems.clear();
    m_dataNotes.clear();
    Recompute();
}

bool CVelocityRatingModel::Import(const std::string& path)
{
    std::vector<uint8_t> bytes;
    std::string reason;
    m_fileProblems.clear();
    if (!ReadRegularFile(path, bytes, reason)) {
        m_fileProblems.push_back("cannot read " + path + ": " + reason);
        Recompute();
        return false;
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> problems;
    auto rows = ReadMeasurementTexts(in, problems);
    if (!problems.empty()) {
        m_fileProblems = problems;
        Recompute();
        return false;
    }
    m_rows = std::move(rows);
    Recompute();
    return true;
}

bool CVelocityRatingModel::Export(const std::string& path, std::string& error) const
{
    if (!m_problems.empty()) {
        error = "correct the rows marked bad first";
        return false;
    }
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out << WriteMeasurements(m_good, InputUnits());
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

SMeasurementUnits CVelocityRatingModel::InputUnits() const
{
    if (!m_pStation)
        return {};
    return {m_pStation->GetFlowUnits(), m_pStation->GetStageUnits()};
}

SReportUnits CVelocityRatingModel::Units() const
{
    if (!m_pStation)
        return {};
    return {m_pStation->GetStageUnits(), m_pStation->GetVelocityUnits(), m_pStation->GetAreaUnits(),
            m_pStation->GetFlowUnits()};
}

void CVelocityRatingModel::Recompute()
{
    m_problems = m_fileProblems;
    m_good.clear();
    m_pointOfRow.assign(m_rows.size(), -1);
    const SMeasurementUnits units = InputUnits();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        SMeasurement m;
        const std::string problem = ParseMeasurementTexts(m_rows[i], units, m);
        if (!problem.empty()) {
            std::string where = "row " + std::to_string(i + 1);
            if (m_rows[i].m_nLine > 0)
                where += " (line " + std::to_string(m_rows[i].m_nLine) + ")";
            m_problems.push_back(where + ": " + problem);
            continue;
        }
        m_pointOfRow[i] = static_cast<int>(m_good.size());
        m_good.push_back(m);
    }
    m_points = m_pStation ? PairMeasurements(m_good, m_samples, FlowSettingsTableOf(*m_pStation))
                          : std::vector<SRatingPoint>();
    const SReportUnits u = Units();
    m_fit = SRatingFit();
    if (m_problems.empty())
        m_fit = FitRating(m_model, m_points, {u.m_nStageUnits, u.m_nVelocityUnits});
    else
        m_fit.m_strError = "the fit waits until every row is good";
    m_residuals = RatingResiduals(m_fit, m_points);
}

std::string CVelocityRatingModel::ColumnTitle(int column) const
{
    const SReportUnits u = Units();
    const std::string v = " (" + UnitAbbreviation(u.m_nVelocityUnits) + ")";
    switch (column) {
    case COL_ID:
        return "Id";
    case COL_START:
        return "Start";
    case COL_END:
        return "End";
    case COL_DISCHARGE:
        return "Discharge (" + UnitAbbreviation(u.m_nFlowUnits) + ")";
    case COL_GIVEN_STAGE:
        return "Given Stage (" + UnitAbbreviation(u.m_nStageUnits) + ")";
    case COL_EXCLUDE:
        return "Exclude";
    case COL_COMMENT:
        return "Comment";
    case COL_PAIRED:
        return "Paired";
    case COL_INDEX_VELOCITY:
        return "Index Vel." + v;
    case COL_STAGE:
        return "Stage (" + UnitAbbreviation(u.m_nStageUnits) + ")";
    case COL_AREA:
        return "Area (" + UnitAbbreviation(u.m_nAreaUnits) + ")";
    case COL_MEASURED:
        return "Measured" + v;
    case COL_RATED:
        return "Rated" + v;
    case COL_RESIDUAL:
        return "Residual" + v;
    case COL_PERCENT:
        return "%";
    default:
        return {};
    }
}

std::string CVelocityRatingModel::GetCell(int row, int column) const
{
    if (row < 0 || row >= GetRowCount())
        return {};
    const SMeasurementTexts& t = m_rows[static_cast<size_t>(row)];
    switch (column) {
    case COL_ID:
        return t.m_strId;
    case COL_START:
        return t.m_strStart;
    case COL_END:
        return t.m_strEnd;
    case COL_DISCHARGE:
        return t.m_strDischarge;
    case COL_GIVEN_STAGE:
        return t.m_strStage;
    case COL_EXCLUDE:
        return IsExcluded(row) ? "1" : "0";
    case COL_COMMENT:
        return t.m_strComment;
    default:
        break;
    }
    const int k = m_pointOfRow[static_cast<size_t>(row)];
    if (k < 0)
        return column == COL_PAIRED ? "bad row" : std::string();
    const SRatingPoint& p = m_points[static_cast<size_t>(k)];
    const SRatingResidual& r = m_residuals[static_cast<size_t>(k)];
    const SReportUnits u = Units();
    switch (column) {
    case COL_PAIRED:
        if (p.m_kind == PairKind::Within)
            return "within (" + std::to_string(p.m_nEnsembles) + ")";
        return PairKindName(p.m_kind);
    case COL_INDEX_VELOCITY:
        return Cell(ToDisplayUnits(p.m_dIndexVelocity, u.m_nVelocityUnits));
    case COL_STAGE:
        return Cell(ToDisplayUnits(p.m_dStage, u.m_nStageUnits));
    case COL_AREA:
        return Cell(ToDisplayUnits(p.m_dArea, u.m_nAreaUnits));
    case COL_MEASURED:
        return Cell(ToDisplayUnits(p.m_dMeasuredVelocity, u.m_nVelocityUnits));
    case COL_RATED:
        return Cell(ToDisplayUnits(r.m_dRated, u.m_nVelocityUnits));
    case COL_RESIDUAL:
        return Cell(ToDisplayUnits(r.m_dResidual, u.m_nVelocityUnits)) + (r.m_bOutlier ? " *" : "");
    case COL_PERCENT:
        return Percent(r.m_dPercent);
    default:
        return {};
    }
}

void CVelocityRatingModel::SetCell(int row, int column, const std::string& text)
{
    if (row < 0 || row >= GetRowCount() || !IsEditable(column))
        return;
    SMeasurementTexts& t = m_rows[static_cast<size_t>(row)];
    // Whatever was missing from the file's line, the operator has now typed.
    t.m_strProblem.clear();
    std::string* fields[] = {&t.m_strId,    &t.m_strStart,   &t.m_strEnd,    &t.m_strDischarge,
                             &t.m_strStage, &t.m_strExclude, &t.m_strComment};
    *fields[column] = text;
    Recompute();
}

void CVelocityRatingModel::SetExcluded(int row, bool excluded)
{
    SetCell(row, COL_EXCLUDE, excluded ? "1" : "0");
}

bool CVelocityRatingModel::IsExcluded(int row) const
{
    if (row < 0 || row >= GetRowCount())
        return false;
    const std::string& e = m_rows[static_cast<size_t>(row)].m_strExclude;
    return e.find('1') != std::string::npos;
}

bool CVelocityRatingModel::IsOutlier(int row) const
{
    if (row < 0 || row >= GetRowCount())
        return false;
    const int k = m_pointOfRow[static_cast<size_t>(row)];
    return k >= 0 && m_residuals[static_cast<size_t>(k)].m_bOutlier;
}

void CVelocityRatingModel::AddRow()
{
    SMeasurementTexts t;
    t.m_strExclude = "0";
    m_rows.push_back(t);
    Recompute();
}

void CVelocityRatingModel::RemoveRow(int row)
{
    if (row < 0 || row >= GetRowCount())
        return;
    m_rows.erase(m_rows.begin() + row);
    Recompute();
}

std::vector<std::string> CVelocityRatingModel::ModelTitles()
{
    return {RatingModelTitle(RatingModel::Linear), RatingModelTitle(RatingModel::LinearStage),
            RatingModelTitle(RatingModel::Power), RatingModelTitle(RatingModel::Compound)};
}

void CVelocityRatingModel::SetModel(RatingModel model)
{
    m_model = model;
    Recompute();
}

std::string CVelocityRatingModel::Report() const
{
    if (!m_problems.empty()) {
        std::string text = "The fit waits until every row is good:\n";
        for (const auto& p : m_problems)
            text += "  " + p + "\n";
        return text;
    }
    if (m_rows.empty())
        return "Import a measurements file (id, start, end, discharge; optionally stage, exclude, comment), "
               "or add rows and type them in.\n";
    SRatingAnalysis a;
    a.m_points = m_points;
    a.m_units = Units();
    a.m_fits.push_back(m_fit);
    std::string text = FormatRatingReport(a, m_pStation ? m_pStation->GetSiteName() : std::string());
    for (const auto& note : m_dataNotes)
        text += "Data file not read: " + note + "\n";
    return text;
}

CVelocityRatingModel::SPlot CVelocityRatingModel::Plot() const
{
    SPlot plot;
    const SReportUnits u = Units();
    auto vel = [&](double v) { return ToDisplayUnits(v, u.m_nVelocityUnits); };
    double lo = 0.0, hi = 0.0, stageSum = 0.0, tFirst = 0.0, tLast = 0.0;
    int stageCount = 0;
    bool any = false, anyTime = false;
    for (size_t i = 0; i < m_points.size(); ++i) {
        const SRatingPoint& p = m_points[i];
        if (!p.Usable())
            continue;
        const std::pair<double, double> xy(vel(p.m_dIndexVelocity), vel(p.m_dMeasuredVelocity));
        const bool excluded = p.m_measurement.m_bExclude;
        (excluded ? plot.m_excluded : plot.m_fitted).push_back(xy);
        if (m_residuals[i].m_bOutlier)
            plot.m_outliers.push_back(xy);
        if (!excluded) {
            lo = any ? std::min(lo, p.m_dIndexVelocity) : p.m_dIndexVelocity;
            hi = any ? std::max(hi, p.m_dIndexVelocity) : p.m_dIndexVelocity;
            any = true;
            if (!IsNoData(p.m_dStage))
                stageSum += p.m_dStage, ++stageCount;
        }
        if (!IsNoData(m_residuals[i].m_dResidual)) {
            (excluded ? plot.m_excludedResiduals : plot.m_residuals)
                .emplace_back(p.m_dTime, vel(m_residuals[i].m_dResidual));
            tFirst = anyTime ? std::min(tFirst, p.m_dTime) : p.m_dTime;
            tLast = anyTime ? std::max(tLast, p.m_dTime) : p.m_dTime;
            anyTime = true;
        }
    }
    if (anyTime) {
        const bool days = tLast - tFirst > 3.0;
        const double scale = days ? 1.0 : 24.0;
        for (auto* series : {&plot.m_residuals, &plot.m_excludedResiduals})
            for (auto& point : *series)
                point.first = (point.first - tFirst) * scale;
        plot.m_zero.emplace_back(0.0, 0.0);
        plot.m_zero.emplace_back((tLast - tFirst) * scale, 0.0);
        plot.m_strTimeTitle = std::string(days ? "Days" : "Hours") + " from " + CDateTime(tFirst).Format();
    }
    if (m_fit.m_bOk && any && hi > lo) {
        const double stage = stageCount ? stageSum / stageCount : NODATA;
        const int steps = 100;
        for (int s = 0; s <= steps; ++s) {
            const double vi = lo + (hi - lo) * s / steps;
            // Both ends of the compound model's step, so that the jump at Vc is drawn upright.
            const double vc = m_fit.m_dCritVelocity;
            if (m_fit.m_nModelType == MODEL_COMPOUND && s > 0 && lo + (hi - lo) * (s - 1) / steps < vc &&
                vi >= vc) {
                for (double at : {vc, std::nextafter(vc, hi + 1.0)}) {
                    const double v = m_fit.RatedVelocity(at, stage);
                    if (!IsNoData(v))
                        plot.m_curve.emplace_back(vel(at), vel(v));
                }
                if (vi == vc)
                    continue;
            }
            const double v = m_fit.RatedVelocity(vi, stage);
            if (!IsNoData(v))
                plot.m_curve.emplace_back(vel(vi), vel(v));
        }
    }
    return plot;
}

std::string CVelocityRatingModel::VelocityTitle() const
{
    return "Mean Velocity (" + UnitAbbreviation(Units().m_nVelocityUnits) + ")";
}

std::string CVelocityRatingModel::IndexTitle() const
{
    return "Index Velocity (" + UnitAbbreviation(Units().m_nVelocityUnits) + ")";
}

std::string CVelocityRatingModel::ResidualTitle() const
{
    return "Residual (" + UnitAbbreviation(Units().m_nVelocityUnits) + ")";
}

double CVelocityRatingModel::DefaultApplyStart() const
{
    const double first = EarliestStart(m_good);
    return IsNoData(first) ? CDateTime::Now().m_dt : first;
}

bool CVelocityRatingModel::ApplyFrom(double start, std::string& message)
{
    if (!m_pStation || !CanApply()) {
        message = m_fit.m_strError.empty() ? "There is no fitted model to apply."
                                           : "Cannot apply: " + m_fit.m_strError;
        return false;
    }
    std::string error;
    if (!ApplyRatingAsCalcSet(*m_pStation, m_fit, CDateTime(start), error, m_bSaveOnApply)) {
        message = "Error, " + error + ".";
        return false;
    }
    message = "Added a calculation set from " + CDateTime(start).Format() + " with the " +
              RatingModelTitle(m_fit.m_model) + " model.";
    return true;
}

bool CVelocityRatingModel::ApplyAsStationModel(std::string& message)
{
    if (!m_pStation || !CanApply()) {
        message = m_fit.m_strError.empty() ? "There is no fitted model to apply."
                                           : "Cannot apply: " + m_fit.m_strError;
        return false;
    }
    std::string error;
    if (!ApplyRatingAsStationModel(*m_pStation, m_fit, error, m_bSaveOnApply)) {
        message = "Error, " + error + ".";
        return false;
    }
    message = std::string("The station's own velocity model is now the fitted ") +
              RatingModelTitle(m_fit.m_model) + " model.";
    return true;
}
