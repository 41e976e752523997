#pragma once
// Codes naming the quantities of a recorded ensemble or a computed series, as graphs, tables
// and the series code ask for them.
#include <string>

enum DataType : int {
    DATATYPE_NUMBER = 1,
    DATATYPE_DATETIME = 2,
    DATATYPE_RANGE = 3,
    DATATYPE_STAGE = 4,
    DATATYPE_INDEX_VELOCITY = 5,
    DATATYPE_VELOCITY = 6,
    DATATYPE_AREA = 7,
    DATATYPE_FLOW = 8,
    DATATYPE_PITCH = 9,
    DATATYPE_ROLL = 10,
    DATATYPE_PRESSURE_RANGE = 11,
    DATATYPE_VELOCITY_BINS = 100,
    DATATYPE_X_VELOCITY = 101,
    DATATYPE_Y_VELOCITY = 102,
    DATATYPE_Z_VELOCITY = 103,
    DATATYPE_AMPLITUDE = 105,
    DATATYPE_BEAM_VELOCITY = 106, // one beam or component; has no name of its own
    DATATYPE_CORRELATION = 107,   // has no name of its own
};

// The name shown for a data type; "Unknown Data" for a code without one.
std::string DataTypeName(int code);

// The code of a data type name (exact, case-sensitive); 0 when no name matches.
int DataTypeFromName(const std::string& name);

// The unit kind a data type is shown in (UNIT_KIND_*), or -1 when it has none. Also accepts
// the area and temperature unit codes, which name their own kind.
int UnitKindOfDataType(int code);
