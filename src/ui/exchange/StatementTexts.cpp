#include "ui/exchange/StatementTexts.h"

#include "core/CodePage.h"

namespace UserInterface::Exchange::StatementText {

using namespace ExportImport::Statements;

std::u16string ProblemText(const AProblem& problem)
{
    std::u16string text;
    switch (problem.kind) {
    case AProblemKind::NotAStatement: text = u"Файл не является выпиской этого формата"; break;
    case AProblemKind::BadDate: text = u"Дата не читается"; break;
    case AProblemKind::BadAmount: text = u"Сумма не читается"; break;
    case AProblemKind::MissingDate: text = u"У строки выписки нет даты"; break;
    case AProblemKind::MissingAmount: text = u"У строки выписки нет суммы"; break;
    case AProblemKind::BadText: text = u"Текст не в кодировке, объявленной в файле"; break;
    case AProblemKind::Truncated: text = u"Файл обрывается, не закончив запись"; break;
    }
    std::u16string where;
    if (problem.line)
        where = u"строка " + UtilityClasses::Strings::Utf8ToUtf16(std::to_string(problem.line));
    if (!problem.where.empty())
        where += (where.empty() ? u"" : u", ") + UtilityClasses::Strings::Utf8ToUtf16(problem.where);
    return text + (where.empty() ? u"" : u" (" + where + u")") + u".";
}

std::u16string RefusalText(const UtilityClasses::Strings::LocaleInfo& locale, AAccountRefusal refusal,
                           std::u16string_view statementCurrency, std::u16string_view account,
                           std::u16string_view accountCurrency)
{
    switch (refusal) {
    case AAccountRefusal::None: return {};
    case AAccountRefusal::NoAccount: return std::u16string(kNoAccount);
    case AAccountRefusal::OtherCurrency:
        return UtilityClasses::Strings::FormatText(locale, kOtherCurrency, {statementCurrency, account, accountCurrency});
    }
    return {};
}

std::u16string_view StateText(const APlannedLine& line)
{
    switch (line.reason) {
    case ADuplicateReason::None: return kWillBeAdded;
    case ADuplicateReason::SameReference: return kSameReference;
    case ADuplicateReason::NearbyTransaction: return kNearby;
    }
    return {};
}

std::u16string_view NameRefusalText(AProfileNameRefusal refusal)
{
    switch (refusal) {
    case AProfileNameRefusal::None: return {};
    case AProfileNameRefusal::Empty: return u"Не указано название профиля.\r\n\r\nПожалуйста, введите название.";
    case AProfileNameRefusal::TooLong: return u"Название профиля длиннее 60 знаков.\r\n\r\nПожалуйста, сократите его.";
    case AProfileNameRefusal::BadCharacter:
        return u"В названии профиля есть табуляция или перевод строки.\r\n\r\nПожалуйста, уберите их.";
    }
    return {};
}

}  // namespace UserInterface::Exchange::StatementText
