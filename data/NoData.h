#pragma once
// The program-wide "no value" marker. A value is no data when it compares exactly equal to
// it; conversions pass it through and computations that meet it give it again.

inline constexpr double NODATA = -32768.0;

inline constexpr bool IsNoData(double value)
{
    return value == NODATA;
}
