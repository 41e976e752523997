#pragma once
// Display units: every quantity is held in fixed internal units (length in tenths of a
// millimetre, area in square centimetres, velocity in mm/s, flow in cm³/s, volume in m³,
// temperature in hundredths of a degree Celsius) and converted only where it is shown or typed.
// The data types and the number formatter belong with them and come along with this header.
#include "data/DataTypes.h"
#include "data/FormatValue.h"

#include <string>

// The kinds of unit, in the order of the station's set of display units.
enum UnitKind : int {
    UNIT_KIND_NONE = -1,
    UNIT_KIND_LENGTH = 0,
    UNIT_KIND_VELOCITY = 1,
    UNIT_KIND_FLOW = 2,
    UNIT_KIND_VOLUME = 3,
    UNIT_KIND_TEMPERATURE = 4,
    UNIT_KIND_AREA = 5,
};
inline constexpr int UNIT_KIND_COUNT = 6;

enum UnitCode : int {
    UNIT_FEET = 101,
    UNIT_INCHES = 102,
    UNIT_CENTIMETERS = 103,
    UNIT_MILLIMETERS = 104,
    UNIT_METERS = 105,
    UNIT_METERS_PER_SECOND = 106,
    UNIT_FEET_PER_SECOND = 107,
    UNIT_MILLIMETERS_PER_SECOND = 108,
    UNIT_CENTIMETERS_PER_SECOND = 109,
    UNIT_CUMECS = 110,
    UNIT_MGD = 111,
    UNIT_GALLONS_PER_MINUTE = 112,
    UNIT_CUBIC_METERS_PER_SECOND = 113,
    UNIT_LITERS_PER_SECOND = 114,
    UNIT_CUBIC_FEET_PER_SECOND = 115,
    UNIT_MEGALITERS_PER_DAY = 116,
    UNIT_SQUARE_FEET = 117,
    UNIT_SQUARE_METERS = 118,
    UNIT_SQUARE_INCHES = 119,
    UNIT_LITERS = 120,
    UNIT_CUBIC_METERS = 121,
    UNIT_MEGALITERS = 122,
    UNIT_GALLONS = 123,
    UNIT_KGALLONS = 124,
    UNIT_MILLION_GALLONS = 125,
    UNIT_CUBIC_FEET = 126,
    UNIT_ACRE_FEET = 127,
    UNIT_FAHRENHEIT = 130,
    UNIT_CELSIUS = 131,
};

// Long name for selection lists, short name for after numbers; "Unknown Units" for a code
// outside the table.
std::string UnitName(int code);
std::string UnitAbbreviation(int code);

// The kind a unit code measures, or UNIT_KIND_NONE for a code outside the table.
int UnitKindOfUnit(int code);

// Internal value to the unit, and back. NODATA passes through; an unknown code converts nothing.
double ToDisplayUnits(double value, int code);
double ToInternalUnits(double value, int code);

// The sanity check applied to a broken-down time from the instrument before it is turned into
// a stamp. It does not know month lengths and ignores the hour.
bool IsPlausibleDateTime(int year, int month, int day, int hour, int minute, int second);
