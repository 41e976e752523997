#pragma once
// A time stamp as the station file and the recorded data carry it: days since
// 30 December 1899 00:00 with the time as the fraction of the day, and a status
// (0 valid). The calendar arithmetic follows the classic OLE date rules, so values read
// from files written on Windows mean the same instant here.
#include <cstdint>
#include <string>

struct CDateTime {
    enum Status : int32_t { valid = 0, invalid = 1, null = 2 };

    double m_dt = 0.0;
    int32_t m_status = valid;

    CDateTime() = default;
    CDateTime(double days, int32_t status = valid) : m_dt(days), m_status(status) {}

    // A date from its parts; the status is invalid when any part is out of range
    // (month 1..12, day 1..days of that month, hour 0..23, minute and second 0..59,
    // year 100..9999).
    static CDateTime FromParts(int year, int month, int day, int hour, int minute, int second);

    // The current local time of this computer.
    static CDateTime Now();

    bool IsValid() const { return m_status == valid; }

    // Breaks the stamp into its parts (seconds rounded to the nearest second as the
    // framework does); false when the stamp is not valid or out of the calendar's range.
    bool GetParts(int& year, int& month, int& day, int& hour, int& minute, int& second) const;

    // strftime-style formatting; the default is the program's usual "%Y/%m/%d %H:%M:%S".
    // An invalid stamp formats as an empty text.
    std::string Format(const char* format = "%Y/%m/%d %H:%M:%S") const;

    friend bool operator==(const CDateTime&, const CDateTime&) = default;
};
