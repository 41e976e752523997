#include "data/DataTypes.h"

#include "data/Units.h"

namespace
{

struct DataTypeEntry {
    const char* name;
    int code;
    int kind;
};

// In the order names are matched in; the first match wins.
constexpr DataTypeEntry kDataTypes[] = {
    {"Stage", DATATYPE_STAGE, UNIT_KIND_LENGTH},
    {"Range", DATATYPE_RANGE, UNIT_KIND_LENGTH},
    {"Pressure Range", DATATYPE_PRESSURE_RANGE, UNIT_KIND_LENGTH},
    {"Index Velocity", DATATYPE_INDEX_VELOCITY, UNIT_KIND_VELOCITY},
    {"Velocity", DATATYPE_VELOCITY, UNIT_KIND_VELOCITY},
    {"Velocity Bins", DATATYPE_VELOCITY_BINS, UNIT_KIND_VELOCITY},
    {"X Velocity", DATATYPE_X_VELOCITY, UNIT_KIND_VELOCITY},
    {"Y Velocity", DATATYPE_Y_VELOCITY, UNIT_KIND_VELOCITY},
    {"Z Velocity", DATATYPE_Z_VELOCITY, UNIT_KIND_VELOCITY},
    {"Amplitude", DATATYPE_AMPLITUDE, UNIT_KIND_VELOCITY},
    {"Area", DATATYPE_AREA, UNIT_KIND_AREA},
    {"Flow", DATATYPE_FLOW, UNIT_KIND_FLOW},
    {"Number", DATATYPE_NUMBER, UNIT_KIND_NONE},
    {"Date/Time", DATATYPE_DATETIME, UNIT_KIND_NONE},
    {"Pitch", DATATYPE_PITCH, UNIT_KIND_NONE},
    {"Roll", DATATYPE_ROLL, UNIT_KIND_NONE},
};

const DataTypeEntry* FindDataType(int code)
{
    for (const DataTypeEntry& entry : kDataTypes) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

std::string DataTypeName(int code)
{
    const DataTypeEntry* type = FindDataType(code);
    return type != nullptr ? type->name : "Unknown Data";
}

int DataTypeFromName(const std::string& name)
{
    for (const DataTypeEntry& entry : kDataTypes) {
        if (name == entry.name) {
            return entry.code;
        }
    }
    return 0;
}

int UnitKindOfDataType(int code)
{
    switch (code) {
    case UNIT_SQUARE_FEET:
    case UNIT_SQUARE_METERS:
    case UNIT_SQUARE_INCHES:
        return UNIT_KIND_AREA;
    case UNIT_FAHRENHEIT:
    case UNIT_CELSIUS:
        return UNIT_KIND_TEMPERATURE;
    default:
        break;
    }
    const DataTypeEntry* type = FindDataType(code);
    return type != nullptr ? type->kind : UNIT_KIND_NONE;
}
