// The messages of the import's read phase. Those the string table holds are fetched by
// id, so a language file translates them; the others are the program's fixed texts.
#pragma once

#include "core/AStrings.h"

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

// String-table ids used by the read and save phases.
constexpr int kImportCaption = 563;        // "Импорт данных", also the step's label
constexpr int kSectionCurrencies = 567;    // " (валюты)." ... " (операции)." follow
constexpr int kSavingCurrencies = 572;     // "Сохраняются валюты." ... "Сохраняются операции." follow
constexpr int kSeeLocation = 579;          // "\r\n\r\nСмотри: "
constexpr int kParseErrorId = 778;         // code, line, column
constexpr int kImportCompleted = 562;
// The wizards' and fendral-cli's results and the messages' kinds.
constexpr int kCannotOpenFile = 770;       // "Невозможно открыть файл #s"
constexpr int kReadDone = 776, kReadFailed = 777, kSaveFailed = 787;
constexpr int kErrorLabel = 551, kWarningLabel = 552;

constexpr AImportText kNothingToImport = Id(561);
constexpr AImportText kUnknownModuleError = Id(577);

// Currencies.
constexpr AFieldTexts kCurrencyCode{.absent = Fixed(u"Не указано обозначение для валюты."),
                                    .several = Fixed(u"Указано более одного обозначения для одной валюты.")};
constexpr AFieldTexts kCurrencyName{.absent = Id(591),
                                    .several = Fixed(u"Указано более одного названия для одной валюты.")};
constexpr AFieldTexts kCurrencyPrecision{
    .malformed =
        Fixed(u"Указано неправильное значение точности валюты.\r\nДолжно быть целое число от 0 до 4 включительно."),
    .several = Fixed(u"Указано более одного значения точности валюты.")};
constexpr AImportText kCurrencyTwice = Id(594);
constexpr AImportText kCurrencyOtherName =
    Fixed(u"Импортируемая валюта имеет название,\r\nотличное от уже существующего в файле данных.\r\nНовое название "
          u"будет проигрорировано.");
constexpr AImportText kCurrencyOtherPrecision =
    Fixed(u"Импортируемая валюта имеет точность,\r\nотличную от уже существующей в файле данных.\r\nНовое значение "
          u"точности будет проигрорировано.");

// Currency references: the element, then its text (a code) that is empty or unknown.
constexpr AFieldTexts kCurrencyRef{.absent = Id(593), .several = Fixed(u"Найдено более одного описателя валюты.")};
constexpr AImportText kCurrencyRefEmpty = Id(592);
constexpr AImportText kCurrencyNotFound = Id(588);

// Rates. The dates and amounts of a rate have no messages of their own in the older
// program, which took such a rate with a zero date or amount; a rate must not divide by
// zero later, so these refuse it.
constexpr AImportText kRateChanged = Id(595);
constexpr AImportText kRateToItself = Id(597);
constexpr AFieldTexts kRateDate{.absent = Fixed(u"Не указана дата курса."),
                                .malformed = Fixed(u"Дата курса указана неправильно."),
                                .several = Fixed(u"Дата курса указана более одного раза.")};
constexpr AFieldTexts kRateAmount{
    .absent = Fixed(u"Не указана сумма курса."),
    .malformed = Fixed(u"Сумма курса указана неправильно.\r\nДолжно быть положительное число."),
    .several = Fixed(u"Сумма курса указана более одного раза.")};

// Accounts, and account references.
constexpr AFieldTexts kAccountName{.absent = Id(590), .several = Fixed(u"Указано более одного названия для счета.")};
constexpr AFieldTexts kAccountComment{.several = Fixed(u"Указано более одного примечания к счету.")};
constexpr AFieldTexts kAccountBalance{.malformed = Fixed(u"Неправильно указан начальный остаток по счету."),
                                      .several = Fixed(u"Для одного счета указано несколько начальных остатков.")};
constexpr AImportText kAccountTwice =
    Fixed(u"В импортируемых данных обнаружено два счета с одинаковым\r\nназванием и в одной и той же валюте.");
constexpr AImportText kAccountOtherBalance =
    Fixed(u"Для импортируемого счета указан начальный остаток,\r\nотличный от начального остатка существующего "
          u"счета.\r\n\r\nУказанный начальный остаток будет проигнорирован.");
constexpr AImportText kAccountCannotLock = Fixed(u"Невозможно заблокировать уже существующий счет.");
constexpr AImportText kAccountNotFound = Id(589);

// Classifiers and categories.
constexpr AFieldTexts kClassifierSingular{
    .absent = Fixed(u"Не указано название классификатора в единственном числе."),
    .several = Fixed(u"Для классификатора указано несколько названий в единственном числе.")};
constexpr AFieldTexts kClassifierPlural{
    .absent = Fixed(u"Не указано название классификатора в множественном числе."),
    .several = Fixed(u"Для классификатора указано несколько названий в множественном числе.")};
constexpr AImportText kClassifierBadTrees = Id(603);
constexpr AImportText kClassifierTwice =
    Fixed(u"В импортируемых данных один и тот же классификатор\r\nсодержится более одного раза.");
constexpr AFieldTexts kCategoryName{.absent = Fixed(u"Не указано название категории."),
                                    .several = Fixed(u"Указано более одного названия категории.")};
constexpr AFieldTexts kCategoryComment{.several = Fixed(u"Указано более одного комментария для категории.")};

// Transactions.
constexpr AFieldTexts kTransactionDate{.absent = Id(598),
                                       .malformed = Id(599),
                                       .several = Fixed(u"Дата операции указана более одного раза.")};
constexpr AImportText kUnknownKind = Id(596);
constexpr AImportText kLockedNotExecuted = Fixed(u"Только выполненные операции могут быть заблокированы.");
constexpr AFieldTexts kBudgetDate{.malformed = Fixed(u"Неправильно указана бюджетная дата операции."),
                                  .several = Fixed(u"Бюджетная дата операции указана более одного раза.")};
constexpr AFieldTexts kQuantity{.malformed = Fixed(u"Значение количества для операции указано неправильно."),
                                .several = Fixed(u"Значение количества для операции указано более одного раза.")};
constexpr AFieldTexts kComment{.several = Fixed(u"Примечание к операции указано более одного раза.")};

// The income and expense sides of a transaction.
constexpr AFieldTexts kSideAccount{
    .absent = Id(601),
    .several = Fixed(u"Указано более одного счета прихода, расхода или перевода для операции.")};
constexpr AFieldTexts kSideAmount{.absent = Id(600),
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
constexpr AImportText kClassifierNotFound = Id(604);
constexpr AImportText kCategoryOnBalance = Fixed(u"Для операции фиксации остатка классификаторы не задаются.");
constexpr AImportText kClassifierNotInTransfers =
    Fixed(u"Указанный классификатор не используется в операциях перевода.");
constexpr AFieldTexts kRootName{.absent = Fixed(u"Не указано название корневой категории."),
                                .several = kCategoryName.several};
constexpr AImportText kWrongRootName = Id(602);
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
