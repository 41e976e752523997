#include "data/Units.h"
#include "data/NoData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// One display unit of each code, in internal units, from the physical definitions (not from
// the program's table): 1 ft = 3048 tenths of a millimetre, 1 US gallon = 3785.411784 cm³, ...
struct Equivalence {
    int code;
    double internalPerUnit;
};

constexpr Equivalence kEquivalences[] = {
    {UNIT_FEET, 3048.0},
    {UNIT_INCHES, 254.0},
    {UNIT_CENTIMETERS, 100.0},
    {UNIT_MILLIMETERS, 10.0},
    {UNIT_METERS, 10000.0},
    {UNIT_METERS_PER_SECOND, 1000.0},
    {UNIT_FEET_PER_SECOND, 304.8},
    {UNIT_MILLIMETERS_PER_SECOND, 1.0},
    {UNIT_CENTIMETERS_PER_SECOND, 10.0},
    {UNIT_CUMECS, 1e6},
    {UNIT_MGD, 1e6 * 3785.411784 / 86400.0},
    {UNIT_GALLONS_PER_MINUTE, 3785.411784 / 60.0},
    {UNIT_CUBIC_METERS_PER_SECOND, 1e6},
    {UNIT_LITERS_PER_SECOND, 1000.0},
    {UNIT_CUBIC_FEET_PER_SECOND, 28316.846592},
    {UNIT_MEGALITERS_PER_DAY, 1e9 / 86400.0},
    {UNIT_SQUARE_FEET, 929.0304},
    {UNIT_SQUARE_METERS, 10000.0},
    {UNIT_SQUARE_INCHES, 6.4516},
    {UNIT_LITERS, 0.001},
    {UNIT_CUBIC_METERS, 1.0},
    {UNIT_MEGALITERS, 1000.0},
    {UNIT_GALLONS, 0.003785411784},
    {UNIT_KGALLONS, 3.785411784},
    {UNIT_MILLION_GALLONS, 3785.411784},
    {UNIT_CUBIC_FEET, 0.028316846592},
    {UNIT_ACRE_FEET, 1233.48183754752},
    {UNIT_CELSIUS, 100.0},
};

TEST(UnitsTest, EveryFactorMatchesThePhysicalUnit)
{
    for (const Equivalence& e : kEquivalences) {
        SCOPED_TRACE(UnitName(e.code));
        EXPECT_NEAR(ToDisplayUnits(e.internalPerUnit, e.code), 1.0, 1e-7);
        EXPECT_NEAR(ToInternalUnits(1.0, e.code) / e.internalPerUnit, 1.0, 1e-7);
    }
}

TEST(UnitsTest, RoundedReverseConstantsAreUsedAsTheyStand)
{
    // Stored values were made with these exact constants, not with 1/F.
    EXPECT_EQ(ToInternalUnits(1.0, UNIT_MGD), 43812.63646);
    EXPECT_EQ(ToInternalUnits(1.0, UNIT_CUBIC_FEET_PER_SECOND), 28316.84659);
    EXPECT_EQ(ToInternalUnits(1.0, UNIT_MILLION_GALLONS), 3785.41179);
    EXPECT_EQ(ToInternalUnits(1.0, UNIT_ACRE_FEET), 1233.481838);
    EXPECT_EQ(ToInternalUnits(2.5, UNIT_MGD), 2.5 * 43812.63646);
    // The others divide by the factor.
    EXPECT_EQ(ToInternalUnits(1.0, UNIT_FEET), 1.0 / 0.000328084);
    EXPECT_EQ(ToInternalUnits(7.0, UNIT_GALLONS), 7.0 / 264.1720519);
    EXPECT_EQ(ToDisplayUnits(1.0, UNIT_MGD), 2.2824465286698246e-05);
}

TEST(UnitsTest, ExamplesOfTheDisplayConversion)
{
    EXPECT_NEAR(ToInternalUnits(1.0, UNIT_FEET), 3048.0, 1e-3);
    EXPECT_DOUBLE_EQ(ToDisplayUnits(3048.0, UNIT_MILLIMETERS), 304.8);
    EXPECT_DOUBLE_EQ(ToDisplayUnits(1000000.0, UNIT_CUMECS), 1.0);
    EXPECT_DOUBLE_EQ(ToDisplayUnits(1000000.0, UNIT_CUBIC_METERS_PER_SECOND), 1.0);
    EXPECT_DOUBLE_EQ(ToDisplayUnits(1000000.0, UNIT_LITERS_PER_SECOND), 1000.0);
    EXPECT_DOUBLE_EQ(ToDisplayUnits(1000000.0, UNIT_MEGALITERS_PER_DAY), 86.4);
}

