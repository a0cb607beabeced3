// Reading the user's locale from glibc and turning its strftime formats into pictures.
#include "core/LocaleInfo.h"

#include "core/ADate.h"
#include "core/CodePage.h"

#include <cstdint>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace UtilityClasses::Strings {

namespace Implementation {

namespace {

bool NeedsQuotes(char16_t c) { return c == u'\'' || (c < 0x80 && ((c | 0x20) >= u'a' && (c | 0x20) <= u'z')); }

void AppendLiteral(std::u16string_view text, std::u16string& picture)
{
    bool quote = false;
    for (char16_t c : text)
        quote = quote || NeedsQuotes(c);
    if (!quote) {
        picture += text;
        return;
    }
    picture += u'\'';
    for (char16_t c : text) {
        picture += c;
        if (c == u'\'')
            picture += u'\'';
    }
    picture += u'\'';
}

// The picture of one conversion; nothing for one that pictures can't express.
std::optional<std::u16string_view> PictureOf(char16_t conversion, bool unpadded)
{
    switch (conversion) {
    case u'd': return unpadded ? u"d" : u"dd";
    case u'e': return u"d";
    case u'm': return unpadded ? u"M" : u"MM";
    case u'Y': return u"yyyy";
    case u'y': return unpadded ? u"y" : u"yy";
    case u'b': case u'h': return u"MMM";
    case u'B': return u"MMMM";
    case u'a': return u"ddd";
    case u'A': return u"dddd";
    case u'H': return unpadded ? u"H" : u"HH";
    case u'k': return u"H";
    case u'I': return unpadded ? u"h" : u"hh";
    case u'l': return u"h";
    case u'M': return unpadded ? u"m" : u"mm";
    case u'S': return unpadded ? u"s" : u"ss";
    case u'p': case u'P': return u"tt";
    case u'D': return u"MM/dd/yy";
    case u'F': return u"yyyy-MM-dd";
    case u'T': return u"HH:mm:ss";
    case u'R': return u"HH:mm";
    case u'r': return u"hh:mm:ss tt";
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<std::u16string> PictureFromStrftime(std::u16string_view format)
{
    std::u16string picture;
    std::u16string literal;
    std::size_t i = 0;
    while (i < format.size()) {
        char16_t c = format[i++];
        if (c != u'%') {
            literal += c;
            continue;
        }
        bool unpadded = false;
        // Flags, widths and the E/O modifiers change nothing a picture can say, except '-'.
        while (i < format.size() && (format[i] == u'-' || format[i] == u'_' || format[i] == u'0' ||
                                     format[i] == u'^' || format[i] == u'#' || format[i] == u'E' ||
                                     format[i] == u'O' || (format[i] >= u'1' && format[i] <= u'9'))) {
            unpadded = unpadded || format[i] == u'-';
            ++i;
        }
        if (i == format.size())
            return std::nullopt;
        char16_t conversion = format[i++];
        if (conversion == u'%' || conversion == u'n' || conversion == u't') {
            literal += conversion == u'%' ? u'%' : u' ';
            continue;
        }
        auto part = PictureOf(conversion, unpadded);
        if (!part)
            return std::nullopt;
        AppendLiteral(literal, picture);
        literal.clear();
        picture += *part;
    }
    AppendLiteral(literal, picture);
    return picture;
}

}  // namespace Implementation

namespace {

class ALocaleHandle {
public:
    explicit ALocaleHandle(const std::string& name) : handle_(newlocale(LC_ALL_MASK, name.c_str(), locale_t{})) {}
    ~ALocaleHandle()
    {
        if (handle_)
            freelocale(handle_);
    }
    ALocaleHandle(const ALocaleHandle&) = delete;
    ALocaleHandle& operator=(const ALocaleHandle&) = delete;
    locale_t get() const { return handle_; }

private:
    locale_t handle_;
};

std::string UserLocaleName()
{
    for (const char* variable : {"LC_ALL", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return {};
}

bool IsPlainCLocale(const std::string& name)
{
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

// glibc counts the first weekday from a reference date (normally a Sunday).
int FirstDayOfWeek(locale_t locale)
{
    auto reference = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo_l(_NL_TIME_WEEK_1STDAY, locale)));
    int first = static_cast<unsigned char>(nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, locale)[0]);
    ADate date = Dates::FromYmd(reference / 10000, reference / 100 % 100, reference % 100);
    int referenceDay = Dates::IsValid(date) ? Dates::DayOfWeek(date) - 1 : 6;
    if (first < 1 || first > 7)
        first = 1;
    return (referenceDay + first - 1) % 7;
}

}  // namespace

std::optional<LocaleInfo> LocaleFromSystem(const std::string& name)
{
    std::string resolved = name.empty() ? UserLocaleName() : name;
    if (resolved.empty() || IsPlainCLocale(resolved))
        return std::nullopt;
    ALocaleHandle locale(resolved);
    if (!locale.get())
        return std::nullopt;
    const std::string codeset = nl_langinfo_l(CODESET, locale.get());
    bool complete = true;
    auto optionalText = [&](nl_item item) {
        std::u16string value;
        if (!CharsetToUtf16(nl_langinfo_l(item, locale.get()), codeset, value))
            complete = false;
        return value;
    };
    auto requiredText = [&](nl_item item) {
        std::u16string value = optionalText(item);
        complete = complete && !value.empty();
        return value;
    };

    LocaleInfo info;
    info.decimalSeparator = requiredText(RADIXCHAR);
    info.thousandsSeparator = optionalText(THOUSEP);
    info.negativeMode = 1;  // POSIX writes every negative number with a leading minus
    info.firstDayOfWeek = FirstDayOfWeek(locale.get());
    for (int i = 0; i < 7; ++i) {
        int sundayFirst = (i + 1) % 7;  // glibc starts its weeks on Sunday
        info.dayNames[i] = requiredText(static_cast<nl_item>(DAY_1 + sundayFirst));
        info.shortDayNames[i] = requiredText(static_cast<nl_item>(ABDAY_1 + sundayFirst));
    }
    for (int i = 0; i < 12; ++i) {
        // MON is the form used with a day ("марта"), ALTMON the standalone one ("март").
        info.genitiveMonthNames[i] = requiredText(static_cast<nl_item>(MON_1 + i));
        info.monthNames[i] = requiredText(static_cast<nl_item>(ALTMON_1 + i));
        info.shortMonthNames[i] = requiredText(static_cast<nl_item>(ABMON_1 + i));
    }
    info.am = optionalText(AM_STR);
    info.pm = optionalText(PM_STR);
    auto date = Implementation::PictureFromStrftime(optionalText(D_FMT));
    auto time = Implementation::PictureFromStrftime(optionalText(T_FMT));
    if (!complete || !date || !time || date->empty() || time->empty())
        return std::nullopt;
    info.shortDatePicture = *date;
    info.timePicture = *time;
    NormalizeLocale(info);
    return info;
}

}  // namespace UtilityClasses::Strings
