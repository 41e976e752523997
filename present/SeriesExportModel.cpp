#include "present/SeriesExportModel.h"

#include "platform/Utf8Path.h"
#include "present/BackgroundWorker.h"
#include "series/SeriesTime.h"
#include "series/SeriesWaterML.h"
#include "station/Station.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

namespace
{

const char* const kTimeForms = "YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS";

std::string DateText(int64_t seconds)
{
    return FormatIsoTime(seconds, 0).substr(0, 10);
}

// The site name as a file name: anything but letters, digits, "-" and "_" becomes "_".
std::string FileSafe(const std::string& name)
{
    std::string safe;
    for (unsigned char c : name)
        safe += std::isalnum(c) || c == '-' || c == '_' ? static_cast<char>(c) : '_';
    return safe.empty() ? "series" : safe;
}

std::string Extension(int format)
{
    return format == CSeriesExportModel::FORMAT_WATERML2 ? ".xml" : ".csv";
}

} // namespace

std::vector<std::string> CSeriesExportModel::QuantityChoices()
{
    return {"All", "Stage", "Mean velocity", "Flow"};
}

std::vector<std::string> CSeriesExportModel::FormatChoices()
{
    return {"CSV", "WaterML 2.0"};
}

void CSeriesExportModel::Open(const CStation& station, const std::string& directory,
                              const std::vector<std::string>& dataFiles)
{
    m_strDirectory = directory;
    m_arrFiles.clear();
    std::optional<int64_t> first, last;
    for (const std::string& name : dataFiles) {
        SFileSpan file;
        file.m_strName = name;
        const CDataSummary* summary = station.FindSummary(name);
        if (summary && summary->m_dtStart.IsValid() && summary->m_dtStop.IsValid() &&
            summary->m_dtStart.m_dt > 0 && summary->m_dtStop.m_dt > 0) {
            file.m_bKnown = true;
            file.m_nFirst = StampToSeconds(summary->m_dtStart.m_dt);
            file.m_nLast = StampToSeconds(summary->m_dtStop.m_dt);
            first = std::min(first.value_or(file.m_nFirst), file.m_nFirst);
            last = std::max(last.value_or(file.m_nLast), file.m_nLast);
        }
        m_arrFiles.push_back(file);
    }
    m_strFrom = first ? DateText(*first) : std::string();
    m_strTo = last ? DateText(*last - *last % 86400 + 86400) : std::string();
    m_strUtcOffset = "+00:00";
    m_nQuantity = QUANTITY_ALL;
    m_nFormat = FORMAT_CSV;
    std::string name = FileSafe(station.GetSiteName());
    if (first && last)
        name += "_" + m_strFrom + "_" + m_strTo;
    m_strPath = Utf8FromPath(PathFromUtf8(directory) / PathFromUtf8(name + Extension(m_nFormat)));
    m_strTitle = "Export Series - " + station.GetSiteName();
}

void CSeriesExportModel::SetFormat(int format)
{
    m_nFormat = format;
    if (m_strPath.empty())
        return;
    std::filesystem::path path = PathFromUtf8(m_strPath);
    const std::string ext = Utf8FromPath(path.extension());
    if (ext == ".csv" || ext == ".xml" || ext.empty())
        m_strPath = Utf8FromPath(path.replace_extension(Extension(format)));
}

std::optional<SSeriesSpan> CSeriesExportModel::ParsedSpan() const
{
    const auto offset = ParseUtcOffset(m_strUtcOffset);
    if (!offset)
        return std::nullopt;
    SSeriesSpan span;
    if (!m_strFrom.empty()) {
        const auto from = ParseSeriesTime(m_strFrom, *offset);
        if (!from)
            return std::nullopt;
        span.m_nFrom = *from;
    }
    if (!m_strTo.empty()) {
        const auto to = ParseSeriesTime(m_strTo, *offset);
        if (!to)
            return std::nullopt;
        span.m_nTo = *to;
    }
    return span;
}