TEST(UnitsTest, TemperatureHasAnOffset)
{
    EXPECT_DOUBLE_EQ(ToDisplayUnits(2000.0, UNIT_FAHRENHEIT), 68.0);
    EXPECT_DOUBLE_EQ(ToDisplayUnits(0.0, UNIT_FAHRENHEIT), 32.0);
    EXPECT_DOUBLE_EQ(ToDisplayUnits(2000.0, UNIT_CELSIUS), 20.0);
    EXPECT_DOUBLE_EQ(ToInternalUnits(68.0, UNIT_FAHRENHEIT), 36.0 * 55.5556);
    EXPECT_DOUBLE_EQ(ToInternalUnits(32.0, UNIT_FAHRENHEIT), 0.0);
}

TEST(UnitsTest, NoDataPassesThroughEveryConversion)
{
    for (int code = 0; code <= 140; ++code) {
        EXPECT_EQ(ToDisplayUnits(NODATA, code), NODATA) << code;
        EXPECT_EQ(ToInternalUnits(NODATA, code), NODATA) << code;
    }
}

TEST(UnitsTest, UnknownCodesConvertNothing)
{
    for (int code : {0, 100, 128, 129, 132, 999, -1}) {
        EXPECT_EQ(ToDisplayUnits(123.456, code), 123.456) << code;
        EXPECT_EQ(ToInternalUnits(123.456, code), 123.456) << code;
        EXPECT_EQ(UnitName(code), "Unknown Units") << code;
        EXPECT_EQ(UnitAbbreviation(code), "Unknown Units") << code;
        EXPECT_EQ(UnitKindOfUnit(code), UNIT_KIND_NONE) << code;
    }
    EXPECT_EQ(ToDisplayUnits(123.456, UNIT_MILLIMETERS_PER_SECOND), 123.456);
    EXPECT_EQ(ToInternalUnits(123.456, UNIT_CUBIC_METERS), 123.456);
}

TEST(UnitsTest, NamesThatAreEasyToGetWrong)
{
    EXPECT_EQ(UnitAbbreviation(UNIT_INCHES), "In");
    EXPECT_EQ(UnitName(UNIT_FAHRENHEIT), "Degrees Farenheit");
    EXPECT_EQ(UnitAbbreviation(UNIT_FAHRENHEIT), "F");
    EXPECT_EQ(UnitName(UNIT_MGD), "MGD");
    EXPECT_EQ(UnitAbbreviation(UNIT_MGD), "MGD");
    EXPECT_EQ(UnitAbbreviation(UNIT_CUMECS), "cu m/s");
    EXPECT_EQ(UnitAbbreviation(UNIT_CUBIC_METERS_PER_SECOND), "cu m/s");
    EXPECT_EQ(UnitName(UNIT_CUMECS), "Cumecs");
    EXPECT_EQ(UnitName(UNIT_MEGALITERS_PER_DAY), "Million Liters per day");
    EXPECT_EQ(UnitAbbreviation(UNIT_MEGALITERS_PER_DAY), "Ml/day");
    EXPECT_EQ(UnitAbbreviation(UNIT_ACRE_FEET), "a ft");
    EXPECT_EQ(UnitName(UNIT_KGALLONS), "KGallons");
    EXPECT_EQ(UnitAbbreviation(UNIT_SQUARE_FEET), "sq ft");
}

TEST(UnitsTest, EveryUnitHasTheKindOfItsRange)
{
    for (int code = 101; code <= 131; ++code) {
        int expected = UNIT_KIND_NONE;
        if (code <= 105) {
            expected = UNIT_KIND_LENGTH;
        } else if (code <= 109) {
            expected = UNIT_KIND_VELOCITY;
        } else if (code <= 116) {
            expected = UNIT_KIND_FLOW;
        } else if (code <= 119) {
            expected = UNIT_KIND_AREA;
        } else if (code <= 127) {
            expected = UNIT_KIND_VOLUME;
        } else if (code >= 130) {
            expected = UNIT_KIND_TEMPERATURE;
        }
        EXPECT_EQ(UnitKindOfUnit(code), expected) << code;
    }
}

