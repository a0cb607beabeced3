#include "core/Assert.h"
#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

using namespace UtilityClasses::Strings;
using StringTests::U16;
using StringTests::U8;

TEST(LocaleInfo, EqualSeparatorsBecomeBlankAndComma)
{
    LocaleInfo locale = StringTests::English();
    locale.decimalSeparator = u".";
    locale.thousandsSeparator = u".";
    locale.negativeMode = 7;
    locale.firstDayOfWeek = -2;
    AStrings table(locale);  // every table applies the rules to the locale it is given
    EXPECT_EQ(table.Locale().decimalSeparator, u",");
    EXPECT_EQ(table.Locale().thousandsSeparator, u" ");
    EXPECT_EQ(table.Locale().negativeMode, 1);
    EXPECT_EQ(table.Locale().firstDayOfWeek, 0);

    LocaleInfo fine = StringTests::English();
    NormalizeLocale(fine);
    EXPECT_EQ(fine.decimalSeparator, u".");
    EXPECT_EQ(fine.thousandsSeparator, u",");
    EXPECT_EQ(fine.firstDayOfWeek, 6);
    for (int mode = 0; mode <= 4; ++mode) {
        fine.negativeMode = mode;
        NormalizeLocale(fine);
        EXPECT_EQ(fine.negativeMode, mode);
    }
}

TEST(LocaleInfo, AccessorsCheckTheirIndex)
{
    const LocaleInfo ru = StringTests::Russian();
    EXPECT_EQ(U8(ru.ShortDayName(0)), "Пн");
    EXPECT_EQ(U8(ru.DayName(6)), "воскресенье");
    EXPECT_EQ(U8(ru.MonthName(11)), "Декабрь");
    EXPECT_EQ(U8(ru.GenitiveMonthName(4)), "мая");
    EXPECT_EQ(U8(ru.ShortMonthName(1)), "фев");

    int failures = 0;
    auto previous = Fendral::SetAssertionHandler([&](const std::string&) {
        ++failures;
        return true;
    });
    EXPECT_TRUE(ru.DayName(7).empty());
    EXPECT_TRUE(ru.MonthName(-1).empty());
    EXPECT_TRUE(ru.ShortMonthName(12).empty());
    Fendral::SetAssertionHandler(previous);
    EXPECT_EQ(failures, 3);
}

TEST(LocaleInfo, StrftimeFormatsBecomePictures)
{
    struct Case {
        const char* format;
        const char* picture;  // nullptr: no picture can say it
    };
    const Case cases[] = {
        {"%d.%m.%Y", "dd.MM.yyyy"},
        {"%m/%d/%Y", "MM/dd/yyyy"},
        {"%e %B %Y", "d MMMM yyyy"},
        {"%-d.%-m.%y", "d.M.yy"},
        {"%T", "HH:mm:ss"},
        {"%r", "hh:mm:ss tt"},
        {"%I:%M %p", "hh:mm tt"},
        {"%k:%M", "H:mm"},
        {"%Y-%m-%d", "yyyy-MM-dd"},
        {"%d de %B", "dd' de 'MMMM"},
        {"%H h %M", "HH' h 'mm"},
        {"%d'%m", "dd''''MM"},
        {"100%% %d", "100% dd"},
        {"%Od.%Em", "dd.MM"},
        {"%d %Z", nullptr},
        {"%d %", nullptr},
    };
    for (const Case& c : cases) {
        auto picture = Implementation::PictureFromStrftime(U16(c.format));
        if (c.picture)
            EXPECT_EQ(picture ? U8(*picture) : std::string("<none>"), c.picture) << c.format;
        else
            EXPECT_FALSE(picture.has_value()) << c.format;
    }
}

TEST(LocaleInfo, SystemLocaleFallsBackWhenNotUsable)
{
    EXPECT_FALSE(LocaleFromSystem("C").has_value());
    EXPECT_FALSE(LocaleFromSystem("POSIX").has_value());
    EXPECT_FALSE(LocaleFromSystem("C.UTF-8").has_value());
    EXPECT_FALSE(LocaleFromSystem("xx_NOWHERE.UTF-8").has_value());
    // Whatever the machine has, the result is usable.
    LocaleInfo user = UserLocale();
    EXPECT_FALSE(user.decimalSeparator.empty());
    EXPECT_NE(user.decimalSeparator, user.thousandsSeparator);
    EXPECT_FALSE(user.shortDatePicture.empty());
}

// These run where the locales are installed (or compiled with localedef into $LOCPATH).
TEST(LocaleInfo, InstalledRussianLocaleReadsLikeTheBuiltInData)
{
    auto ru = LocaleFromSystem("ru_RU.UTF-8");
    if (!ru)
        GTEST_SKIP() << "ru_RU.UTF-8 is not installed";
    EXPECT_EQ(ru->decimalSeparator, u",");
    EXPECT_NE(ru->thousandsSeparator, u",");
    EXPECT_EQ(ru->firstDayOfWeek, 0);
    EXPECT_EQ(U8(ru->dayNames[0]), "Понедельник");
    EXPECT_EQ(U8(ru->shortDayNames[6]), "Вс");
    EXPECT_EQ(U8(ru->genitiveMonthNames[2]), "марта");
    EXPECT_EQ(U8(ru->monthNames[2]), "Март");
    EXPECT_EQ(ru->shortDatePicture, u"dd.MM.yyyy");
    EXPECT_EQ(ru->timePicture, u"HH:mm:ss");
}

TEST(LocaleInfo, InstalledEnglishLocaleStartsWeeksOnSunday)
{
    auto en = LocaleFromSystem("en_US.UTF-8");
    if (!en)
        GTEST_SKIP() << "en_US.UTF-8 is not installed";
    EXPECT_EQ(en->decimalSeparator, u".");
    EXPECT_EQ(en->thousandsSeparator, u",");
    EXPECT_EQ(en->firstDayOfWeek, 6);
    EXPECT_EQ(U8(en->dayNames[0]), "Monday");
    EXPECT_EQ(U8(en->monthNames[11]), "December");
    EXPECT_EQ(U8(en->am), "AM");
    EXPECT_EQ(en->shortDatePicture, u"MM/dd/yyyy");
}