bool CSeriesExportModel::Validate(std::string& errors) const
{
    std::string lines;
    const auto offset = ParseUtcOffset(m_strUtcOffset);
    if (!offset)
        lines += "UTC offset: write it as +HH:MM or -HH:MM.\r\n";
    const int clock = offset.value_or(0);
    const auto from = m_strFrom.empty() ? std::optional<int64_t>() : ParseSeriesTime(m_strFrom, clock);
    const auto to = m_strTo.empty() ? std::optional<int64_t>() : ParseSeriesTime(m_strTo, clock);
    if (!m_strFrom.empty() && !from)
        lines += std::string("From: not a time; write it as ") + kTimeForms + ".\r\n";
    if (!m_strTo.empty() && !to)
        lines += std::string("To: not a time; write it as ") + kTimeForms + ".\r\n";
    if (from && to && *from >= *to)
        lines += "To: must come after From.\r\n";
    if (m_nQuantity < QUANTITY_ALL || m_nQuantity > QUANTITY_ONLY_FLOW)
        lines += "Quantity: choose one.\r\n";
    if (m_nFormat != FORMAT_CSV && m_nFormat != FORMAT_WATERML2)
        lines += "Format: choose one.\r\n";
    const std::filesystem::path path = PathFromUtf8(m_strPath);
    if (m_strPath.empty() || path.filename().empty())
        lines += "File: give the name of the file to write.\r\n";
    else if (std::error_code ec; std::filesystem::is_directory(path, ec))
        lines += "File: " + m_strPath + " is a folder.\r\n";
    if (lines.empty())
        return true;
    errors = "Error, the series cannot be exported:\r\n" + lines;
    return false;
}

size_t CSeriesExportModel::FilesInSpan() const
{
    const auto span = ParsedSpan();
    return static_cast<size_t>(std::count_if(m_arrFiles.begin(), m_arrFiles.end(), [&](const SFileSpan& f) {
        return !f.m_bKnown || !span || (f.m_nLast >= span->m_nFrom && f.m_nFirst < span->m_nTo);
    }));
}

CSeriesExportModel::SJob CSeriesExportModel::MakeJob(const CStation& station) const
{
    SJob job;
    job.m_source = SeriesSourceOf(station, m_strDirectory);
    job.m_span = ParsedSpan().value_or(SSeriesSpan{});
    job.m_options = SeriesExportOf(station);
    job.m_options.m_nUtcOffset = ParseUtcOffset(m_strUtcOffset).value_or(0);
    static const char* const quantities[] = {"all", "stage", "velocity", "flow"};
    SetQuantities(job.m_options, quantities[std::clamp(m_nQuantity, 0, 3)]);
    job.m_nFormat = m_nFormat;
    job.m_strPath = m_strPath;
    return job;
}

CSeriesExportModel::SResult CSeriesExportModel::Run(const SJob& job, const SeriesProgress& progress)
{
    SResult result;
    const auto series = BuildSeries(job.m_source, job.m_span, progress);
    if (!series) {
        result.m_bCancelled = true;
        result.m_strMessage = "The export was stopped; nothing was written.";
        return result;
    }
    if (series->IsEmpty()) {
        result.m_strMessage = "Error, there is no data in the span to export.";
        return result;
    }
    CSeriesOutput out;
    std::string error;
    if (!out.OpenFile(job.m_strPath, error)) {
        result.m_strMessage = "Error, " + job.m_strPath + " cannot be written: " + error;
        return result;
    }
    if (job.m_nFormat == FORMAT_WATERML2)
        WriteSeriesWaterML(*series, job.m_options, out);
    else
        WriteSeriesCsv(*series, job.m_options, out);
    if (!out.Commit()) {
        result.m_strMessage = "Error, " + job.m_strPath + " cannot be written: " + out.Error();
        return result;
    }
    result.m_bDone = true;
    result.m_nRows = series->m_arrRows.size();
    result.m_strMessage = std::to_string(result.m_nRows) + " ensembles exported to " + job.m_strPath + ".";
    for (const std::string& problem : series->m_arrProblems)
        result.m_strMessage += "\nWarning, a data file could not be read: " + problem;
    return result;
}

bool CSeriesExportModel::Start(CBackgroundWorker& worker, SJob job, std::function<void(const SResult&)> done)
{
    // The result travels from the job to the last notification through this holder alone.
    auto result = std::make_shared<SResult>();
    return worker.Start(
        [job = std::move(job), result](CBackgroundWorker::CContext& context) {
            *result = Run(job, [&context](size_t fileDone, size_t total) {
                context.Progress(static_cast<long long>(fileDone), static_cast<long long>(total));
                return !context.IsCancelled();
            });
        },
        [result, done = std::move(done)] {
            if (done)
                done(*result);
        });
}
