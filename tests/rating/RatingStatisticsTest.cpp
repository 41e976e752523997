// The fits and their statistics against figures worked out elsewhere: published regression
// examples, Student's t table, and data built from known parameters.
#include "data/Units.h"
#include "rating/RatingFit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// A paired point as the fits take it; velocities in mm/s, stage in tenths of a millimetre.
SRatingPoint Point(double vi, double v, double stage = 10000.0, bool exclude = false)
{
    SRatingPoint p;
    p.m_kind = PairKind::Within;
    p.m_dIndexVelocity = vi;
    p.m_dMeasuredVelocity = v;
    p.m_dStage = stage;
    p.m_dArea = 1.0;
    p.m_measurement.m_bExclude = exclude;
    return p;
}

// Millimetres per second as display unit, so that the linear models see the numbers as given.
const SRatingUnits kMm{UNIT_MILLIMETERS, UNIT_MILLIMETERS_PER_SECOND};

const SRatingCoefficient& Coef(const SRatingFit& fit, const std::string& label)
{
    for (const auto& c : fit.m_coefficients)
        if (c.m_strLabel == label)
            return c;
    ADD_FAILURE() << "no coefficient " << label;
    static SRatingCoefficient none;
    return none;
}

// NIST Statistical Reference Datasets, "Norris" (linear least squares, lower difficulty):
// 36 observations, y on x, with certified values.
const double kNorrisY[] = {0.1, 338.8, 118.1, 888.0, 9.2,   228.1, 668.5, 998.5, 449.1, 778.9, 559.2, 0.3,
                           0.1, 778.1, 668.8, 339.3, 448.9, 10.8,  557.7, 228.3, 998.0, 888.8, 119.6, 0.3,
                           0.6, 557.6, 339.3, 888.0, 998.5, 778.9, 10.2,  117.6, 228.9, 668.4, 449.2, 0.2};
const double kNorrisX[] = {0.2, 337.4, 118.2, 884.6, 10.1,  226.5, 666.3, 996.3, 448.6, 777.0, 558.2, 0.4,
                           0.6, 775.5, 666.9, 338.0, 447.5, 11.6,  556.0, 228.1, 995.8, 887.6, 120.2, 0.3,
                           0.3, 556.8, 339.1, 887.2, 999.0, 779.0, 11.1,  118.3, 229.2, 669.1, 448.9, 0.5};

TEST(RatingStatistics, NistNorrisCertifiedValues)
{
    std::vector<SRatingPoint> points;
    for (size_t i = 0; i < std::size(kNorrisX); ++i)
        points.push_back(Point(kNorrisX[i], kNorrisY[i]));
    const SRatingFit fit = FitRating(RatingModel::Linear, points, kMm);
    ASSERT_TRUE(fit.m_bOk) << fit.m_strError;
    // Certified: B0 -0.262323073774029 (sd 0.232818234301152), B1 1.00211681802045
    // (sd 0.429796848199937E-03), residual sd 0.884796396144373, R2 0.999993745883712.
    EXPECT_NEAR(Coef(fit, "B1").m_dValue, -0.262323073774029, 1e-12);
    EXPECT_NEAR(Coef(fit, "B1").m_dStdErr, 0.232818234301152, 1e-12);
    EXPECT_NEAR(Coef(fit, "B2").m_dValue, 1.00211681802045, 1e-13);
    EXPECT_NEAR(Coef(fit, "B2").m_dStdErr, 0.429796848199937E-03, 1e-15);
    EXPECT_NEAR(fit.m_dSe, 0.884796396144373, 1e-12);
    EXPECT_NEAR(fit.m_dR2, 0.999993745883712, 1e-14);
    EXPECT_EQ(fit.m_nN, 36);
    // What the page stores: B3 = 0 for the plain linear model.
    EXPECT_EQ(fit.m_nModelType, MODEL_LINEAR);
    EXPECT_EQ(fit.m_dModelCoef[2], 0.0);
    // 95 % interval with t(0.975, 34) = 2.032 from the t table.
    EXPECT_NEAR(Coef(fit, "B2").m_dHigh - Coef(fit, "B2").m_dValue, 2.032 * 0.429796848199937E-03, 1e-6);
}

