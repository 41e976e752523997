#include "series/FittedRange.h"

#include "station/CalcSet.h"
#include "station/Station.h"

std::optional<SIndexVelocityRange> FittedIndexVelocityRange(const CCalcSet&)
{
    return std::nullopt; // not recorded with a calculation set yet
}

std::optional<SIndexVelocityRange> FittedIndexVelocityRange(const CStation&)
{
    return std::nullopt; // not recorded with the station yet
}
