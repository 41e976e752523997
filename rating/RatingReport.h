#pragma once
// A rating analysis as one value (the pairs and the fits of the models asked for) and its
// report as text, the same in the tool and in the rating window.
#include "rating/RatingFit.h"

#include <string>
#include <vector>

// The station's display units the report shows values in.
struct SReportUnits {
    int m_nStageUnits = 101;
    int m_nVelocityUnits = 107;
    int m_nAreaUnits = 117;
    int m_nFlowUnits = 111;
};

struct SRatingAnalysis {
    std::vector<SRatingPoint> m_points;
    std::vector<SRatingFit> m_fits;
    SReportUnits m_units;
};

// Fits each model to the points.
SRatingAnalysis AnalyseRating(const std::vector<SRatingPoint>& points, const std::vector<RatingModel>& models,
                              const SReportUnits& units);

// A number as the report prints it: six significant figures, "-" for no data.
std::string ReportNumber(double value);

// The whole report: counts, each model's coefficients with their standard errors and 95 %
// intervals, n, R2, adjusted R2 and the standard error of the estimate, then the table of
// measurements with the rated values of the first model that fitted ("*" marks a residual
// beyond two standard errors).
std::string FormatRatingReport(const SRatingAnalysis& analysis, const std::string& title);
