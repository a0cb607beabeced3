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
    case AProblemKind::NoCsvProfile:
        text = u"Не задан профиль выписки CSV: нажмите «Настройки» на первой странице мастера и укажите столбцы файла";
        break;
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

std::u16string MappingRefusalText(AMappingRefusal refusal, std::u16string_view column)
{
    switch (refusal) {
    case AMappingRefusal::None: return {};
    case AMappingRefusal::BadColumn:
        return u"Столбец \"" + std::u16string(column.substr(0, column.size() - 1)) +
               u"\" указан неверно.\r\n\r\nУкажите номер столбца от 1 до 256 или оставьте поле пустым.";
    case AMappingRefusal::NoDate: return u"Не указан столбец даты.\r\n\r\nПожалуйста, укажите его номер.";
    case AMappingRefusal::NoAmount:
        return u"Не указан столбец суммы.\r\n\r\nУкажите столбец суммы или оба столбца: списания и зачисления.";
    case AMappingRefusal::BadSeparator:
        return u"Разделитель полей указан неверно.\r\n\r\nУкажите один знак (не кавычку и не десятичный знак) или \\t.";
    case AMappingRefusal::BadDecimal: return u"Десятичный знак указан неверно.\r\n\r\nУкажите запятую или точку.";
    case AMappingRefusal::BadSkip:
        return u"Число строк заголовка указано неверно.\r\n\r\nУкажите число от 0 до 255.";
    }
    return {};
}

std::u16string_view RuleRefusalText(ARuleRefusal refusal)
{
    switch (refusal) {
    case ARuleRefusal::None: return {};
    case ARuleRefusal::NoText: return u"Не указан текст правила.\r\n\r\nПожалуйста, введите слова, которые ищутся в строках выписки.";
    case ARuleRefusal::BadText: return u"В тексте правила есть табуляция или перевод строки.\r\n\r\nПожалуйста, уберите их.";
    case ARuleRefusal::NoCategory: return u"Не выбрана категория.\r\n\r\nПожалуйста, выберите категорию хотя бы одного классификатора.";
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
