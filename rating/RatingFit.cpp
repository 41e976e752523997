#include "rating/RatingFit.h"

#include "data/FlowChain.h"
#include "data/Units.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace
{

struct SModelInfo {
    RatingModel model;
    const char* name;
    const char* title;
    const char* equation;
};

const SModelInfo kModels[] = {
    {RatingModel::Linear, "linear", "Linear", "V = B1 + B2 x Vi"},
    {RatingModel::LinearStage, "linear-stage", "Linear with stage", "V = B1 + (B2 + B3 x H) x Vi"},
    {RatingModel::Power, "power", "Power", "V = a x Vi^B"},
    {RatingModel::Compound, "compound", "Compound", "V = B1 + B2 x Vi up to Vc, B3 + B4 x Vi above"},
};

const SModelInfo& Info(RatingModel model)
{
    for (const auto& info : kModels)
        if (info.model == model)
            return info;
    return kModels[0];
}

// Regularised incomplete beta function I_x(a, b) by its continued fraction (modified
// Lentz), the usual way to the distribution functions of t and F.
double BetaContinuedFraction(double a, double b, double x)
{
    const double tiny = 1e-300;
    double c = 1.0, d = 1.0 - (a + b) * x / (a + 1.0);
    if (std::fabs(d) < tiny)
        d = tiny;
    d = 1.0 / d;
    double h = d;
    for (int m = 1; m <= 500; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((a - 1.0 + m2) * (a + m2));
        d = 1.0 + aa * d;
        d = std::fabs(d) < tiny ? tiny : d;
        c = 1.0 + aa / c;
        c = std::fabs(c) < tiny ? tiny : c;
        d = 1.0 / d;
        h *= d * c;
        aa = -(a + m) * (a + b + m) * x / ((a + m2) * (a + 1.0 + m2));
        d = 1.0 + aa * d;
        d = std::fabs(d) < tiny ? tiny : d;
        c = 1.0 + aa / c;
        c = std::fabs(c) < tiny ? tiny : c;
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) < 1e-15)
            break;
    }
    return h;
}

double IncompleteBeta(double a, double b, double x)
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0))
        return front * BetaContinuedFraction(a, b, x) / a;
    return 1.0 - front * BetaContinuedFraction(b, a, 1.0 - x) / b;
}

// Two-sided tail probability of Student's t: P(|T| > t).
double StudentTwoTail(double t, double dof)
{
    return IncompleteBeta(0.5 * dof, 0.5, dof / (dof + t * t));
}

