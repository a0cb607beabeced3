// Recurrence of planned transactions: the rule words, the next date, the occurrences.
#pragma once

#include "core/ADate.h"
#include "database/DatabaseTexts.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace Database::Recurrence {

enum class AKind : std::uint8_t { Daily = 0, Weekly = 1, Monthly = 2, MonthNth = 3, Yearly = 4, YearNth = 5 };

// Day selectors of the nth kinds; 1..7 are Monday..Sunday.
constexpr int kAnyDay = 8;
constexpr int kWorkingDay = 9;
constexpr int kWeekendDay = 10;
constexpr int kLastInstance = 5;

// The day-of-week mask bit of day d (1 Monday ... 7 Sunday).
constexpr std::uint8_t MaskBit(int dayOfWeek) { return static_cast<std::uint8_t>(1u << (7 - dayOfWeek)); }
constexpr std::uint8_t kWorkingDaysMask = 0x7C;  // Monday..Friday
constexpr std::uint8_t kAllDaysMask = 0x7F;

// The three words of a transaction's rule, split into fields. The word keeps what
// it was given: fields a kind does not use are carried unchanged.
struct ARule {
    bool active = false;
    std::uint8_t kind = 0;        // AKind; 6 and 7 name no kind
    std::uint8_t maskOrSelector = 0;
    std::uint8_t dayOfMonth = 0;
    std::uint8_t month = 0;
    std::uint8_t instance = 0;
    std::uint8_t interval = 0;
    bool endsAfterCount = false;
    bool endsAtDate = false;
    std::uint8_t count = 0;       // number of occurrences, the first one included
    bool regenerate = false;
    ADate end = 0;                // the first day no longer included

    static ARule FromWords(std::uint32_t word, std::uint32_t countWord, ADate endWord);
    std::uint32_t Word() const;
    std::uint32_t CountWord() const;
    AKind Kind() const { return static_cast<AKind>(kind); }
    bool operator==(const ARule&) const = default;
};

// Days from the 1st of the month to the day that instance and selector name.
int NthOffset(int year, int month, int instance, int selector);

// The occurrence after `date`, or none. Besides the inactive rule and the kinds'
// own cases, a rule whose fields are out of their ranges (interval 0, day of
// month 0, month 0 or above 12, instance 0 or above 5, an unknown kind), an empty
// mask where a mask is walked, or a result past 9999-12-31 gives none: such words
// only come from damaged or foreign files and must not make anyone search forever.
std::optional<ADate> NextDate(const ARule& rule, ADate date);

// Walks the occurrences of a transaction: its own date first, then each next
// date while the count and the end date allow. It always ends: a rule that does
// not move forward, or more than kMaxOccurrences dates, ends it.
class AOccurrences {
public:
    static constexpr std::uint32_t kMaxOccurrences = 100000;

    AOccurrences(const ARule& rule, ADate first);
    ADate Date() const { return date_; }
    // Moves to the next occurrence; false when there is none.
    bool Next();

private:
    ARule rule_;
    ADate date_;
    int remaining_;
    std::uint32_t produced_ = 1;
    bool ended_ = false;
};

// The recurrence dialog's checks: 0 when the field is acceptable, otherwise the
// message id to show (with the title "Повторение операции").
int CheckInterval(std::u16string_view text);
int CheckDayOfMonth(std::u16string_view text);
int CheckOccurrences(std::u16string_view text);
int CheckWeekdays(std::uint8_t mask);
// A whole number 1..maximum written with digits only (spaces around it allowed).
std::optional<int> ParseBoundedNumber(std::u16string_view text, int maximum);

}  // namespace Database::Recurrence
