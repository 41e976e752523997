// rating fit / apply: the index-velocity rating of a station from reference discharge
// measurements, paired with the station's recorded data as the data views compute it.
#include "data/Units.h"
#include "rating/RatingApply.h"
#include "rating/RatingReport.h"
#include "station/StationFlowSettings.h"
#include "tools/tidewell-tool/StationArg.h"

#include <cstdlib>
#include <iostream>

namespace
{

struct SRatingRun {
    std::unique_ptr<CStation> station;
    std::vector<SMeasurement> rows;
    SRatingAnalysis analysis;
};

double ParseTolerance(const ToolArgs& args)
{
    if (!args.Has("--tolerance"))
        return kDefaultToleranceMinutes;
    const std::string text = args.Value("--tolerance");
    char* end = nullptr;
    const double minutes = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(minutes >= 0.0))
        throw UsageError{"--tolerance must be a number of minutes, 0 or more: " + text};
    return minutes;
}

std::vector<RatingModel> ParseModels(const std::string& name, bool allowAll)
{
    if (name == "all" && allowAll)
        return {RatingModel::Linear, RatingModel::LinearStage, RatingModel::Power, RatingModel::Compound};
    RatingModel model;
    if (!RatingModelFromName(name, model))
        throw UsageError{"--model must be linear, linear-stage, power, compound" +
                         std::string(allowAll ? " or all" : "") + ": " + name};
    return {model};
}

SRatingRun Analyse(const ToolArgs& args, const std::vector<RatingModel>& models, StationUse use)
{
    if (!args.Positional().empty())
        throw UsageError{"unexpected argument " + args.Positional()[0]};
    if (!args.Has("--station"))
        throw UsageError{"--station is required"};
    if (!args.Has("--measurements"))
        throw UsageError{"--measurements is required"};
    const double tolerance = ParseTolerance(args);
    SRatingRun run;
    run.station = LoadStationArg(args.Value("--station"), use);
    const CStation& station = *run.station;
    SMeasurementUnits units{station.GetFlowUnits(), station.GetStageUnits()};
    if (args.Has("--flow-unit")) {
        units.m_nFlowUnits = FlowUnitFromName(args.Value("--flow-unit"));
        if (units.m_nFlowUnits == 0)
            throw UsageError{"--flow-unit names no flow unit: " + args.Value("--flow-unit")};
    }
    const std::string path = args.Value("--measurements");
    const SMeasurementFile file = ReadMeasurementsFile(path, units);
    if (!file.Ok()) {
        for (const auto& problem : file.m_problems)
            std::cerr << "tidewell-tool: " << path << ": " << problem << "\n";
        throw ToolFailure{path + ": " + std::to_string(file.m_problems.size()) +
                          (file.m_problems.size() == 1 ? " problem" : " problems") + ", nothing was fitted"};
    }
    if (file.m_rows.empty())
        throw ToolFailure{path + ": no measurements"};
    run.rows = file.m_rows;
    std::vector<std::string> problems;
    const auto samples = LoadStationSamples(station, StationDataDirectory(station), &problems);
    for (const auto& problem : problems)
        std::cerr << "tidewell-tool: " << problem << "\n";
    const auto points = PairMeasurements(run.rows, samples, FlowSettingsTableOf(station), tolerance);
    const SReportUnits reportUnits{station.GetStageUnits(), station.GetVelocityUnits(),
                                   station.GetAreaUnits(), station.GetFlowUnits()};
    run.analysis = AnalyseRating(points, models, reportUnits);
    return run;
}

void Number(JsonWriter& json, const std::string& key, double value)
{
    json.Key(key);
    if (IsNoData(value))
        json.Null();
    else
        json.Value(value);
}