TEST(RatingStatistics, AnscombeFirstDataSet)
{
    // Anscombe (1973), "Graphs in statistical analysis", data set I: the fitted line
    // y = 3.00 + 0.500 x, estimated standard error of the slope 0.118, residual sum of
    // squares 13.75 on 9 degrees of freedom (the paper's one rounded figure for all four
    // sets, which lie between 13.74 and 13.78), R2 0.667.
    const double x[] = {10, 8, 13, 9, 11, 14, 6, 4, 12, 7, 5};
    const double y[] = {8.04, 6.95, 7.58, 8.81, 8.33, 9.96, 7.24, 4.26, 10.84, 4.82, 5.68};
    std::vector<SRatingPoint> points;
    for (size_t i = 0; i < std::size(x); ++i)
        points.push_back(Point(x[i], y[i]));
    const SRatingFit fit = FitRating(RatingModel::Linear, points, kMm);
    ASSERT_TRUE(fit.m_bOk);
    EXPECT_NEAR(Coef(fit, "B1").m_dValue, 3.00, 0.005);
    EXPECT_NEAR(Coef(fit, "B2").m_dValue, 0.500, 0.0005);
    EXPECT_NEAR(Coef(fit, "B2").m_dStdErr, 0.118, 0.0005);
    EXPECT_NEAR(fit.m_dSe * fit.m_dSe * 9, 13.75, 0.03);
    EXPECT_NEAR(fit.m_dR2, 0.667, 0.0005);
}

TEST(RatingStatistics, StudentTTable)
{
    // Two-sided 5 % points of Student's t, as printed in every table.
    EXPECT_NEAR(StudentT975(1), 12.706, 0.0005);
    EXPECT_NEAR(StudentT975(2), 4.303, 0.0005);
    EXPECT_NEAR(StudentT975(5), 2.571, 0.0005);
    EXPECT_NEAR(StudentT975(10), 2.228, 0.0005);
    EXPECT_NEAR(StudentT975(30), 2.042, 0.0005);
    EXPECT_NEAR(StudentT975(120), 1.980, 0.0005);
    EXPECT_TRUE(IsNoData(StudentT975(0)));
}

TEST(RatingStatistics, ExactLinearFitsInDisplayUnits)
{
    // V = 0.1 + 0.9 Vi in ft/s, built in mm/s: the fit gives the coefficients the page takes.
    const SRatingUnits feet{UNIT_FEET, UNIT_FEET_PER_SECOND};
    std::vector<SRatingPoint> points;
    for (double viFt : {0.5, 1.0, 1.5, 2.5, 3.0}) {
        const double vFt = 0.1 + 0.9 * viFt;
        points.push_back(
            Point(ToInternalUnits(viFt, UNIT_FEET_PER_SECOND), ToInternalUnits(vFt, UNIT_FEET_PER_SECOND)));
    }
    const SRatingFit fit = FitRating(RatingModel::Linear, points, feet);
    ASSERT_TRUE(fit.m_bOk);
    EXPECT_NEAR(fit.m_dModelCoef[0], 0.1, 1e-9);
    EXPECT_NEAR(fit.m_dModelCoef[1], 0.9, 1e-9);
    EXPECT_NEAR(fit.m_dSe, 0.0, 1e-9);
    EXPECT_NEAR(fit.m_dR2, 1.0, 1e-12);
    // The model, evaluated as the flow computation does, gives back every measured velocity.
    for (const auto& r : RatingResiduals(fit, points))
        EXPECT_NEAR(r.m_dResidual, 0.0, 1e-6);
}

TEST(RatingStatistics, LinearWithStageTerm)
{
    // V = 0.05 + (0.8 + 0.04 H) Vi with H in metres and V, Vi in m/s.
    const SRatingUnits metric{UNIT_METERS, UNIT_METERS_PER_SECOND};
    std::vector<SRatingPoint> points;
    const double vis[] = {0.2, 0.4, 0.6, 0.8, 1.0, 0.3, 0.7};
    const double hs[] = {1.0, 2.0, 1.5, 3.0, 2.5, 2.8, 1.2};
    for (size_t i = 0; i < std::size(vis); ++i) {
        const double v = 0.05 + (0.8 + 0.04 * hs[i]) * vis[i];
        points.push_back(Point(vis[i] * 1000.0, v * 1000.0, hs[i] * 10000.0));
    }
    const SRatingFit fit = FitRating(RatingModel::LinearStage, points, metric);
    ASSERT_TRUE(fit.m_bOk) << fit.m_strError;
    EXPECT_NEAR(Coef(fit, "B1").m_dValue, 0.05, 1e-9);
    EXPECT_NEAR(Coef(fit, "B2").m_dValue, 0.8, 1e-9);
    EXPECT_NEAR(Coef(fit, "B3").m_dValue, 0.04, 1e-9);
    EXPECT_NEAR(fit.m_dAdjR2, 1.0, 1e-9);

    // With a little scatter the adjusted R2 falls below R2 by (1 - R2)(n - 1)/(n - p).
    points[2].m_dMeasuredVelocity += 15.0;
    points[5].m_dMeasuredVelocity -= 10.0;
    const SRatingFit noisy = FitRating(RatingModel::LinearStage, points, metric);
    ASSERT_TRUE(noisy.m_bOk);
    EXPECT_NEAR(1.0 - noisy.m_dAdjR2, (1.0 - noisy.m_dR2) * 6.0 / 4.0, 1e-12);
}

