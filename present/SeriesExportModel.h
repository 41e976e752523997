#pragma once
// What the "Export Series" window decides, without its widgets: the span, quantity, format,
// clock offset and file it proposes for the current station, whether what was typed can be
// exported, whether the export is long enough to show progress, and the export itself as a
// job of plain values that runs on the background worker.
#include "series/SeriesExport.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CBackgroundWorker;
class CStation;

class CSeriesExportModel
{
  public:
    enum Quantity { QUANTITY_ALL, QUANTITY_ONLY_STAGE, QUANTITY_ONLY_VELOCITY, QUANTITY_ONLY_FLOW };
    enum Format { FORMAT_CSV, FORMAT_WATERML2 };
    // Progress is shown when the span holds more files than this.
    static constexpr size_t FEW_FILES = 3;

    // The texts of the two combos, in the order of the enums.
    static std::vector<std::string> QuantityChoices();
    static std::vector<std::string> FormatChoices();

    // Fills the fields for a station: the span of all its data (from the first day of the
    // first file's data to the day after the last file's, by the station's data summaries),
    // every quantity, CSV, clock offset +00:00, and a file in the station directory named
    // after the site and the span. dataFiles are the names of the station's data files.
    void Open(const CStation& station, const std::string& directory,
              const std::vector<std::string>& dataFiles);

    // A new format keeps the file name and takes that format's extension.
    void SetFormat(int format);

    // One line per field that cannot be used, each ended by "\r\n", under a header line;
    // true when the export can start.
    bool Validate(std::string& errors) const;

    // The data files whose data may lie in the span: a file without a summary may hold
    // anything and counts.
    size_t FilesInSpan() const;
    bool ShowsProgress() const { return FilesInSpan() > FEW_FILES; }

    // Everything the export needs, taken from the station now; the worker touches nothing else.
    struct SJob {
        SSeriesSource m_source;
        SSeriesSpan m_span;
        SSeriesExport m_options;
        int m_nFormat = FORMAT_CSV;
        std::string m_strPath;
    };
    // Only after Validate said yes.
    SJob MakeJob(const CStation& station) const;

    struct SResult {
        bool m_bDone = false;      // the file was written
        bool m_bCancelled = false; // stopped by the operator: nothing was written
        size_t m_nRows = 0;
        std::string m_strMessage; // what to tell the operator
    };
    // Builds the series and writes the file; progress is told per data file read, and a
    // false answer stops the export.
    static SResult Run(const SJob& job, const SeriesProgress& progress = {});
    // Runs the job on the worker: progress goes to the worker's progress handler (one unit a
    // file), the worker's cancel stops it, and done gets the result on the owner's thread.
    // False while the worker is busy with another job.
    static bool Start(CBackgroundWorker& worker, SJob job, std::function<void(const SResult&)> done);

    // Fields, as the controls hold them.
    std::string m_strFrom, m_strTo;
    std::string m_strUtcOffset = "+00:00";
    int m_nQuantity = QUANTITY_ALL;
    int m_nFormat = FORMAT_CSV;
    std::string m_strPath;
    std::string m_strTitle = "Export Series";

  private:
    struct SFileSpan {
        std::string m_strName;
        bool m_bKnown = false; // a summary gave its first and last time
        int64_t m_nFirst = 0, m_nLast = 0;
    };
    std::optional<SSeriesSpan> ParsedSpan() const;

    std::string m_strDirectory;
    std::vector<SFileSpan> m_arrFiles;
};