std::string Plural(int n, const char* what)
{
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

std::string TooFew(RatingModel model, int have, int need)
{
    return std::string(Info(model).title) + ": " + Plural(have, "usable measurement") + ", at least " +
           std::to_string(need) + " needed";
}

SRatingCoefficient Coefficient(const char* label, double value, double stdErr, double t)
{
    SRatingCoefficient c;
    c.m_strLabel = label;
    c.m_dValue = value;
    c.m_dStdErr = stdErr;
    c.m_dLow = value - t * stdErr;
    c.m_dHigh = value + t * stdErr;
    return c;
}

// The points a fit uses: usable, not excluded, with what the model needs.
std::vector<const SRatingPoint*> FitPoints(RatingModel model, const std::vector<SRatingPoint>& points)
{
    std::vector<const SRatingPoint*> used;
    for (const auto& p : points) {
        if (!p.Usable() || p.m_measurement.m_bExclude)
            continue;
        if (model == RatingModel::LinearStage && IsNoData(p.m_dStage))
            continue;
        if (model == RatingModel::Power && (p.m_dIndexVelocity <= 0.0 || p.m_dMeasuredVelocity <= 0.0))
            continue;
        used.push_back(&p);
    }
    return used;
}

void SetStatistics(SRatingFit& fit, double sse, double sst, int n, int p)
{
    fit.m_nN = n;
    const int dof = n - p;
    fit.m_dSe = std::sqrt(sse / dof);
    fit.m_dR2 = sst > 0.0 ? 1.0 - sse / sst : NODATA;
    fit.m_dAdjR2 = sst > 0.0 && n > 1 ? 1.0 - (sse / dof) / (sst / (n - 1)) : NODATA;
}

double SumOfSquaresAboutMean(const std::vector<double>& y)
{
    const double mean = std::accumulate(y.begin(), y.end(), 0.0) / static_cast<double>(y.size());
    double sst = 0.0;
    for (double v : y)
        sst += (v - mean) * (v - mean);
    return sst;
}

void FitLinear(SRatingFit& fit, const std::vector<const SRatingPoint*>& used, bool withStage)
{
    const int p = withStage ? 3 : 2;
    const int n = static_cast<int>(used.size());
    if (n < p + 1) {
        fit.m_strError = TooFew(fit.m_model, n, p + 1);
        return;
    }
    std::vector<double> design, y;
    for (const SRatingPoint* pt : used) {
        const double vi = ToDisplayUnits(pt->m_dIndexVelocity, fit.m_nVelocityUnits);
        design.push_back(1.0);
        design.push_back(vi);
        if (withStage)
            design.push_back(ToDisplayUnits(pt->m_dStage, fit.m_nStageUnits) * vi);
        y.push_back(ToDisplayUnits(pt->m_dMeasuredVelocity, fit.m_nVelocityUnits));
    }
    const SLeastSquares ls = FitLeastSquares(design, y, p);
    if (!ls.m_bOk) {
        fit.m_strError = std::string(Info(fit.m_model).title) + ": " + ls.m_strError;
        return;
    }
    const double t = StudentT975(n - p);
    const char* labels[] = {"B1", "B2", "B3"};
    for (int i = 0; i < p; ++i)
        fit.m_coefficients.push_back(Coefficient(labels[i], ls.m_coef[i], ls.m_stderr[i], t));
    fit.m_nModelType = MODEL_LINEAR;
    fit.m_dModelCoef[0] = ls.m_coef[0];
    fit.m_dModelCoef[1] = ls.m_coef[1];
    fit.m_dModelCoef[2] = withStage ? ls.m_coef[2] : 0.0;
    fit.m_dModelCoef[3] = 0.0;
    fit.m_dCritVelocity = 0.0;
    SetStatistics(fit, ls.m_dSse, ls.m_dSst, n, p);
    fit.m_bOk = true;
}

void FitPower(SRatingFit& fit, const std::vector<const SRatingPoint*>& used)
{
    const int n = static_cast<int>(used.size());
    if (n < 3) {
        fit.m_strError = TooFew(fit.m_model, n, 3) + " (with positive velocities)";
        return;
    }
    Eigen::VectorXd x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = used[static_cast<size_t>(i)]->m_dIndexVelocity;
        y[i] = used[static_cast<size_t>(i)]->m_dMeasuredVelocity;
    }
    // The straight line through the logarithms gives the start; the least squares on the
    // velocities themselves (Levenberg-Marquardt) give the answer, so that the fast flows
    // that carry the volume are not outweighed by the slow ones as in the log fit.
    std::vector<double> design, ly;
    for (int i = 0; i < n; ++i) {
        design.push_back(1.0);
        design.push_back(std::log(x[i]));
        ly.push_back(std::log(y[i]));
    }
    const SLeastSquares start = FitLeastSquares(design, ly, 2);
    if (!start.m_bOk) {
        fit.m_strError = std::string("Power: ") + start.m_strError;
        return;
    }
    Eigen::Vector2d beta(std::exp(start.m_coef[0]), start.m_coef[1]);
    const Eigen::VectorXd logX = x.array().log();
    auto residuals = [&](const Eigen::Vector2d& b) -> Eigen::VectorXd {
        return y.array() - b[0] * (b[1] * logX.array()).exp();
    };
    auto jacobian = [&](const Eigen::Vector2d& b) {
        Eigen::MatrixXd j(n, 2);
        const Eigen::ArrayXd pw = (b[1] * logX.array()).exp();
        j.col(0) = pw.matrix();
        j.col(1) = (b[0] * pw * logX.array()).matrix();
        return j;
    };
    Eigen::VectorXd r = residuals(beta);
    double sse = r.squaredNorm();
    double lambda = 1e-3;
    for (int iter = 0; iter < 500; ++iter) {
        const Eigen::MatrixXd j = jacobian(beta);
        const Eigen::Matrix2d jtj = j.transpose() * j;
        const Eigen::Vector2d g = j.transpose() * r;
        bool improved = false;
        while (lambda < 1e12) {
            Eigen::Matrix2d a = jtj;
            a.diagonal() *= 1.0 + lambda;
            const Eigen::Vector2d step = a.ldlt().solve(g);
            const Eigen::Vector2d next = beta + step;
            const Eigen::VectorXd rn = residuals(next);
            const double ssen = rn.squaredNorm();
            if (std::isfinite(ssen) && ssen <= sse) {
                const bool converged =
                    sse - ssen <= 1e-15 * std::max(sse, 1e-300) &&
                    step.cwiseAbs().maxCoeff() <= 1e-12 * (1.0 + beta.cwiseAbs().maxCoeff());
                beta = next, r = rn, sse = ssen;
                lambda = std::max(lambda * 0.1, 1e-12);
                improved = !converged;
                break;
            }
            lambda *= 10.0;
        }
        if (!improved)
            break;
    }
    const Eigen::MatrixXd j = jacobian(beta);
    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(j);
    if (qr.rank() < 2 || !std::isfinite(sse)) {
        fit.m_strError = "Power: the fit is singular (the index velocities do not differ enough)";
        return;
    }
    const Eigen::Matrix2d cov = (j.transpose() * j).inverse() * (sse / (n - 2));
    const double t = StudentT975(n - 2);
    fit.m_coefficients.push_back(Coefficient("a", beta[0], std::sqrt(cov(0, 0)), t));
    fit.m_coefficients.push_back(Coefficient("B", beta[1], std::sqrt(cov(1, 1)), t));
    fit.m_nModelType = MODEL_POWER;
    fit.m_dModelCoef[0] = beta[0];
    fit.m_dModelCoef[1] = beta[1];
    fit.m_dModelCoef[2] = fit.m_dModelCoef[3] = 0.0;
    fit.m_dCritVelocity = 0.0;
    std::vector<double> yv(y.data(), y.data() + n);
    SetStatistics(fit, sse, SumOfSquaresAboutMean(yv), n, 2);
    fit.m_bOk = true;
}

