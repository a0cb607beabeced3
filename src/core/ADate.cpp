#include "core/ADate.h"

#include <chrono>
#include <ctime>

namespace Dates {

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (Howard Hinnant's algorithm).
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kEpochShift = 25569;  // 1970-01-01 as a day number
constexpr std::int64_t kFileTimeDays = 109205;  // 1899-12-30 minus 1601-01-01 in days
constexpr std::int64_t kTicksPerDay = 864000000000LL;
constexpr std::int64_t kTicksPerMs = 10000;

}  // namespace

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[(month - 1) % 12];
}

int DaysInYear(int year) { return IsLeapYear(year) ? 366 : 365; }

ADate FromYmd(int year, int month, int day)
{
    return static_cast<ADate>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                              kEpochShift);
}

AYmd ToYmd(ADate date)
{
    std::int64_t z = static_cast<std::int64_t>(date) - kEpochShift + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

int DayOfWeek(ADate date)
{
    const std::int64_t shifted = static_cast<std::int64_t>(date) + 693957;
    return static_cast<int>(((shifted % 7) + 7) % 7) + 1;
}

bool IsValid(ADate date) { return date >= kMinDate && date <= kMaxDate; }

AFileTime ToFileTime(const ALocalTime& time)
{
    return (static_cast<std::int64_t>(time.date) + kFileTimeDays) * kTicksPerDay + time.milliseconds * kTicksPerMs;
}

ALocalTime FromFileTime(AFileTime time)
{
    std::int64_t days = time / kTicksPerDay;
    std::int64_t rest = time % kTicksPerDay;
    if (rest < 0) {
        rest += kTicksPerDay;
        --days;
    }
    return {static_cast<ADate>(days - kFileTimeDays), static_cast<std::int32_t>(rest / kTicksPerMs)};
}

}  // namespace Dates

Dates::ALocalTime SystemLocalTime()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return {Dates::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
            ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + ms};
}