TEST(DataTypesTest, NamesAndCodesBothWays)
{
    const int named[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 100, 101, 102, 103, 105};
    for (int code : named) {
        EXPECT_EQ(DataTypeFromName(DataTypeName(code)), code) << code;
    }
    EXPECT_EQ(DataTypeName(DATATYPE_STAGE), "Stage");
    EXPECT_EQ(DataTypeName(DATATYPE_FLOW), "Flow");
    EXPECT_EQ(DataTypeName(DATATYPE_VELOCITY_BINS), "Velocity Bins");
    EXPECT_EQ(DataTypeName(DATATYPE_DATETIME), "Date/Time");
    EXPECT_EQ(DataTypeName(DATATYPE_PRESSURE_RANGE), "Pressure Range");
    for (int code : {0, 12, 104, 106, 107, 200}) {
        EXPECT_EQ(DataTypeName(code), "Unknown Data") << code;
    }
    EXPECT_EQ(DataTypeFromName("stage"), 0);
    EXPECT_EQ(DataTypeFromName("Stage "), 0);
    EXPECT_EQ(DataTypeFromName(""), 0);
    EXPECT_EQ(DataTypeFromName("Unknown Data"), 0);
}

TEST(DataTypesTest, UnitKindOfEachDataType)
{
    EXPECT_EQ(UnitKindOfDataType(DATATYPE_RANGE), UNIT_KIND_LENGTH);
    EXPECT_EQ(UnitKindOfDataType(DATATYPE_STAGE), UNIT_KIND_LENGTH);
    EXPECT_EQ(UnitKindOfDataType(DATATYPE_PRESSURE_RANGE), UNIT_KIND_LENGTH);
    for (int code : {5, 6, 100, 101, 102, 103, 105}) {
        EXPECT_EQ(UnitKindOfDataType(code), UNIT_KIND_VELOCITY) << code;
    }
    EXPECT_EQ(UnitKindOfDataType(DATATYPE_AREA), UNIT_KIND_AREA);
    EXPECT_EQ(UnitKindOfDataType(DATATYPE_FLOW), UNIT_KIND_FLOW);
    for (int code : {0, 1, 2, 9, 10, 104, 106, 107, 120, 125}) {
        EXPECT_EQ(UnitKindOfDataType(code), UNIT_KIND_NONE) << code;
    }
    // Area and temperature unit codes name their own kind.
    for (int code : {117, 118, 119}) {
        EXPECT_EQ(UnitKindOfDataType(code), UNIT_KIND_AREA) << code;
    }
    EXPECT_EQ(UnitKindOfDataType(130), UNIT_KIND_TEMPERATURE);
    EXPECT_EQ(UnitKindOfDataType(131), UNIT_KIND_TEMPERATURE);
}

TEST(PlausibleDateTimeTest, BoundsOfEachPart)
{
    EXPECT_TRUE(IsPlausibleDateTime(2005, 2, 31, 99, 0, 0)); // month lengths and the hour are not checked
    EXPECT_FALSE(IsPlausibleDateTime(1901, 6, 1, 0, 0, 0));
    EXPECT_TRUE(IsPlausibleDateTime(1902, 6, 1, 0, 0, 0));
    EXPECT_TRUE(IsPlausibleDateTime(2099, 6, 1, 0, 0, 0));
    EXPECT_FALSE(IsPlausibleDateTime(2100, 6, 1, 0, 0, 0));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 0, 1, 0, 0, 0));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 13, 1, 0, 0, 0));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 1, 0, 0, 0, 0));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 1, 32, 0, 0, 0));
    EXPECT_TRUE(IsPlausibleDateTime(2005, 1, 1, -7, 60, 60));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 1, 1, 0, 61, 0));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 1, 1, 0, 0, 61));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 1, 1, 0, -1, 0));
    EXPECT_FALSE(IsPlausibleDateTime(2005, 1, 1, 0, 0, -1));
}

} // namespace