void FitCompound(SRatingFit& fit, const std::vector<const SRatingPoint*>& usedIn)
{
    const int n = static_cast<int>(usedIn.size());
    if (n < 6) {
        fit.m_strError = TooFew(fit.m_model, n, 6) + " (three on each side of the critical velocity)";
        return;
    }
    std::vector<const SRatingPoint*> used = usedIn;
    std::stable_sort(used.begin(), used.end(), [](const SRatingPoint* a, const SRatingPoint* b) {
        return a->m_dIndexVelocity < b->m_dIndexVelocity;
    });
    auto segment = [&](int from, int to) {
        std::vector<double> design, y;
        for (int i = from; i < to; ++i) {
            design.push_back(1.0);
            design.push_back(used[static_cast<size_t>(i)]->m_dIndexVelocity);
            y.push_back(used[static_cast<size_t>(i)]->m_dMeasuredVelocity);
        }
        return FitLeastSquares(design, y, 2);
    };
    int bestK = -1;
    double bestSse = 0.0;
    SLeastSquares bestLow, bestHigh;
    for (int k = 3; k + 3 <= n; ++k) {
        // A split between equal index velocities cannot be told apart by Vc.
        if (!(used[static_cast<size_t>(k - 1)]->m_dIndexVelocity <
              used[static_cast<size_t>(k)]->m_dIndexVelocity))
            continue;
        const SLeastSquares low = segment(0, k), high = segment(k, n);
        if (!low.m_bOk || !high.m_bOk)
            continue;
        const double sse = low.m_dSse + high.m_dSse;
        if (bestK < 0 || sse < bestSse)
            bestK = k, bestSse = sse, bestLow = low, bestHigh = high;
    }
    if (bestK < 0) {
        fit.m_strError = "Compound: no critical velocity leaves three measurements with different index "
                         "velocities on each side";
        return;
    }
    const double vc = 0.5 * (used[static_cast<size_t>(bestK - 1)]->m_dIndexVelocity +
                             used[static_cast<size_t>(bestK)]->m_dIndexVelocity);
    // Four line coefficients and the critical velocity are taken from the data; the two
    // segments share one residual variance.
    const int p = 5;
    const double s2 = bestSse / (n - p);
    const double t = StudentT975(n - p);
    fit.m_coefficients.push_back(
        Coefficient("B1", bestLow.m_coef[0], std::sqrt(s2 * bestLow.m_unscaled[0]), t));
    fit.m_coefficients.push_back(
        Coefficient("B2", bestLow.m_coef[1], std::sqrt(s2 * bestLow.m_unscaled[1]), t));
    fit.m_coefficients.push_back(
        Coefficient("B3", bestHigh.m_coef[0], std::sqrt(s2 * bestHigh.m_unscaled[0]), t));
    fit.m_coefficients.push_back(
        Coefficient("B4", bestHigh.m_coef[1], std::sqrt(s2 * bestHigh.m_unscaled[1]), t));
    SRatingCoefficient crit;
    crit.m_strLabel = "Vc";
    crit.m_dValue = ToDisplayUnits(vc, fit.m_nVelocityUnits);
    fit.m_coefficients.push_back(crit);
    fit.m_nModelType = MODEL_COMPOUND;
    fit.m_dModelCoef[0] = bestLow.m_coef[0];
    fit.m_dModelCoef[1] = bestLow.m_coef[1];
    fit.m_dModelCoef[2] = bestHigh.m_coef[0];
    fit.m_dModelCoef[3] = bestHigh.m_coef[1];
    fit.m_dCritVelocity = vc;
    std::vector<double> y;
    for (const SRatingPoint* pt : used)
        y.push_back(pt->m_dMeasuredVelocity);
    SetStatistics(fit, bestSse, SumOfSquaresAboutMean(y), n, p);
    fit.m_bOk = true;
}

} // namespace

