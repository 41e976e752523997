#include "series/SeriesTime.h"

#include <cmath>
#include <cstdio>

namespace
{

constexpr int64_t SECONDS_PER_DAY = 86400;
// Days from 1970-01-01 back to the epoch of the time stamps, 1899-12-30.
constexpr int64_t EPOCH_DAYS = -25569;

// Calendar day numbers counted from 1970-01-01, proleptic Gregorian.
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Reads exactly n digits at text[pos]; -1 when they are not all there.
int Digits(const std::string& text, size_t pos, size_t n)
{
    if (pos + n > text.size())
        return -1;
    int value = 0;
    for (size_t i = 0; i < n; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

void Put2(char* out, int v)
{
    out[0] = static_cast<char>('0' + v / 10);
    out[1] = static_cast<char>('0' + v % 10);
}

} // namespace

int64_t StampToSeconds(double days)
{
    return static_cast<int64_t>(std::llround(days * static_cast<double>(SECONDS_PER_DAY)));
}

double SecondsToStamp(int64_t seconds)
{
    return static_cast<double>(seconds) / static_cast<double>(SECONDS_PER_DAY);
}

SCivilTime CivilFromSeconds(int64_t seconds)
{
    SCivilTime t;
    const int64_t days = FloorDiv(seconds, SECONDS_PER_DAY);
    const int64_t rest = seconds - days * SECONDS_PER_DAY;
    CivilFromDays(days + EPOCH_DAYS, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

int64_t SecondsFromCivil(const SCivilTime& t)
{
    return (DaysFromCivil(t.year, t.month, t.day) - EPOCH_DAYS) * SECONDS_PER_DAY + t.hour * 3600 +
           t.minute * 60 + t.second;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::optional<int> ParseUtcOffset(const std::string& text)
{
    if (text == "Z")
        return 0;
    if (text.size() != 3 && text.size() != 6)
        return std::nullopt;
    if (text[0] != '+' && text[0] != '-')
        return std::nullopt;
    const int hours = Digits(text, 1, 2);
    int minutes = 0;
    if (text.size() == 6) {
        if (text[3] != ':')
            return std::nullopt;
        minutes = Digits(text, 4, 2);
    }
    if (hours < 0 || minutes < 0 || minutes > 59 || hours * 60 + minutes > 14 * 60)
        return std::nullopt;
    const int total = hours * 60 + minutes;
    return text[0] == '-' ? -total : total;
}

std::string FormatUtcOffset(int minutes)
{
    char text[8];
    const int a = minutes < 0 ? -minutes : minutes;
    text[0] = minutes < 0 ? '-' : '+';
    Put2(text + 1, a / 60 % 100);
    text[3] = ':';
    Put2(text + 4, a % 60);
    return std::string(text, 6);
}

std::optional<int64_t> ParseSeriesTime(const std::string& text, int clockOffset)
{
    SCivilTime t;
    t.year = Digits(text, 0, 4);
    if (t.year < 0 || text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    t.month = Digits(text, 5, 2);
    t.day = Digits(text, 8, 2);
    size_t pos = 10;
    t.hour = t.minute = t.second = 0;
    if (pos < text.size() && (text[pos] == 'T' || text[pos] == ' ')) {
        t.hour = Digits(text, pos + 1, 2);
        t.minute = Digits(text, pos + 4, 2);
        if (pos + 3 >= text.size() || text[pos + 3] != ':' || t.hour < 0 || t.minute < 0)
            return std::nullopt;
        pos += 6;
        if (pos < text.size() && text[pos] == ':') {
            t.second = Digits(text, pos + 1, 2);
            if (t.second < 0)
                return std::nullopt;
            pos += 3;
        }
    }
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) || t.hour > 23 ||
        t.minute > 59 || t.second > 59)
        return std::nullopt;
    int64_t seconds = SecondsFromCivil(t);
    if (pos < text.size()) {
        // A time of another clock: the same instant on the instrument's clock.
        const auto own = ParseUtcOffset(text.substr(pos));
        if (!own)
            return std::nullopt;
        seconds += static_cast<int64_t>(clockOffset - *own) * 60;
    }
    return seconds;
}

size_t FormatIsoTime(int64_t seconds, const char* offset, size_t offsetLength, char* out)
{
    const SCivilTime t = CivilFromSeconds(seconds);
    if (t.year < 0 || t.year > 9999)
        return static_cast<size_t>(std::snprintf(out, 32, "%d", t.year));
    Put2(out, t.year / 100);
    Put2(out + 2, t.year % 100);
    out[4] = '-';
    Put2(out + 5, t.month);
    out[7] = '-';
    Put2(out + 8, t.day);
    out[10] = 'T';
    Put2(out + 11, t.hour);
    out[13] = ':';
    Put2(out + 14, t.minute);
    out[16] = ':';
    Put2(out + 17, t.second);
    size_t n = 19;
    for (size_t i = 0; i < offsetLength && n < 32; ++i)
        out[n++] = offset[i];
    return n;
}

std::string FormatIsoTime(int64_t seconds, int offsetMinutes)
{
    const std::string offset = FormatUtcOffset(offsetMinutes);
    char text[32];
    return std::string(text, FormatIsoTime(seconds, offset.data(), offset.size(), text));
}
