// Calendar dates as day numbers, and the clock the model reads time from.
#pragma once
#include <cstdint>
#include <functional>

// Days since 1899-12-30 (the whole part of an OLE automation date).
using ADate = std::int32_t;

// 100-ns intervals since 1601-01-01; the data file keeps local time as if it were UTC.
using AFileTime = std::int64_t;

namespace Dates {

constexpr ADate kMinDate = -657434;   // 0100-01-01
constexpr ADate kMaxDate = 2958465;   // 9999-12-31

struct AYmd {
    int year;
    int month;  // 1..12
    int day;    // 1..31
    bool operator==(const AYmd&) const = default;
};

constexpr bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
int DaysInMonth(int year, int month);
int DaysInYear(int year);

ADate FromYmd(int year, int month, int day);
AYmd ToYmd(ADate date);
// 1 = Monday ... 7 = Sunday.
int DayOfWeek(ADate date);
bool IsValid(ADate date);

// A local date and time broken into its parts; milliseconds since midnight.
struct ALocalTime {
    ADate date;
    std::int32_t milliseconds;
};

AFileTime ToFileTime(const ALocalTime& time);
ALocalTime FromFileTime(AFileTime time);

}  // namespace Dates

// The model never reads the system clock itself: whoever owns it hands in a clock,
// so tests run on fixed dates and times.
using AClock = std::function<Dates::ALocalTime()>;

// The system's local time.
Dates::ALocalTime SystemLocalTime();
