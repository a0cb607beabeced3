// What the recurrence dialog offers, how its choices become a rule and a rule becomes choices,
// and the order in which its fields are checked.
#pragma once

#include "database/Recurrence.h"

#include <optional>
#include <string>

namespace Database::Recurrence {

enum class AFrequency : int { Daily = 0, Weekly = 1, Monthly = 2, Yearly = 3 };
enum class AEnd : int { Never = 0, AfterCount = 1, AtDate = 2 };

// The texts stay as typed: the checks read them.
struct AChoice {
    AFrequency frequency = AFrequency::Daily;
    // The second row of the frequency: every working day (daily), or an instance and a
    // selector ("В первый день ...", monthly and yearly).
    bool nth = false;
    std::u16string interval = u"1";  // days, weeks or months; yearly rules have none
    std::u16string dayOfMonth;
    std::uint8_t weekdays = 0;  // mask of the ticked days (weekly)
    int instance = 1;           // 1..5
    int selector = kAnyDay;     // 1..10
    int month = 1;              // 1..12
    AEnd end = AEnd::Never;
    std::u16string count;
    ADate lastDay = 0;          // the last day included
    bool regenerate = false;    // carried from the rule, never shown
};

enum class AChoiceField { Interval, DayOfMonth, Weekdays, Count };

struct AChoiceFailure {
    int message = 0;
    AChoiceField field = AChoiceField::Interval;
    bool operator==(const AChoiceFailure&) const = default;
};

// The first field the chosen rows use that fails, top to bottom; none when all pass.
std::optional<AChoiceFailure> CheckChoice(const AChoice& choice);
// The active rule of a choice that passed its checks; fields its kind does not use are 0.
ARule RuleOf(const AChoice& choice);
// The choices that show `rule`; a rule that is not active (a new one) gives choices taken
// from `start`, the transaction's date: every day, its day of month, its month, its day of
// the week ticked and named, ending at that date.
AChoice ChoiceOf(const ARule& rule, ADate start);

}  // namespace Database::Recurrence
