// The messages of the import's read phase. Those the string table holds are fetched by
// id, so a language file translates them; the others are the program's fixed texts.
#pragma once

#include "core/AStrings.h"
#include "exchange/ExchangeTexts.h"

#include <string>
#include <string_view>

namespace ExportImport {

struct AImportText {
    int stringId = -1;  // -1: the literal below
    std::u16string_view literal;

    std::u16string Resolve(const UtilityClasses::Strings::AStrings& strings) const
    {
        return std::u16string(stringId >= 0 ? strings.Text(stringId) : literal);
    }
};

// The messages about one child element of an item: none given (or given empty where a
// text is required), one that does not read, several given. A field has only those its
// reading can run into.
struct AFieldTexts {
    AImportText absent;
    AImportText malformed;
    AImportText several;
};

namespace ImportText {

constexpr AImportText Id(int id) { return {id, {}}; }
constexpr AImportText Fixed(std::u16string_view text) { return {-1, text}; }

constexpr AImportText kNothingToImport = Id(ImportMessage::kNothingToImport);
constexpr AImportText kUnknownModuleError = Id(ImportMessage::kUnknownModuleError);

// Currencies.
constexpr AFieldTexts kCurrencyCode{.absent = Fixed(u"Не указано обозначение для валюты."),
                                    .several = Fixed(u"Указано более одного обозначения для одной валюты.")};
constexpr AFieldTexts kCurrencyName{.absent = Id(ImportMessage::kCurrencyNameMissing),
                                    .several = Fixed(u"Указано более одного названия для одной валюты.")};
constexpr AFieldTexts kCurrencyPrecision{
    .malformed =
        Fixed(u"Указано неправильное значение точности валюты.\r\nДолжно быть целое число от 0 до 4 включительно."),
    .several = Fixed(u"Указано более одного значения точности валюты.")};
constexpr AImportText kCurrencyTwice = Id(ImportMessage::kCurrencyTwice);
constexpr AImportText kCurrencyOtherName =
    Fixed(u"Импортируемая валюта имеет название,\r\nотличное от уже существующего в файле данных.\r\nНовое название "
          u"будет проигрорировано.");
constexpr AImportText kCurrencyOtherPrecision =
    Fixed(u"Импортируемая валюта имеет точность,\r\nотличную от уже существующей в файле данных.\r\nНовое значение "
          u"точности будет проигрорировано.");

// Currency references: the element, then its text (a code) that is empty or unknown.
constexpr AFieldTexts kCurrencyRef{.absent = Id(ImportMessage::kCurrencyRefMissing),
                                   .several = Fixed(u"Найдено более одного описателя валюты.")};
constexpr AImportText kCurrencyRefEmpty = Id(ImportMessage::kCurrencyCodeMissing);
constexpr AImportText kCurrencyNotFound = Id(ImportMessage::kCurrencyNotFound);

// Rates. The dates and amounts of a rate have no messages of their own in the older
// program, which took such a rate with a zero date or amount; a rate must not divide by
// zero later, so these refuse it.
constexpr AImportText kRateChanged = Id(ImportMessage::kRateChanged);
constexpr AImportText kRateToItself = Id(ImportMessage::kRateToItself);
constexpr AFieldTexts kRateDate{.absent = Fixed(u"Не указана дата курса."),
                                .malformed = Fixed(u"Дата курса указана неправильно."),
                                .several = Fixed(u"Дата курса указана более одного раза.")};
constexpr AFieldTexts kRateAmount{
    .absent = Fixed(u"Не указана сумма курса."),
    .malformed = Fixed(u"Сумма курса указана неправильно.\r\nДолжно быть положительное число."),
    .several = Fixed(u"Сумма курса указана более одного раза.")};

// Accounts, and account references.
constexpr AFieldTexts kAccountName{.absent = Id(ImportMessage::kAccountNameMissing),
                                    .several = Fixed(u"Указано более одного названия для счета.")};
constexpr AFieldTexts kAccountComment{.several = Fixed(u"Указано более одного примечания к счету.")};
constexpr AFieldTexts kAccountBalance{.malformed = Fixed(u"Неправильно указан начальный остаток по счету."),
                                      .several = Fixed(u"Для одного счета указано несколько начальных остатков.")};
constexpr AImportText kAccountTwice =
    Fixed(u"В импортируемых данных обнаружено два счета с одинаковым\r\nназванием и в одной и той же валюте.");
constexpr AImportText kAccountOtherBalance =
    Fixed(u"Для импортируемого счета указан начальный остаток,\r\nотличный от начального остатка существующего "
          u"счета.\r\n\r\nУказанный начальный остаток будет проигнорирован.");
constexpr AImportText kAccountCannotLock = Fixed(u"Невозможно заблокировать уже существующий счет.");
constexpr AImportText kAccountNotFound = Id(ImportMessage::kAccountNotFound);

// Classifiers and categories.
constexpr AFieldTexts kClassifierSingular{
    .absent = Fixed(u"Не указано название классификатора в единственном числе."),
    .several = Fixed(u"Для классификатора указано несколько названий в единственном числе.")};
constexpr AFieldTexts kClassifierPlural{
    .absent = Fixed(u"Не указано название классификатора в множественном числе."),
    .several = Fixed(u"Для классификатора указано несколько названий в множественном числе.")};
constexpr AImportText kClassifierBadTrees = Id(ImportMessage::kClassifierBadTrees);
constexpr AImportText kClassifierTwice =
    Fixed(u"В импортируемых данных один и тот же классификатор\r\nсодержится более одного раза.");
constexpr AFieldTexts kCategoryName{.absent = Fixed(u"Не указано название категории."),
                                    .several = Fixed(u"Указано более одного названия категории.")};
constexpr AFieldTexts kCategoryComment{.several = Fixed(u"Указано более одного комментария для категории.")};

// Transactions.
constexpr AFieldTexts kTransactionDate{.absent = Id(ImportMessage::kDateMissing),
                                       .malformed = Id(ImportMessage::kDateInvalid),
                                       .several = Fixed(u"Дата операции указана более одного раза.")};
constexpr AImportText kUnknownKind = Id(ImportMessage::kUnknownKind);
constexpr AImportText kLockedNotExecuted = Fixed(u"Только выполненные операции могут быть заблокированы.");
constexpr AFieldTexts kBudgetDate{.malformed = Fixed(u"Неправильно указана бюджетная дата операции."),
                                  .several = Fixed(u"Бюджетная дата операции указана более одного раза.")};
constexpr AFieldTexts kQuantity{.malformed = Fixed(u"Значение количества для операции указано неправильно."),
                                .several = Fixed(u"Значение количества для операции указано более одного раза.")};
constexpr AFieldTexts kComment{.several = Fixed(u"Примечание к операции указано более одного раза.")};

// The income and expense sides of a transaction.
constexpr AFieldTexts kSideAccount{
    .absent = Id(ImportMessage::kAccountMissing),
    .several = Fixed(u"Указано более одного счета прихода, расхода или перевода для операции.")};
constexpr AFieldTexts kSideAmount{.absent = Id(ImportMessage::kAmountMissing),
                                  .malformed = Fixed(u"Ошибка конвертации при чтении суммы операции."),
                                  .several = Fixed(u"Указано более одной суммы операции.")};
constexpr AImportText kExpenseSidePositive =
    Fixed(u"Расходная часть операции перевода и сумма операции\r\nрасхода не может быть положительной.");
constexpr AImportText kIncomeSideNegative =
    Fixed(u"Приходная часть операции перевода и сумма операции\r\nприхода не может быть отрицательной.");
constexpr AFieldTexts kSideBalance{.absent = Fixed(u"Не указан значение остатка для операции фиксации остатка."),
                                   .malformed = Fixed(u"Ошибка конвертации при чтении остатка после операции."),
                                   .several = Fixed(u"Указано более одного значения остатка.")};
constexpr AImportText kBalanceNothingGiven =
    Fixed(u"Для операции фиксации остатка не были указаны существенные данные.");

// Categories of a transaction: a classifier by name, then a path from its root.
constexpr AImportText kNoClassifierName = Fixed(u"Не указано название классификатора.");
constexpr AImportText kClassifierNotFound = Id(ImportMessage::kClassifierNotFound);
constexpr AImportText kCategoryOnBalance = Fixed(u"Для операции фиксации остатка классификаторы не задаются.");
constexpr AImportText kClassifierNotInTransfers =
    Fixed(u"Указанный классификатор не используется в операциях перевода.");
constexpr AFieldTexts kRootName{.absent = Fixed(u"Не указано название корневой категории."),
                                .several = kCategoryName.several};
constexpr AImportText kWrongRootName = Id(ImportMessage::kWrongRootName);
constexpr AImportText kBadCategoryPath = Fixed(u"Неправильно указано значение классификатора.");

// Extra comments: the number is an attribute.
constexpr AFieldTexts kExtraNumber{.absent = Fixed(u"Не указан номер дополнительного комментария."),
                                   .malformed = Fixed(u"Номер дополнительного комментария указан неправильно.")};
constexpr AImportText kExtraNumberRange =
    Fixed(u"Номер дополнительного комментария должен быть в диапазоне от 1 до 4 включительно.");
constexpr AImportText kExtraTwice =
    Fixed(u"Дополнительный комментарий с заданным номером уже был указан для данной операции.");

// Recurrence; "%s" is the name of the element.
constexpr AImportText kSeveralRecurrences = Fixed(u"Повторение может указываться не более одного раза для операции.");
constexpr AImportText kExecutedRecurrence = Fixed(u"Операция не может быть выполненной и повторяющейся одновременно.");
constexpr AFieldTexts kRecurrenceType{.absent = Fixed(u"Не указан тип повторения."),
                                      .malformed = Fixed(u"Неизвестный тип повторения.")};
constexpr AFieldTexts kEndDate{.malformed = Fixed(u"Неправильно указано значение даты окончания повторения."),
                               .several = Fixed(u"Дата окончания повторения указана более одного раза.")};
constexpr AFieldTexts kRecurrenceValue{
    .malformed = Fixed(u"Значение %s указано неверно.\r\nДолжно быть неотрицательное целое число."),
    .several = Fixed(u"Значение %s указано более одного раза.")};
constexpr AImportText kNegativeRecurrenceValue = Fixed(u"Значение %s должно быть больше или равно нулю.");

}  // namespace ImportText
}  // namespace ExportImport