const char* RatingModelName(RatingModel model)
{
    return Info(model).name;
}

bool RatingModelFromName(const std::string& name, RatingModel& model)
{
    for (const auto& info : kModels)
        if (name == info.name) {
            model = info.model;
            return true;
        }
    return false;
}

const char* RatingModelTitle(RatingModel model)
{
    return Info(model).title;
}

const char* RatingModelEquation(RatingModel model)
{
    return Info(model).equation;
}

double SLeastSquares::ResidualStdError() const
{
    return m_nN > m_nP ? std::sqrt(m_dSse / (m_nN - m_nP)) : NODATA;
}

double SLeastSquares::R2() const
{
    return m_dSst > 0.0 ? 1.0 - m_dSse / m_dSst : NODATA;
}

double SLeastSquares::AdjustedR2() const
{
    return m_dSst > 0.0 && m_nN > m_nP ? 1.0 - (m_dSse / (m_nN - m_nP)) / (m_dSst / (m_nN - 1)) : NODATA;
}

SLeastSquares FitLeastSquares(const std::vector<double>& design, const std::vector<double>& yIn, int p)
{
    SLeastSquares ls;
    const int n = static_cast<int>(yIn.size());
    ls.m_nN = n;
    ls.m_nP = p;
    if (p < 1 || design.size() != static_cast<size_t>(n) * static_cast<size_t>(p)) {
        ls.m_strError = "the design does not match the observations";
        return ls;
    }
    if (n < p + 1) {
        ls.m_strError = Plural(n, "point") + ", at least " + std::to_string(p + 1) + " needed";
        return ls;
    }
    const Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>> x(
        design.data(), n, p);
    const Eigen::Map<const Eigen::VectorXd> y(yIn.data(), n);
    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(x);
    if (qr.rank() < p) {
        ls.m_strError = "the fit is singular (the index velocities do not differ enough)";
        return ls;
    }
    const Eigen::VectorXd beta = qr.solve(y);
    const Eigen::VectorXd r = y - x * beta;
    ls.m_dSse = r.squaredNorm();
    ls.m_dSst = (y.array() - y.mean()).matrix().squaredNorm();
    // (X'X)^-1 = P R^-1 R^-T P' from the factors, without forming X'X.
    const Eigen::MatrixXd rTop = qr.matrixR().topLeftCorner(p, p).triangularView<Eigen::Upper>();
    const Eigen::MatrixXd rInv = rTop.triangularView<Eigen::Upper>().solve(Eigen::MatrixXd::Identity(p, p));
    const Eigen::MatrixXd unscaledPermuted = rInv * rInv.transpose();
    const auto perm = qr.colsPermutation();
    const Eigen::MatrixXd unscaled = perm * unscaledPermuted * perm.transpose();
    const double s2 = ls.m_dSse / (n - p);
    for (int i = 0; i < p; ++i) {
        ls.m_coef.push_back(beta[i]);
        ls.m_unscaled.push_back(unscaled(i, i));
        ls.m_stderr.push_back(std::sqrt(s2 * unscaled(i, i)));
    }
    if (!std::all_of(ls.m_coef.begin(), ls.m_coef.end(), [](double v) { return std::isfinite(v); })) {
        ls.m_strError = "the fit is singular";
        return ls;
    }
    ls.m_bOk = true;
    return ls;
}

