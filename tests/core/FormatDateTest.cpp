#include "core/AStrings.h"
#include "core/FormatDate.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

using namespace UtilityClasses::Strings;
using StringTests::U16;
using StringTests::U8;

namespace {

// Thursday, 5 March 2026, 14:07:09.250.
const ADate kThursday = Dates::FromYmd(2026, 3, 5);
constexpr std::int32_t kAfternoon = ((14 * 60 + 7) * 60 + 9) * 1000 + 250;

std::string Date(std::string_view picture, const LocaleInfo& locale, ADate date = kThursday)
{
    return U8(FormatDate(date, U16(picture), locale));
}

std::string DateTime(std::string_view picture, const LocaleInfo& locale, std::int32_t ms = kAfternoon)
{
    return U8(FormatDateTime(kThursday, ms, U16(picture), locale));
}

}  // namespace

TEST(FormatDate, TablePicturesInRussianAndEnglish)
{
    struct Case {
        int id;
        const char* russian;
        const char* english;
    };
    const Case cases[] = {
        {160, "05.03.2026 г.", "05.03.2026 г."},
        {161, "05.03.2026, 14:07", "05.03.2026, 14:07"},
        {162, "14:07:09", "14:07:09"},
        {163, "05.03.2026", "05.03.2026"},
        {164, "05 марта 2026 г.", "05 March 2026 г."},
        {165, "Март 2026 г.", "March 2026 г."},
        {166, "2026 г.", "2026 г."},
        {254, "5 марта", "5 March"},
    };
    for (const bool english : {false, true}) {
        AStrings table(english ? StringTests::English() : StringTests::Russian());
        for (const Case& c : cases) {
            std::u16string text = FormatDateTime(kThursday, kAfternoon, table.Text(c.id), table.Locale());
            EXPECT_EQ(U8(text), english ? c.english : c.russian) << c.id;
        }
    }
    // Dates alone leave the time letters as text, as the date pass of the platform did.
    AStrings table(StringTests::Russian());
    EXPECT_EQ(U8(FormatDate(kThursday, table.Text(161), table.Locale())), "05.03.2026, HH:mm");
}

TEST(FormatDate, PictureFields)
{
    const LocaleInfo ru = StringTests::Russian();
    const LocaleInfo en = StringTests::English();
    EXPECT_EQ(Date("d/M/y dd/MM/yy yyyy", ru, Dates::FromYmd(2009, 1, 2)), "2/1/9 02/01/09 2009");
    EXPECT_EQ(Date("yyyy yyyyy", ru, Dates::FromYmd(100, 1, 1)), "0100 0100");
    EXPECT_EQ(Date("ddd dddd ddddd", ru), "Чт четверг четверг");
    EXPECT_EQ(Date("dddd, d MMMM", ru), "четверг, 5 марта");
    EXPECT_EQ(Date("dddd MMMM", ru), "четверг Март");  // a day name is no day number
    EXPECT_EQ(Date("MMM MMMMM", ru), "мар Март");
    EXPECT_EQ(Date("'d' MMMM", ru), "d Март");       // a quoted d is text
    EXPECT_EQ(Date(U8(en.shortDatePicture), en), "3/5/2026");
    EXPECT_EQ(Date("dddd, MMMM dd, yyyy", en), "Thursday, March 05, 2026");
    EXPECT_EQ(Date("'It''s' d 'o''clock", en), "It's 5 o'clock");
    EXPECT_EQ(Date("''d''", en), "5");                  // empty quoted text
    EXPECT_EQ(Date("dd''''MM", en), "05'03");
    EXPECT_EQ(Date("Q: d", en), "Q: 5");
}

TEST(FormatDate, TimeFields)
{
    const LocaleInfo en = StringTests::English();
    const LocaleInfo ru = StringTests::Russian();
    EXPECT_EQ(DateTime("h:mm:ss tt", en), "2:07:09 PM");
    EXPECT_EQ(DateTime("hh H HH m s t", en), "02 14 14 7 9 P");
    EXPECT_EQ(DateTime("h:mm tt", en, 0), "12:00 AM");
    EXPECT_EQ(DateTime("h:mm tt", en, 12 * 3600 * 1000), "12:00 PM");
    EXPECT_EQ(DateTime("HHH:mmm:sss", en, 86399999), "23:59:59");
    EXPECT_EQ(DateTime("H:mm:ss tt", ru), "14:07:09 ");  // Russian has no designators
    // One pass: quoted text is never read as time fields.
    EXPECT_EQ(DateTime("d MMMM 'at' h tt", en), "5 March at 2 PM");
}

TEST(FormatDate, OutOfRangeGivesEmptyText)
{
    const LocaleInfo ru = StringTests::Russian();
    EXPECT_EQ(Date("dd.MM.yyyy", ru, Dates::kMinDate), "01.01.0100");
    EXPECT_EQ(Date("dd.MM.yyyy", ru, Dates::kMaxDate), "31.12.9999");
    EXPECT_EQ(Date("dd.MM.yyyy", ru, Dates::kMinDate - 1), "");
    EXPECT_EQ(Date("dd.MM.yyyy", ru, Dates::kMaxDate + 1), "");
    EXPECT_EQ(DateTime("HH", ru, -1), "");
    EXPECT_EQ(DateTime("HH", ru, 86400000), "");
}

TEST(FormatDate, LongPicturesAreCutAt511Characters)
{
    std::u16string picture(600, u'x');
    picture += u"dddd";
    char16_t buffer[kDateCapacity];
    EXPECT_EQ(FormatDate(kThursday, picture, StringTests::Russian(), buffer), 511u);
    EXPECT_EQ(buffer[511], u'\0');
}
