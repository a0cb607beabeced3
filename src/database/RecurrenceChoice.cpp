#include "database/RecurrenceChoice.h"

#include <algorithm>

namespace Database::Recurrence {

namespace {

std::u16string Digits(int value)
{
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    return text;
}

// The fields each frequency's row reads, top to bottom.
bool UsesInterval(const AChoice& c)
{
    return c.frequency == AFrequency::Weekly || c.frequency == AFrequency::Monthly ||
           (c.frequency == AFrequency::Daily && !c.nth);
}
bool UsesDayOfMonth(const AChoice& c)
{
    return (c.frequency == AFrequency::Monthly || c.frequency == AFrequency::Yearly) && !c.nth;
}

int Value(std::u16string_view text, int maximum) { return ParseBoundedNumber(text, maximum).value_or(0); }

// The instance of the date's day of the week in its month: 1..4, 5 from the 29th on.
int InstanceOf(ADate date) { return std::min((Dates::ToYmd(date).day - 1) / 7 + 1, kLastInstance); }

}  // namespace

std::optional<AChoiceFailure> CheckChoice(const AChoice& choice)
{
    if (UsesInterval(choice))
        if (const int message = CheckInterval(choice.interval))
            return AChoiceFailure{message, AChoiceField::Interval};
    if (UsesDayOfMonth(choice))
        if (const int message = CheckDayOfMonth(choice.dayOfMonth))
            return AChoiceFailure{message, AChoiceField::DayOfMonth};
    if (choice.frequency == AFrequency::Weekly)
        if (const int message = CheckWeekdays(choice.weekdays))
            return AChoiceFailure{message, AChoiceField::Weekdays};
    if (choice.end == AEnd::AfterCount)
        if (const int message = CheckOccurrences(choice.count))
            return AChoiceFailure{message, AChoiceField::Count};
    return std::nullopt;
}

ARule RuleOf(const AChoice& c)
{
    ARule rule;
    rule.active = true;
    rule.regenerate = c.regenerate;
    const auto interval = static_cast<std::uint8_t>(UsesInterval(c) ? Value(c.interval, 127) : 0);
    const auto day = static_cast<std::uint8_t>(UsesDayOfMonth(c) ? Value(c.dayOfMonth, 31) : 0);
    switch (c.frequency) {
    case AFrequency::Daily:
        rule.kind = static_cast<std::uint8_t>(AKind::Daily);
        rule.interval = c.nth ? 1 : interval;
        rule.maskOrSelector = c.nth ? kWorkingDaysMask : kAllDaysMask;
        break;
    case AFrequency::Weekly:
        rule.kind = static_cast<std::uint8_t>(AKind::Weekly);
        rule.interval = interval;
        rule.maskOrSelector = c.weekdays & kAllDaysMask;
        break;
    case AFrequency::Monthly:
    case AFrequency::Yearly: {
        const bool monthly = c.frequency == AFrequency::Monthly;
        const AKind kind = monthly ? (c.nth ? AKind::MonthNth : AKind::Monthly) : (c.nth ? AKind::YearNth : AKind::Yearly);
        rule.kind = static_cast<std::uint8_t>(kind);
        rule.interval = interval;
        rule.dayOfMonth = day;
        rule.month = static_cast<std::uint8_t>(monthly ? 0 : std::clamp(c.month, 1, 12));
        if (c.nth) {
            rule.instance = static_cast<std::uint8_t>(std::clamp(c.instance, 1, kLastInstance));
            rule.maskOrSelector = static_cast<std::uint8_t>(std::clamp(c.selector, 1, kWeekendDay));
        }
        break;
    }
    }
    switch (c.end) {
    case AEnd::Never: break;
    case AEnd::AfterCount:
        rule.endsAfterCount = true;
        rule.count = static_cast<std::uint8_t>(Value(c.count, 255));
        break;
    case AEnd::AtDate:
        rule.endsAtDate = true;
        rule.end = c.lastDay + 1;
        break;
    }
    return rule;
}

AChoice ChoiceOf(const ARule& rule, ADate start)
{
    AChoice c;
    const Dates::AYmd ymd = Dates::ToYmd(start);
    const int dayOfWeek = Dates::DayOfWeek(start);
    c.dayOfMonth = Digits(ymd.day);
    c.month = ymd.month;
    c.weekdays = MaskBit(dayOfWeek);
    c.instance = InstanceOf(start);
    c.selector = dayOfWeek;
    c.lastDay = start;
    if (!rule.active)
        return c;
    c.regenerate = rule.regenerate;
    const auto setInterval = [&] {
        if (rule.interval > 0)
            c.interval = Digits(rule.interval);
    };
    // The nth kinds show the instance and the selector, the others the day of month.
    const auto setDayOrNth = [&](bool nth) {
        c.nth = nth;
        if (!nth) {
            if (rule.dayOfMonth > 0)
                c.dayOfMonth = Digits(rule.dayOfMonth);
            return;
        }
        c.instance = std::clamp<int>(rule.instance, 1, kLastInstance);
        if (rule.maskOrSelector >= 1 && rule.maskOrSelector <= kWeekendDay)
            c.selector = rule.maskOrSelector;
    };
    switch (rule.Kind()) {
    case AKind::Daily:
        // Only "every working day" has a mask of its own; any other daily rule shows as every N days.
        c.nth = rule.interval <= 1 && rule.maskOrSelector == kWorkingDaysMask;
        setInterval();
        break;
    case AKind::Weekly:
        c.frequency = AFrequency::Weekly;
        c.weekdays = rule.maskOrSelector & kAllDaysMask;
        setInterval();
        break;
    case AKind::Monthly:
    case AKind::MonthNth:
        c.frequency = AFrequency::Monthly;
        setInterval();
        setDayOrNth(rule.Kind() == AKind::MonthNth);
        break;
    case AKind::Yearly:
    case AKind::YearNth:
        c.frequency = AFrequency::Yearly;
        if (rule.month >= 1 && rule.month <= 12)
            c.month = rule.month;
        setDayOrNth(rule.Kind() == AKind::YearNth);
        break;
    }
    if (rule.endsAfterCount) {
        c.end = AEnd::AfterCount;
        c.count = Digits(rule.count);
    } else if (rule.endsAtDate) {
        c.end = AEnd::AtDate;
        c.lastDay = rule.end - 1;
    }
    return c;
}

}  // namespace Database::Recurrence
