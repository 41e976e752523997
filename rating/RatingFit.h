#pragma once
// The fits of the velocity model to rating points, with the statistics a rating report
// needs. Each model is fitted in the units the flow computation evaluates it in: the linear
// models in the station's display units, power and compound in millimetres per second, so
// that the coefficients can be typed on the Velocity Model page as they stand.
#include "data/FlowSettings.h"
#include "rating/Pairing.h"

#include <string>
#include <vector>

enum class RatingModel { Linear, LinearStage, Power, Compound };

// The name on the tool's command line ("linear", "linear-stage", "power", "compound"), and
// back (false for an unknown name).
const char* RatingModelName(RatingModel model);
bool RatingModelFromName(const std::string& name, RatingModel& model);
// The name in a report ("Linear", "Linear with stage", "Power", "Compound").
const char* RatingModelTitle(RatingModel model);
// The equation as the report shows it.
const char* RatingModelEquation(RatingModel model);

// One fitted value under its label on the Velocity Model page, as the page shows it.
struct SRatingCoefficient {
    std::string m_strLabel; // "B1" "B2" "B3" "B4" "a" "B" "Vc"
    double m_dValue = 0.0;
    double m_dStdErr = NODATA;                // NODATA where it has none (Vc, picked from a list)
    double m_dLow = NODATA, m_dHigh = NODATA; // 95 % confidence interval
};

// A straight least-squares fit of y on the columns of a design matrix (row-major, n x p):
// the coefficients, their standard errors and the residual sum of squares. The general
// tool behind the linear models and the compound model's segments, kept separate so that
// it can be checked against published regression examples.
struct SLeastSquares {
    bool m_bOk = false;
    std::string m_strError;
    std::vector<double> m_coef, m_stderr;
    std::vector<double> m_unscaled; // diagonal of (X'X)^-1: stderr = sqrt(variance x it)
    double m_dSse = 0.0, m_dSst = 0.0;
    int m_nN = 0, m_nP = 0;
    double ResidualStdError() const;
    double R2() const;
    double AdjustedR2() const;
};
SLeastSquares FitLeastSquares(const std::vector<double>& design, const std::vector<double>& y, int p);

// The t value that leaves 2.5 % in the upper tail of Student's distribution with dof
// degrees of freedom (12.706 for 1, 2.228 for 10, 1.960 in the limit).
double StudentT975(int dof);

struct SRatingFit {
    RatingModel m_model = RatingModel::Linear;
    bool m_bOk = false;
    std::string m_strError; // why there is no fit, for the operator

    std::vector<SRatingCoefficient> m_coefficients;
    int m_nN = 0; // points fitted
    double m_dR2 = NODATA, m_dAdjR2 = NODATA;
    double m_dSe = NODATA; // standard error of the estimate, in the units the model is fitted in

    // What the station stores: model type, four coefficients, critical velocity (mm/s).
    int32_t m_nModelType = MODEL_LINEAR;
    double m_dModelCoef[4] = {0.0, 1.0, 0.0, 0.0};
    double m_dCritVelocity = 0.0;

    int m_nStageUnits = 101, m_nVelocityUnits = 107;

    // The flow settings with this model in place of the given ones' model.
    CFlowSettings ApplyTo(const CFlowSettings& settings) const;
    // The rated mean velocity (mm/s) for an index velocity (mm/s) and a stage (tenths of a
    // millimetre), as the flow computation evaluates the model; NODATA when it has none.
    double RatedVelocity(double indexVelocity, double stage) const;
    // A velocity difference in mm/s as the standard error is given (display units for the
    // linear models).
    double InFitUnits(double velocityMmPerS) const;
    // The unit the standard error is in ("ft/s", "mm/s").
    std::string FitUnitName() const;
};

// The units the linear models are fitted in.
struct SRatingUnits {
    int m_nStageUnits = 101;
    int m_nVelocityUnits = 107;
};

// Fits one model to the usable, not excluded points.
SRatingFit FitRating(RatingModel model, const std::vector<SRatingPoint>& points, const SRatingUnits& units);

// The per-measurement figures of a fit (internal units except the percent).
struct SRatingResidual {
    double m_dRated = NODATA;    // mm/s
    double m_dResidual = NODATA; // measured - rated, mm/s
    double m_dPercent = NODATA;  // 100 x residual / rated
    bool m_bOutlier = false;     // beyond two standard errors of the estimate
};
std::vector<SRatingResidual> RatingResiduals(const SRatingFit& fit, const std::vector<SRatingPoint>& points);