double StudentT975(int dof)
{
    if (dof < 1)
        return NODATA;
    // Bisection on the two-sided tail: 5 % beyond +-t.
    double lo = 0.0, hi = 1000.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (StudentTwoTail(mid, dof) > 0.05 ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

CFlowSettings SRatingFit::ApplyTo(const CFlowSettings& settings) const
{
    CFlowSettings s = settings;
    s.m_nVelocityModel = m_nModelType;
    std::copy(std::begin(m_dModelCoef), std::end(m_dModelCoef), std::begin(s.m_dModelCoef));
    s.m_dCritVelocity = m_dCritVelocity;
    return s;
}

double SRatingFit::RatedVelocity(double indexVelocity, double stage) const
{
    if (!m_bOk)
        return NODATA;
    CFlowSettings s;
    s.m_nStageUnits = m_nStageUnits;
    s.m_nVelocityUnits = m_nVelocityUnits;
    return ComputeMeanVelocity(indexVelocity, stage, ApplyTo(s));
}

double SRatingFit::InFitUnits(double velocity) const
{
    if (IsNoData(velocity))
        return NODATA;
    if (m_nModelType == MODEL_LINEAR)
        return velocity * ToDisplayUnits(1.0, m_nVelocityUnits);
    return velocity;
}

std::string SRatingFit::FitUnitName() const
{
    return m_nModelType == MODEL_LINEAR ? UnitAbbreviation(m_nVelocityUnits) : std::string("mm/s");
}

SRatingFit FitRating(RatingModel model, const std::vector<SRatingPoint>& points, const SRatingUnits& units)
{
    SRatingFit fit;
    fit.m_model = model;
    fit.m_nStageUnits = units.m_nStageUnits;
    fit.m_nVelocityUnits = units.m_nVelocityUnits;
    const auto used = FitPoints(model, points);
    switch (model) {
    case RatingModel::Linear:
        FitLinear(fit, used, false);
        break;
    case RatingModel::LinearStage:
        FitLinear(fit, used, true);
        break;
    case RatingModel::Power:
        fit.m_nModelType = MODEL_POWER;
        FitPower(fit, used);
        break;
    case RatingModel::Compound:
        fit.m_nModelType = MODEL_COMPOUND;
        FitCompound(fit, used);
        break;
    }
    return fit;
}

std::vector<SRatingResidual> RatingResiduals(const SRatingFit& fit, const std::vector<SRatingPoint>& points)
{
    std::vector<SRatingResidual> out(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const SRatingPoint& p = points[i];
        SRatingResidual& r = out[i];
        if (!fit.m_bOk || p.m_kind == PairKind::None)
            continue;
        r.m_dRated = fit.RatedVelocity(p.m_dIndexVelocity, p.m_dStage);
        if (IsNoData(r.m_dRated) || IsNoData(p.m_dMeasuredVelocity))
            continue;
        r.m_dResidual = p.m_dMeasuredVelocity - r.m_dRated;
        r.m_dPercent = r.m_dRated != 0.0 ? 100.0 * r.m_dResidual / r.m_dRated : NODATA;
        r.m_bOutlier = !IsNoData(fit.m_dSe) && std::fabs(fit.InFitUnits(r.m_dResidual)) > 2.0 * fit.m_dSe;
    }
    return out;
}
