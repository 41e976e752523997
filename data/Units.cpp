#include "data/Units.h"

#include "data/NoData.h"

namespace
{

struct UnitEntry {
    int code;
    const char* longName;
    const char* shortName;
    int kind;
    double factor; // internal -> display: multiply
    // display -> internal: multiply by this when it is not 0, else divide by factor. These
    // constants are rounded and not exactly 1/factor; stored values were made with them.
    double reverse;
};

// Fahrenheit is not a plain factor; its entry only names it.
constexpr UnitEntry kUnits[] = {
    {UNIT_FEET, "Feet", "ft", UNIT_KIND_LENGTH, 0.000328084, 0.0},
    {UNIT_INCHES, "Inches", "In", UNIT_KIND_LENGTH, 0.0039370079, 0.0},
    {UNIT_CENTIMETERS, "Centimeters", "cm", UNIT_KIND_LENGTH, 0.01, 0.0},
    {UNIT_MILLIMETERS, "Millimeters", "mm", UNIT_KIND_LENGTH, 0.1, 0.0},
    {UNIT_METERS, "Meters", "m", UNIT_KIND_LENGTH, 0.0001, 0.0},
    {UNIT_METERS_PER_SECOND, "Meters per second", "m/s", UNIT_KIND_VELOCITY, 0.001, 0.0},
    {UNIT_FEET_PER_SECOND, "Feet per second", "ft/s", UNIT_KIND_VELOCITY, 0.00328084, 0.0},
    {UNIT_MILLIMETERS_PER_SECOND, "Millimeters per second", "mm/s", UNIT_KIND_VELOCITY, 1.0, 0.0},
    {UNIT_CENTIMETERS_PER_SECOND, "Centimeters per second", "cm/s", UNIT_KIND_VELOCITY, 0.1, 0.0},
    {UNIT_CUMECS, "Cumecs", "cu m/s", UNIT_KIND_FLOW, 1e-06, 0.0},
    {UNIT_MGD, "MGD", "MGD", UNIT_KIND_FLOW, 2.2824465286698246e-05, 43812.63646},
    {UNIT_GALLONS_PER_MINUTE, "Gallons per minute", "GPM", UNIT_KIND_FLOW, 0.015850323, 0.0},
    {UNIT_CUBIC_METERS_PER_SECOND, "Cubic meters per second", "cu m/s", UNIT_KIND_FLOW, 1e-06, 0.0},
    {UNIT_LITERS_PER_SECOND, "Liters per second", "l/s", UNIT_KIND_FLOW, 0.001, 0.0},
    {UNIT_CUBIC_FEET_PER_SECOND, "Cubic feet per second", "cu ft/s", UNIT_KIND_FLOW, 3.531466672398284e-05,
     28316.84659},
    {UNIT_MEGALITERS_PER_DAY, "Million Liters per day", "Ml/day", UNIT_KIND_FLOW, 8.64e-05, 0.0},
    {UNIT_SQUARE_FEET, "Square Feet", "sq ft", UNIT_KIND_AREA, 0.001076391, 0.0},
    {UNIT_SQUARE_METERS, "Square Meters", "sq m", UNIT_KIND_AREA, 0.0001, 0.0},
    {UNIT_SQUARE_INCHES, "Square Inches", "sq in", UNIT_KIND_AREA, 0.15500031, 0.0},
    {UNIT_LITERS, "Liters", "l", UNIT_KIND_VOLUME, 1000.0, 0.0},
    {UNIT_CUBIC_METERS, "Cubic Meters", "cu m", UNIT_KIND_VOLUME, 1.0, 0.0},
    {UNIT_MEGALITERS, "Megaliters", "Ml", UNIT_KIND_VOLUME, 0.001, 0.0},
    {UNIT_GALLONS, "Gallons", "Gal", UNIT_KIND_VOLUME, 264.1720519, 0.0},
    {UNIT_KGALLONS, "KGallons", "KGal", UNIT_KIND_VOLUME, 0.26417205, 0.0},
    {UNIT_MILLION_GALLONS, "Million Gallons", "MGal", UNIT_KIND_VOLUME, 0.00026417205193942717, 3785.41179},
    {UNIT_CUBIC_FEET, "Cubic Feet", "cu ft", UNIT_KIND_VOLUME, 35.31466672, 0.0},
    {UNIT_ACRE_FEET, "Acre Feet", "a ft", UNIT_KIND_VOLUME, 0.0008107131934925174, 1233.481838},
    {UNIT_FAHRENHEIT, "Degrees Farenheit", "F", UNIT_KIND_TEMPERATURE, 0.018, 0.0},
    {UNIT_CELSIUS, "Degrees Celsius", "C", UNIT_KIND_TEMPERATURE, 0.01, 0.0},
};

constexpr const char* kUnknownUnits = "Unknown Units";

const UnitEntry* FindUnit(int code)
{
    for (const UnitEntry& entry : kUnits) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

std::string UnitName(int code)
{
    const UnitEntry* unit = FindUnit(code);
    return unit != nullptr ? unit->longName : kUnknownUnits;
}

std::string UnitAbbreviation(int code)
{
    const UnitEntry* unit = FindUnit(code);
    return unit != nullptr ? unit->shortName : kUnknownUnits;
}

int UnitKindOfUnit(int code)
{
    const UnitEntry* unit = FindUnit(code);
    return unit != nullptr ? unit->kind : UNIT_KIND_NONE;
}

double ToDisplayUnits(double value, int code)
{
    if (IsNoData(value)) {
        return value;
    }
    if (code == UNIT_FAHRENHEIT) {
        return 0.018 * value + 32.0;
    }
    const UnitEntry* unit = FindUnit(code);
    return unit != nullptr ? value * unit->factor : value;
}

double ToInternalUnits(double value, int code)
{
    if (IsNoData(value)) {
        return value;
    }
    if (code == UNIT_FAHRENHEIT) {
        return (value - 32.0) * 55.5556;
    }
    const UnitEntry* unit = FindUnit(code);
    if (unit == nullptr) {
        return value;
    }
    return unit->reverse != 0.0 ? value * unit->reverse : value / unit->factor;
}

bool IsPlausibleDateTime(int year, int month, int day, int /*hour*/, int minute, int second)
{
    return year > 1901 && year < 2100 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && minute >= 0 &&
           minute <= 60 && second >= 0 && second <= 60;
}
