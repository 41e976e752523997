#include "rating/RatingReport.h"

#include "data/Units.h"

#include <cstdio>

SRatingAnalysis AnalyseRating(const std::vector<SRatingPoint>& points, const std::vector<RatingModel>& models,
                              const SReportUnits& units)
{
    SRatingAnalysis a;
    a.m_points = points;
    a.m_units = units;
    for (RatingModel m : models)
        a.m_fits.push_back(FitRating(m, points, {units.m_nStageUnits, units.m_nVelocityUnits}));
    return a;
}

std::string ReportNumber(double value)
{
    if (IsNoData(value))
        return "-";
    char text[48];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

namespace
{

std::string Pad(const std::string& text, size_t width, bool right = true)
{
    if (text.size() >= width)
        return text;
    return right ? std::string(width - text.size(), ' ') + text
                 : text + std::string(width - text.size(), ' ');
}

// A value of the measurement table: four significant figures, which is what a discharge
// measurement is good for; "-" for no data.
std::string TableNumber(double value, const char* format = "%.4g")
{
    if (IsNoData(value))
        return "-";
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// One column of the table, right-aligned with at least one space before it.
std::string Col(const std::string& text, size_t width)
{
    return " " + Pad(text, width);
}

} // namespace

std::string FormatRatingReport(const SRatingAnalysis& a, const std::string& title)
{
    const SReportUnits& u = a.m_units;
    std::string out;
    if (!title.empty())
        out += "Velocity rating: " + title + "\n";
    int paired = 0, excluded = 0, unpaired = 0, nearest = 0;
    for (const auto& p : a.m_points) {
        if (p.m_kind == PairKind::None)
            ++unpaired;
        else
            ++paired;
        nearest += p.m_kind == PairKind::Nearest;
        excluded += p.m_measurement.m_bExclude;
    }
    out += "Measurements: " + std::to_string(a.m_points.size()) + " (" + std::to_string(paired) +
           " paired, " + std::to_string(nearest) + " with the nearest ensemble, " + std::to_string(unpaired) +
           " unpaired, " + std::to_string(excluded) + " excluded)\n";

    const SRatingFit* first = nullptr;
    for (const SRatingFit& f : a.m_fits) {
        out += "\n" + std::string(RatingModelTitle(f.m_model)) + ": " + RatingModelEquation(f.m_model);
        if (!f.m_bOk) {
            out += "\n  " + f.m_strError + "\n";
            continue;
        }
        if (!first)
            first = &f;
        if (f.m_nModelType == MODEL_LINEAR)
            out +=
                "  (V, Vi in " + UnitAbbreviation(u.m_nVelocityUnits) +
                (f.m_model == RatingModel::LinearStage ? ", H in " + UnitAbbreviation(u.m_nStageUnits) : "") +
                ")\n";
        else
            out += "  (V, Vi in mm/s" +
                   std::string(f.m_model == RatingModel::Compound
                                   ? ", Vc in " + UnitAbbreviation(u.m_nVelocityUnits)
                                   : "") +
                   ")\n";
        out += "  " + Pad("", 4, false) + Pad("value", 14) + Pad("std. error", 14) +
               Pad("95 % interval", 30) + "\n";
        for (const auto& c : f.m_coefficients) {
            std::string ci =
                IsNoData(c.m_dStdErr) ? "-" : ReportNumber(c.m_dLow) + " .. " + ReportNumber(c.m_dHigh);
            out += "  " + Pad(c.m_strLabel, 4, false) + Pad(ReportNumber(c.m_dValue), 14) +
                   Pad(ReportNumber(c.m_dStdErr), 14) + Pad(ci, 30) + "\n";
        }
        out += "  n = " + std::to_string(f.m_nN) + "   R2 = " + ReportNumber(f.m_dR2) +
               "   adjusted R2 = " + ReportNumber(f.m_dAdjR2) +
               "   standard error = " + ReportNumber(f.m_dSe) + " " + f.FitUnitName() + "\n";
    }

    const std::string vu = UnitAbbreviation(u.m_nVelocityUnits);
    out += "\nMeasurements";
    if (first)
        out += ", rated with the " + std::string(RatingModelTitle(first->m_model)) + " model";
    out += " (velocities in " + vu + ", stage in " + UnitAbbreviation(u.m_nStageUnits) + ", area in " +
           UnitAbbreviation(u.m_nAreaUnits) + ")\n";
    out += Pad("id", 10, false) + Pad("paired", 8, false) + Col("index", 10) + Col("stage", 9) +
           Col("area", 9) + Col("measured", 10) + Col("rated", 10) + Col("residual", 10) + Col("%", 7) + "\n";
    const auto residuals =
        first ? RatingResiduals(*first, a.m_points) : std::vector<SRatingResidual>(a.m_points.size());
    for (size_t i = 0; i < a.m_points.size(); ++i) {
        const SRatingPoint& p = a.m_points[i];
        const SRatingResidual& r = residuals[i];
        auto vel = [&](double v) { return TableNumber(ToDisplayUnits(v, u.m_nVelocityUnits)); };
        std::string line = Pad(p.m_measurement.m_strId, 10, false) + Pad(PairKindName(p.m_kind), 8, false) +
                           Col(vel(p.m_dIndexVelocity), 10) +
                           Col(TableNumber(ToDisplayUnits(p.m_dStage, u.m_nStageUnits)), 9) +
                           Col(TableNumber(ToDisplayUnits(p.m_dArea, u.m_nAreaUnits)), 9) +
                           Col(vel(p.m_dMeasuredVelocity), 10) + Col(vel(r.m_dRated), 10) +
                           Col(vel(r.m_dResidual), 10) + Col(TableNumber(r.m_dPercent, "%.1f"), 7);
        if (r.m_bOutlier)
            line += " *";
        if (p.m_measurement.m_bExclude)
            line += " excluded";
        out += line + "\n";
    }
    if (first)
        out += "* residual beyond two standard errors of the estimate\n";
    return out;
}
