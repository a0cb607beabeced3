// The texts of the bank statement pages and the CSV profiles window. The string table has no
// ids for them, so they are kept here, in one place, in the program's language.
#pragma once
#pragma push_macro("slots")
#undef slots
#include "exchange/statements/CategoryRules.h"
#include "exchange/statements/CsvMappingFields.h"
#include "exchange/statements/CsvProfiles.h"
#include "exchange/statements/StatementImport.h"
#include "exchange/statements/StatementWizardModel.h"
#pragma pop_macro("slots")

#include "core/FormatText.h"

#include <string>
#include <string_view>

namespace UserInterface::Exchange::StatementText {

// ---- the account page
inline constexpr std::u16string_view kAccountTitle = u"В какой счёт импортировать выписку?";
inline constexpr std::u16string_view kAccountSubtitle =
    u"Строки выписки будут добавлены как операции выбранного счёта файла данных.";
inline constexpr std::u16string_view kStatementFacts = u"Счёт в банке: #s; валюта: #s; строк в выписке: #d.";
inline constexpr std::u16string_view kNotGiven = u"не указан";
inline constexpr std::u16string_view kAccountCaption = u"Счёт файла данных:";
inline constexpr std::u16string_view kReferenceNote =
    u"Номер операции в банке сохраняется в дополнительном примечании «Ссылка банка», когда\n"
    u"оно включено в настройках файла данных; по нему повторный импорт узнаёт строку.";
inline constexpr std::u16string_view kNoAccount =
    u"Не выбран счёт.\r\n\r\nПожалуйста, выберите счёт, в который импортировать выписку.";
inline constexpr std::u16string_view kOtherCurrency =
    u"Выписка составлена в валюте #s, а счёт \"#s\" ведётся в валюте #s.\r\n\r\n"
    u"Пожалуйста, выберите счёт в валюте выписки. Ничего не сохранено.";

// ---- the review page
inline constexpr std::u16string_view kReviewTitle = u"Проверьте строки выписки.";
inline constexpr std::u16string_view kReviewSubtitle =
    u"Новые строки будут добавлены с выбранными категориями; строки, которые уже есть в файле, пропускаются.";
inline constexpr std::u16string_view kLines = u"Строки выписки";
inline constexpr std::u16string_view kTextColumn = u"Получатель, описание";
inline constexpr std::u16string_view kCategoriesColumn = u"Категории";
inline constexpr std::u16string_view kStateColumn = u"Что будет";
inline constexpr std::u16string_view kWillBeAdded = u"Будет добавлена";
inline constexpr std::u16string_view kSameReference = u"Пропущена: в файле есть операция с той же ссылкой банка";
inline constexpr std::u16string_view kNearby = u"Пропущена: в файле есть такая сумма в пределах трёх дней";
inline constexpr std::u16string_view kCounts = u"Новых строк: #d; пропущено как уже имеющиеся в файле: #d.";
inline constexpr std::u16string_view kCategoryOf = u"#s выбранной строки:";

inline constexpr std::u16string_view kRulesButton = u"Правила...";

// ---- the category rules window
inline constexpr std::u16string_view kRulesTitle = u"Правила категорий для выписок";
inline constexpr std::u16string_view kRules = u"Правила: строка выписки, текст которой содержит слова правила, получает его категории.";
inline constexpr std::u16string_view kRulesList = u"Правила";
inline constexpr std::u16string_view kRuleTextColumn = u"Текст содержит";
inline constexpr std::u16string_view kRuleText = u"Текст содержит:";
inline constexpr std::u16string_view kRuleCategoryOf = u"#s:";
inline constexpr std::u16string_view kAddRule = u"Добавить правило";
inline constexpr std::u16string_view kRemoveRule = u"Удалить правило";

// ---- the CSV profiles window
inline constexpr std::u16string_view kProfilesTitle = u"Профили выписок CSV";
inline constexpr std::u16string_view kProfiles = u"Профили:";
inline constexpr std::u16string_view kProfileName = u"Название профиля:";
inline constexpr std::u16string_view kSaveProfile = u"Сохранить профиль";
inline constexpr std::u16string_view kRemoveProfile = u"Удалить профиль";
inline constexpr std::u16string_view kColumnsGroup = u"Номера столбцов (с 1; пусто — нет такого столбца)";
inline constexpr std::u16string_view kColumnCaptions[8] = {
    u"Дата:", u"Сумма:", u"Списание:", u"Зачисление:", u"Валюта:", u"Получатель:", u"Описание:", u"Ссылка банка:"};
inline constexpr std::u16string_view kFormGroup = u"Вид файла";
inline constexpr std::u16string_view kSeparator = u"Разделитель полей (\\t — табуляция):";
inline constexpr std::u16string_view kDecimal = u"Десятичный знак:";
inline constexpr std::u16string_view kSkip = u"Пропустить строк заголовка:";
inline constexpr std::u16string_view kDateForms[3] = {u"Даты: день.месяц.год", u"Даты: месяц/день/год",
                                                      u"Даты: год-месяц-день"};
inline constexpr std::u16string_view kCodePages[3] = {u"Кодировка: определить", u"Кодировка: UTF-8",
                                                      u"Кодировка: Windows-1251"};
inline constexpr std::u16string_view kPreview = u"Первые строки файла с этими настройками:";
inline constexpr std::u16string_view kPreviewNoFile = u"Выберите файл в мастере, чтобы увидеть его первые строки.";
inline constexpr std::u16string_view kReferenceColumn = u"Ссылка банка";

// Why the fields of the profiles window make no mapping; `column` is the refused column's caption.
std::u16string MappingRefusalText(ExportImport::Statements::AMappingRefusal refusal, std::u16string_view column);
// The message of one problem of a statement: what is wrong and where.
std::u16string ProblemText(const ExportImport::Statements::AProblem& problem);
// Why an account is refused, filled in with the currencies and the account's name.
std::u16string RefusalText(const UtilityClasses::Strings::LocaleInfo& locale,
                           ExportImport::Statements::AAccountRefusal refusal, std::u16string_view statementCurrency,
                           std::u16string_view account, std::u16string_view accountCurrency);
// The state column of a planned line.
std::u16string_view StateText(const ExportImport::Statements::APlannedLine& line);
// Why a rule is refused; empty for none.
std::u16string_view RuleRefusalText(ExportImport::Statements::ARuleRefusal refusal);
// Why a profile name is refused; empty for none.
std::u16string_view NameRefusalText(ExportImport::Statements::AProfileNameRefusal refusal);

}  // namespace UserInterface::Exchange::StatementText