TEST(RatingStatistics, PowerFromKnownParameters)
{
    // V = 0.85 Vi^1.05, mm/s.
    std::vector<SRatingPoint> points;
    for (double vi : {100.0, 250.0, 400.0, 700.0, 900.0, 1300.0, 1600.0})
        points.push_back(Point(vi, 0.85 * std::pow(vi, 1.05)));
    // Negative velocities take no part in a power fit.
    points.push_back(Point(-300.0, -250.0));
    const SRatingFit fit = FitRating(RatingModel::Power, points, kMm);
    ASSERT_TRUE(fit.m_bOk) << fit.m_strError;
    EXPECT_EQ(fit.m_nN, 7);
    EXPECT_NEAR(Coef(fit, "a").m_dValue, 0.85, 1e-7);
    EXPECT_NEAR(Coef(fit, "B").m_dValue, 1.05, 1e-8);
    EXPECT_EQ(fit.m_nModelType, MODEL_POWER);
}

TEST(RatingStatistics, PowerMinimisesTheVelocityErrorsNotTheirLogarithms)
{
    std::vector<SRatingPoint> points;
    const double noise[] = {12.0, -30.0, 25.0, -8.0, 40.0, -35.0, 5.0};
    const double vis[] = {100.0, 250.0, 400.0, 700.0, 900.0, 1300.0, 1600.0};
    for (size_t i = 0; i < std::size(vis); ++i)
        points.push_back(Point(vis[i], 0.85 * std::pow(vis[i], 1.05) + noise[i]));
    const SRatingFit fit = FitRating(RatingModel::Power, points, kMm);
    ASSERT_TRUE(fit.m_bOk);
    const double a = fit.m_dModelCoef[0], b = fit.m_dModelCoef[1];
    // At a least-squares minimum both partial derivatives of the squared error vanish.
    double da = 0.0, db = 0.0, sse = 0.0;
    for (const auto& p : points) {
        const double r = p.m_dMeasuredVelocity - a * std::pow(p.m_dIndexVelocity, b);
        da += r * std::pow(p.m_dIndexVelocity, b);
        db += r * a * std::pow(p.m_dIndexVelocity, b) * std::log(p.m_dIndexVelocity);
        sse += r * r;
    }
    EXPECT_NEAR(da / sse, 0.0, 1e-6);
    EXPECT_NEAR(db / sse, 0.0, 1e-6);
    // The straight line through the logarithms leaves a larger error in the velocities.
    std::vector<double> design, ly;
    for (const auto& p : points) {
        design.insert(design.end(), {1.0, std::log(p.m_dIndexVelocity)});
        ly.push_back(std::log(p.m_dMeasuredVelocity));
    }
    const SLeastSquares logFit = FitLeastSquares(design, ly, 2);
    double logSse = 0.0;
    for (const auto& p : points) {
        const double r = p.m_dMeasuredVelocity -
                         std::exp(logFit.m_coef[0]) * std::pow(p.m_dIndexVelocity, logFit.m_coef[1]);
        logSse += r * r;
    }
    EXPECT_LT(sse, logSse);
    EXPECT_NEAR(fit.m_dSe, std::sqrt(sse / 5.0), 1e-9);
}

