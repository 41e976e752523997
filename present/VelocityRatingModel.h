#pragma once
// The Velocity Rating window without its widgets: the table of reference measurements (as
// the operator imported and corrected them), the model chosen, the fit and its report, the
// two plots, and applying the model to the station.
#include "rating/RatingReport.h"

#include <string>
#include <utility>
#include <vector>

class CStation;

class CVelocityRatingModel
{
  public:
    // The table's columns: the first seven are the measurement as typed, the rest what the
    // pairing and the fit made of it.
    enum Column {
        COL_ID,
        COL_START,
        COL_END,
        COL_DISCHARGE,
        COL_GIVEN_STAGE,
        COL_EXCLUDE,
        COL_COMMENT,
        COL_PAIRED,
        COL_INDEX_VELOCITY,
        COL_STAGE,
        COL_AREA,
        COL_MEASURED,
        COL_RATED,
        COL_RESIDUAL,
        COL_PERCENT,
        COLUMN_COUNT
    };

    // The station the rating is for and the folder of its data files, whose ensembles are
    // read once here. The station must outlive the model; apply changes it and saves it.
    void Open(CStation* station, const std::string& dataDirectory);
    // The same with the recorded ensembles given (tests).
    void Open(CStation* station, std::vector<SRecordedSample> samples);

    // Replaces the rows with those of a measurements file; false with Problems() saying why
    // when the file or its header cannot be read. Rows with bad values are kept, so that
    // they can be corrected in the table.
    bool Import(const std::string& path);
    // Writes the rows as a measurements file; false with the reason in error.
    bool Export(const std::string& path, std::string& error) const;

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    static bool IsEditable(int column) { return column < COL_PAIRED; }
    std::string ColumnTitle(int column) const;
    std::string GetCell(int row, int column) const;
    // Edits one typed cell (the exclude cell takes "1" or "0") and computes again.
    void SetCell(int row, int column, const std::string& text);
    void SetExcluded(int row, bool excluded);
    bool IsExcluded(int row) const;
    // Whether a row's residual is beyond two standard errors (drawn marked).
    bool IsOutlier(int row) const;
    void AddRow();
    void RemoveRow(int row);

    // The model choice, in the order of ModelTitles.
    static std::vector<std::string> ModelTitles();
    void SetModel(RatingModel model);
    RatingModel GetModel() const { return m_model; }

    // Bad rows, one "row N (line L): ..." line each, and file problems; empty when none.
    const std::vector<std::string>& Problems() const { return m_problems; }
    const SRatingFit& Fit() const { return m_fit; }
    bool CanApply() const { return m_problems.empty() && m_fit.m_bOk; }
    // The report of the chosen model, or the problems that stop the fit.
    std::string Report() const;

    // The plots, in the velocity display unit: measured mean velocity against index velocity
    // (points fitted, points excluded, and the fitted curve over the range of the index
    // velocities; the stage term's curve is drawn at the mean stage of the points fitted),
    // and residuals against the middle of each measurement, in hours from the first (days
    // when they span more than three days), so that the axis labels tell the points apart.
    struct SPlot {
        std::vector<std::pair<double, double>> m_fitted, m_excluded, m_outliers, m_curve;
        std::vector<std::pair<double, double>> m_residuals, m_excludedResiduals, m_zero;
        std::string m_strTimeTitle; // "Hours from 2005/12/03 01:50:00"
    };
    SPlot Plot() const;
    std::string VelocityTitle() const; // "Velocity (m/s)"
    std::string IndexTitle() const;    // "Index Velocity (m/s)"
    std::string ResidualTitle() const; // "Residual (m/s)"

    // The start "Apply from..." offers: the earliest start among the good rows, else now.
    double DefaultApplyStart() const;
    // Whether applying saves the station file (the default). A caller that edits a copy of the
    // station and commits it itself (a configuration page) switches it off.
    void SetSaveOnApply(bool save) { m_bSaveOnApply = save; }
    // Adds the chosen model as a calculation set from a time, or makes it the station's own
    // model, and saves the station; message says what was done or what went wrong.
    bool ApplyFrom(double start, std::string& message);
    bool ApplyAsStationModel(std::string& message);

  private:
    void Recompute();
    SMeasurementUnits InputUnits() const;
    SReportUnits Units() const;

    CStation* m_pStation = nullptr;
    std::vector<SRecordedSample> m_samples;
    std::vector<SMeasurementTexts> m_rows;
    RatingModel m_model = RatingModel::Linear;
    bool m_bSaveOnApply = true;

    // Worked out from the rows by Recompute.
    std::vector<std::string> m_problems;
    std::vector<std::string> m_fileProblems;
    std::vector<std::string> m_dataNotes; // data files that could not be read
    std::vector<int> m_pointOfRow;        // index into m_points, -1 for a bad row
    std::vector<SMeasurement> m_good;
    std::vector<SRatingPoint> m_points;
    SRatingFit m_fit;
    std::vector<SRatingResidual> m_residuals;
};