void WriteJson(const SRatingAnalysis& a)
{
    const SReportUnits& u = a.m_units;
    const SRatingFit* rated = a.m_fits.empty() || !a.m_fits[0].m_bOk ? nullptr : &a.m_fits[0];
    const auto residuals =
        rated ? RatingResiduals(*rated, a.m_points) : std::vector<SRatingResidual>(a.m_points.size());
    JsonWriter json(std::cout);
    json.BeginObject();
    json.Key("measurements").BeginArray();
    for (size_t i = 0; i < a.m_points.size(); ++i) {
        const SRatingPoint& p = a.m_points[i];
        const SRatingResidual& r = residuals[i];
        json.BeginObject();
        json.Member("id", p.m_measurement.m_strId);
        Number(json, "index_velocity", ToDisplayUnits(p.m_dIndexVelocity, u.m_nVelocityUnits));
        Number(json, "stage", ToDisplayUnits(p.m_dStage, u.m_nStageUnits));
        Number(json, "area", ToDisplayUnits(p.m_dArea, u.m_nAreaUnits));
        Number(json, "measured_velocity", ToDisplayUnits(p.m_dMeasuredVelocity, u.m_nVelocityUnits));
        Number(json, "rated_velocity", ToDisplayUnits(r.m_dRated, u.m_nVelocityUnits));
        Number(json, "residual", ToDisplayUnits(r.m_dResidual, u.m_nVelocityUnits));
        Number(json, "percent", r.m_dPercent);
        json.Member("excluded", p.m_measurement.m_bExclude);
        json.Member("paired", PairKindName(p.m_kind));
        json.EndObject();
    }
    json.EndArray();
    json.Key("models").BeginArray();
    for (const SRatingFit& f : a.m_fits) {
        if (!f.m_bOk)
            continue;
        json.BeginObject();
        json.Member("model", RatingModelName(f.m_model));
        json.Key("coefficients").BeginObject();
        for (const auto& c : f.m_coefficients)
            json.Member(c.m_strLabel, c.m_dValue);
        json.EndObject();
        json.Key("stderr").BeginObject();
        for (const auto& c : f.m_coefficients)
            Number(json, c.m_strLabel, c.m_dStdErr);
        json.EndObject();
        json.Key("ci95").BeginObject();
        for (const auto& c : f.m_coefficients) {
            json.Key(c.m_strLabel);
            if (IsNoData(c.m_dStdErr))
                json.Null();
            else
                json.BeginArray().Value(c.m_dLow).Value(c.m_dHigh).EndArray();
        }
        json.EndObject();
        json.Member("n", f.m_nN);
        Number(json, "r2", f.m_dR2);
        Number(json, "adj_r2", f.m_dAdjR2);
        Number(json, "se", f.m_dSe);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.Finish();
}

// A model that could not be fitted is told on standard error; the run fails when none was.
void TellFailedFits(const SRatingAnalysis& a)
{
    bool any = false;
    for (const SRatingFit& f : a.m_fits) {
        if (f.m_bOk)
            any = true;
        else
            std::cerr << "tidewell-tool: " << f.m_strError << "\n";
    }
    if (!any)
        throw ToolFailure{"no model could be fitted"};
}

int RunRatingFit(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--measurements", "--model", "--tolerance", "--flow-unit"},
                    {"--json"});
    const auto models = ParseModels(parsed.Value("--model", "all"), true);
    const SRatingRun run = Analyse(parsed, models, StationUse::Show);
    if (parsed.Has("--json"))
        WriteJson(run.analysis);
    else
        std::cout << FormatRatingReport(run.analysis, run.station->GetSiteName());
    std::cout.flush();
    TellFailedFits(run.analysis);
    return std::cout.good() ? 0 : 1;
}

std::string Coefficients(const SRatingFit& fit)
{
    std::string text;
    for (const auto& c : fit.m_coefficients)
        text += (text.empty() ? "" : ", ") + c.m_strLabel + " = " + ReportNumber(c.m_dValue);
    return text;
}

int RunRatingApply(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--measurements", "--model", "--tolerance", "--flow-unit", "--from"},
                    {"--station-model"});
    if (!parsed.Has("--model"))
        throw UsageError{"--model is required"};
    if (parsed.Has("--from") && parsed.Has("--station-model"))
        throw UsageError{"--from and --station-model exclude each other"};
    double from = NODATA;
    if (parsed.Has("--from") && !ParseMeasurementTime(parsed.Value("--from"), from))
        throw UsageError{"--from must be a time of the form \"YYYY-MM-DD HH:MM:SS\": " +
                         parsed.Value("--from")};
    const auto models = ParseModels(parsed.Value("--model"), false);
    SRatingRun run = Analyse(parsed, models, StationUse::Act);
    const SRatingFit& fit = run.analysis.m_fits[0];
    if (!fit.m_bOk)
        throw ToolFailure{fit.m_strError};
    std::string error;
    if (parsed.Has("--station-model")) {
        if (!ApplyRatingAsStationModel(*run.station, fit, error))
            throw ToolFailure{error};
        std::cout << "The station's own velocity model is now " << RatingModelTitle(fit.m_model) << ": "
                  << Coefficients(fit) << "\n";
        return 0;
    }
    if (IsNoData(from))
        from = EarliestStart(run.rows);
    if (!ApplyRatingAsCalcSet(*run.station, fit, CDateTime(from), error))
        throw ToolFailure{error};
    std::cout << "Added a calculation set from " << FormatMeasurementTime(from) << " with the "
              << RatingModelTitle(fit.m_model) << " model: " << Coefficients(fit) << "\n";
    return 0;
}

const ToolCommandRegistration regFit{
    {"rating", "fit",
     "rating fit --station FILE --measurements CSV [--model linear|linear-stage|power|compound|all] [--json] "
     "[--tolerance MINUTES] [--flow-unit UNIT]",
     "fit the velocity model to reference discharge measurements paired with the station's recorded data "
     "(writes nothing)",
     &RunRatingFit}};
const ToolCommandRegistration regApply{
    {"rating", "apply",
     "rating apply --station FILE --measurements CSV --model M [--from \"YYYY-MM-DD HH:MM:SS\" | "
     "--station-model] "
     "[--tolerance MINUTES] [--flow-unit UNIT]",
     "fit one model and add it to the station as a calculation set from a time (default: the first "
     "measurement's start), or make it the station's own model",
     &RunRatingApply}};

} // namespace
