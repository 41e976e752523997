#include "data/DateTime.h"

#include "platform/LocalTime.h"

#include <cmath>
#include <ctime>
#include <vector>

namespace
{

// Day 0 of the stamp, 1899-12-30, counted from 1970-01-01.
constexpr long long kEpochOffsetDays = -25569;

// The calendar reaches from 0100-01-01 to 9999-12-31; outside it the parts mean nothing.
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

constexpr double kHalfSecond = 0.5 / 86400.0;

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) {
        return 29;
    }
    return kDays[month - 1];
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar, the calendar
// the stamps have always been counted in.
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

} // namespace

CDateTime CDateTime::FromParts(int year, int month, int day, int hour, int minute, int second)
{
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59) {
        return CDateTime(0.0, invalid);
    }
    const long long date =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffsetDays;
    const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    // Before day 0 the time still counts forward from midnight while the day counts back, so
    // it is subtracted: -1.25 is 29 December 1899, 06:00.
    const double dt = static_cast<double>(date) + (date >= 0 ? time : -time);
    return CDateTime(dt, valid);
}

CDateTime CDateTime::Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!LocalTimeOf(now, local)) {
        return CDateTime(0.0, invalid);
    }
    return FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec);
}

bool CDateTime::GetParts(int& year, int& month, int& day, int& hour, int& minute, int& second) const
{
    if (m_status != valid || !std::isfinite(m_dt)) {
        return false;
    }
    // Generous bound before any integer conversion; the calendar check below is the exact one.
    if (m_dt < -700000.0 || m_dt > 3000000.0) {
        return false;
    }
    // Round to the nearest second away from day 0, as the day count runs both ways.
    const double rounded = m_dt + (m_dt > 0.0 ? kHalfSecond : -kHalfSecond);
    const long long date = static_cast<long long>(rounded); // toward zero: the day part
    const double magnitude = std::fabs(rounded);
    long secs = static_cast<long>((magnitude - std::floor(magnitude)) * 86400.0);
    if (secs >= 86400) {
        secs = 86399;
    }

    int y = 0;
    int mo = 0;
    int d = 0;
    CivilFromDays(date + kEpochOffsetDays, y, mo, d);
    if (y < kMinYear || y > kMaxYear) {
        return false;
    }
    year = y;
    month = mo;
    day = d;
    hour = static_cast<int>(secs / 3600);
    minute = static_cast<int>((secs / 60) % 60);
    second = static_cast<int>(secs % 60);
    return true;
}

std::string CDateTime::Format(const char* format) const
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (format == nullptr || *format == '\0' || !GetParts(year, month, day, hour, minute, second)) {
        return {};
    }

    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    // 1970-01-01 was a Thursday.
    tm.tm_wday = static_cast<int>(((days % 7) + 11) % 7);
    tm.tm_yday = static_cast<int>(days - DaysFromCivil(year, 1, 1));

    // strftime gives 0 both for "did not fit" and for an empty result; grow the buffer a few
    // times and then settle for empty.
    std::vector<char> buffer(128);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const std::size_t written = std::strftime(buffer.data(), buffer.size(), format, &tm);
        if (written > 0) {
            return std::string(buffer.data(), written);
        }
        buffer.resize(buffer.size() * 4);
    }
    return {};
}
