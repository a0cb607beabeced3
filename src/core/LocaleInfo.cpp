#include "core/LocaleInfo.h"

#include "core/Assert.h"

namespace UtilityClasses::Strings {

namespace {

template <std::size_t N>
std::u16string_view NameAt(const std::array<std::u16string, N>& names, int index)
{
    if (!FD_VERIFY(index >= 0 && static_cast<std::size_t>(index) < N))
        return {};
    return names[index];
}

}  // namespace

std::u16string_view LocaleInfo::ShortDayName(int index) const { return NameAt(shortDayNames, index); }
std::u16string_view LocaleInfo::DayName(int index) const { return NameAt(dayNames, index); }
std::u16string_view LocaleInfo::MonthName(int index) const { return NameAt(monthNames, index); }
std::u16string_view LocaleInfo::GenitiveMonthName(int index) const { return NameAt(genitiveMonthNames, index); }
std::u16string_view LocaleInfo::ShortMonthName(int index) const { return NameAt(shortMonthNames, index); }

void NormalizeLocale(LocaleInfo& locale)
{
    if (locale.decimalSeparator.size() > kMaxSeparatorLength)
        locale.decimalSeparator.resize(kMaxSeparatorLength);
    if (locale.thousandsSeparator.size() > kMaxSeparatorLength)
        locale.thousandsSeparator.resize(kMaxSeparatorLength);
    // Amounts could not be read back if both separators looked the same.
    if (locale.decimalSeparator == locale.thousandsSeparator) {
        locale.thousandsSeparator = u" ";
        locale.decimalSeparator = u",";
    }
    if (locale.negativeMode < 0 || locale.negativeMode > 4)
        locale.negativeMode = 1;
    if (locale.firstDayOfWeek < 0 || locale.firstDayOfWeek > 6)
        locale.firstDayOfWeek = 0;
}

LocaleInfo RussianLocale()
{
    LocaleInfo ru;
    ru.decimalSeparator = u",";
    ru.thousandsSeparator = u" ";
    ru.negativeMode = 1;
    ru.firstDayOfWeek = 0;
    ru.shortDayNames = {u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб", u"Вс"};
    ru.dayNames = {u"понедельник", u"вторник", u"среда", u"четверг", u"пятница", u"суббота", u"воскресенье"};
    ru.monthNames = {u"Январь", u"Февраль", u"Март",     u"Апрель",  u"Май",    u"Июнь",
                     u"Июль",   u"Август",  u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
    ru.genitiveMonthNames = {u"января", u"февраля", u"марта",    u"апреля",  u"мая",    u"июня",
                             u"июля",   u"августа", u"сентября", u"октября", u"ноября", u"декабря"};
    ru.shortMonthNames = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                          u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
    // The Russian locale has no AM/PM designators: times are written on a 24-hour clock.
    ru.shortDatePicture = u"dd.MM.yyyy";
    ru.timePicture = u"H:mm:ss";
    return ru;
}

LocaleInfo UserLocale()
{
    LocaleInfo locale = LocaleFromSystem().value_or(RussianLocale());
    NormalizeLocale(locale);
    return locale;
}

}  // namespace UtilityClasses::Strings