TEST(RatingStatistics, CompoundFromKnownParameters)
{
    // B1 = 10, B2 = 0.9 up to 500 mm/s; B3 = -40, B4 = 1.0 above.
    std::vector<SRatingPoint> points;
    for (double vi : {100.0, 200.0, 300.0, 400.0, 450.0, 550.0, 700.0, 900.0, 1100.0})
        points.push_back(Point(vi, vi <= 500.0 ? 10.0 + 0.9 * vi : -40.0 + 1.0 * vi));
    const SRatingFit fit = FitRating(RatingModel::Compound, points, {UNIT_FEET, UNIT_FEET_PER_SECOND});
    ASSERT_TRUE(fit.m_bOk) << fit.m_strError;
    EXPECT_NEAR(fit.m_dModelCoef[0], 10.0, 1e-9);
    EXPECT_NEAR(fit.m_dModelCoef[1], 0.9, 1e-12);
    EXPECT_NEAR(fit.m_dModelCoef[2], -40.0, 1e-9);
    EXPECT_NEAR(fit.m_dModelCoef[3], 1.0, 1e-12);
    // Vc midway between 450 and 550, stored in mm/s and shown in the velocity display unit.
    EXPECT_DOUBLE_EQ(fit.m_dCritVelocity, 500.0);
    EXPECT_NEAR(Coef(fit, "Vc").m_dValue, 500.0 * 0.00328084, 1e-12);
    EXPECT_TRUE(IsNoData(Coef(fit, "Vc").m_dStdErr));
    EXPECT_EQ(fit.m_nN, 9);
}

TEST(RatingStatistics, CompoundKeepsThreeMeasurementsOnEachSide)
{
    // The best split by error alone would put two points below Vc; it is not allowed.
    std::vector<SRatingPoint> points;
    for (double vi : {100.0, 200.0})
        points.push_back(Point(vi, 5.0 * vi));
    for (double vi : {300.0, 400.0, 500.0, 600.0, 700.0})
        points.push_back(Point(vi, vi));
    const SRatingFit fit = FitRating(RatingModel::Compound, points, kMm);
    ASSERT_TRUE(fit.m_bOk);
    EXPECT_GE(fit.m_dCritVelocity, 250.0);
    EXPECT_LE(fit.m_dCritVelocity, 450.0);
}

TEST(RatingStatistics, TooFewPointsAndSingularFitsAreErrors)
{
    std::vector<SRatingPoint> two = {Point(100, 110), Point(200, 205)};
    const SRatingFit linear = FitRating(RatingModel::Linear, two, kMm);
    EXPECT_FALSE(linear.m_bOk);
    EXPECT_EQ(linear.m_strError, "Linear: 2 usable measurements, at least 3 needed");
    EXPECT_TRUE(linear.m_coefficients.empty());

    // Excluded points do not count.
    std::vector<SRatingPoint> excluded = {Point(100, 110), Point(200, 205), Point(300, 290, 10000, true)};
    EXPECT_FALSE(FitRating(RatingModel::Linear, excluded, kMm).m_bOk);

    std::vector<SRatingPoint> same = {Point(300, 280), Point(300, 300), Point(300, 310), Point(300, 305)};
    const SRatingFit singular = FitRating(RatingModel::Linear, same, kMm);
    EXPECT_FALSE(singular.m_bOk);
    EXPECT_NE(singular.m_strError.find("singular"), std::string::npos);
    EXPECT_FALSE(FitRating(RatingModel::Power, same, kMm).m_bOk);

    std::vector<SRatingPoint> five;
    for (double vi : {100.0, 200.0, 300.0, 400.0, 500.0})
        five.push_back(Point(vi, vi));
    const SRatingFit compound = FitRating(RatingModel::Compound, five, kMm);
    EXPECT_FALSE(compound.m_bOk);
    EXPECT_NE(compound.m_strError.find("at least 6"), std::string::npos);
    // With the stage term every stage equal makes H x Vi a multiple of Vi.
    std::vector<SRatingPoint> flat;
    for (double vi : {100.0, 200.0, 300.0, 400.0})
        flat.push_back(Point(vi, vi + 3.0, 20000.0));
    EXPECT_FALSE(FitRating(RatingModel::LinearStage, flat, kMm).m_bOk);
}

TEST(RatingStatistics, OutliersAreMarkedBeyondTwoStandardErrors)
{
    std::vector<SRatingPoint> points;
    const double noise[] = {1.0, -1.0, 1.0, -1.0, 1.0, -1.0, 1.0, -1.0, 1.0, -1.0, 30.0};
    for (int i = 0; i < 11; ++i)
        points.push_back(Point(100.0 * (i + 1), 10.0 + 0.9 * 100.0 * (i + 1) + noise[i]));
    const SRatingFit fit = FitRating(RatingModel::Linear, points, kMm);
    ASSERT_TRUE(fit.m_bOk);
    const auto res = RatingResiduals(fit, points);
    int marked = 0;
    for (const auto& r : res)
        marked += r.m_bOutlier;
    EXPECT_EQ(marked, 1);
    EXPECT_TRUE(res[10].m_bOutlier);
    EXPECT_NEAR(res[10].m_dPercent, 100.0 * res[10].m_dResidual / res[10].m_dRated, 1e-12);
}

} // namespace
