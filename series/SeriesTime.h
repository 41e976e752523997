#pragma once
// Times of an exported series: whole seconds of the instrument's clock counted from
// 30 December 1899 00:00 (the epoch of the recorded time stamps), written in ISO 8601 with
// the clock's offset from UTC ("2025-03-14T06:15:00+01:00"). The clock's time is written as
// it was recorded; the offset only says which instant that was.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Seconds of a recorded time stamp (days since the epoch), to the nearest second.
int64_t StampToSeconds(double days);
double SecondsToStamp(int64_t seconds);

struct SCivilTime {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};
SCivilTime CivilFromSeconds(int64_t seconds);
int64_t SecondsFromCivil(const SCivilTime& civil);
// Days in a month of the proleptic Gregorian calendar.
int DaysInMonth(int year, int month);

// "+HH:MM" or "-HH:MM" (also "Z" and "+HH"), up to 14 hours; minutes east of UTC.
std::optional<int> ParseUtcOffset(const std::string& text);
std::string FormatUtcOffset(int minutes);

// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS" (a space may stand for the T),
// in the instrument's clock. A time that carries its own offset ("...+02:00", "...Z") is
// moved to the clock whose offset is clockOffset. Nothing for a text that is not such a
// time or names no real instant (31 February, hour 24).
std::optional<int64_t> ParseSeriesTime(const std::string& text, int clockOffset);

// Writes "YYYY-MM-DDTHH:MM:SS" and the offset into out, which must hold 32 characters;
// returns the number written. No allocation: the exports call it for every row.
size_t FormatIsoTime(int64_t seconds, const char* offset, size_t offsetLength, char* out);
std::string FormatIsoTime(int64_t seconds, int offsetMinutes);
