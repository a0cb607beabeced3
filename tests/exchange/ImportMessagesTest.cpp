// Every message of the read phase, each reached by a small document: the text, whether
// it is an error or a warning, and whether the item was taken into the batch.
#include "ImportTestSupport.h"

#include <cctype>

namespace {

using namespace ImportTest;

std::string Item(std::string_view section, std::string_view item, std::string_view inner)
{
    return "<" + std::string(section) + "><" + std::string(item) + ">" + std::string(inner) + "</" +
           std::string(item) + "></" + std::string(section) + ">";
}
std::string Currency(std::string_view inner) { return Item("currencies", "currency", inner); }
std::string Rate(std::string_view inner) { return Currencies({"USD", "EUR"}) + Item("rates", "rate", inner); }
std::string Account(std::string_view inner) { return Currencies({"USD", "EUR"}) + Item("accounts", "account", inner); }
std::string Classifier(std::string_view inner) { return Item("classifiers", "classifier", inner); }

// A rate's currencies and amounts; the cases add the date or change one part.
const std::string kRatePair = "<currency-1>USD</currency-1><currency-2>EUR</currency-2>";
const std::string kRateAmounts = "<amount-1>1</amount-1><amount-2>2</amount-2>";
const std::string kRateDay = "<date>2020-01-01</date>";
std::string RateOn(std::string_view date, std::string_view amounts)
{
    return Rate(std::string(date) + kRatePair + std::string(amounts));
}

// A classifier's two names, and a category tree of one root.
const std::string kNames = "<singular-name>P</singular-name><plural-name>Ps</plural-name>";
std::string Tree(std::string_view kind, std::string_view root)
{
    return "<" + std::string(kind) + "-tree><category><name>" + std::string(root) + "</name></category></" +
           std::string(kind) + "-tree>";
}
const std::string kSingleTree = Tree("single", "R");
// A classifier with both names whose single tree's root holds `inner` after its name.
std::string Categorised(std::string_view inner)
{
    return Classifier(kNames + "<single-tree><category><name>R</name>" + std::string(inner) +
                      "</category></single-tree>");
}

// Two currencies, an account in each, a separate-trees classifier used in transfers and a
// single-tree one that is not, then one transaction.
const std::string kBooks =
    Currencies({"USD", "EUR"}) +
    "<accounts><account><name>Wallet</name><currency>USD</currency></account>"
    "<account><name>Bank</name><currency>EUR</currency></account></accounts>"
    "<classifiers><classifier><singular-name>Agent</singular-name><plural-name>Agents</plural-name>"
    "<income-tree><category><name>All payers</name></category></income-tree>"
    "<expense-tree><category><name>All payees</name><category><name>Shop</name></category></category></expense-tree>"
    "<transfer-tree><category><name>All movers</name></category></transfer-tree></classifier>"
    "<classifier><singular-name>Project</singular-name><plural-name>Projects</plural-name>"
    "<single-tree><category><name>All projects</name></category></single-tree></classifier></classifiers>";
const std::string kWallet = "<name>Wallet</name><currency>USD</currency>";
const std::string kPayFromWallet = "<expense-account>" + kWallet + "</expense-account>";
const std::string kSpend = kPayFromWallet + "<expense-amount>-5</expense-amount>";
const std::string kEarn = "<income-account>" + kWallet + "</income-account><income-amount>5</income-amount>";
const std::string kDate = "<date>2020-01-05</date>";

// The currency of the data file, as it is there.
const std::string kRoubles =
    "<currencies><currency><name>Российские рубли</name><code>RUR</code></currency></currencies>";

std::string Transaction(std::string_view inner) { return kBooks + Item("transactions", "transaction", inner); }
std::string Expense(std::string_view kindInner, std::string_view after = {})
{
    return Transaction(kDate + "<expense>" + std::string(kindInner) + "</expense>" + std::string(after));
}
std::string Spent(std::string_view after) { return Expense(kSpend, after); }
// Categories stand inside the kind element.
std::string Classified(std::string_view categories) { return Expense(kSpend + std::string(categories)); }
std::string Planned(std::string_view after) { return Transaction(kDate + "<expense>" + kSpend + "</expense>" + std::string(after)); }
std::string Balance(std::string_view kindInner) { return Transaction(kDate + "<balance>" + std::string(kindInner) + "</balance>"); }

using ACount = std::size_t (*)(ADatabase&);
std::size_t CurrencyCount(ADatabase& db) { return db.Currencies().SlotCount(); }
std::size_t RateCount(ADatabase& db) { return db.RateValues().SlotCount(); }
std::size_t AccountCount(ADatabase& db) { return db.Accounts().SlotCount(); }
std::size_t ClassifierCount(ADatabase& db) { return db.Classifiers().SlotCount(); }
std::size_t TransactionCount(ADatabase& db) { return db.Transactions().SlotCount(); }

struct ACase {
    const char* label;
    std::string body;
    const char* message;  // "E: ..." or "W: ..."
    ACount count;         // the table of the item under test ...
    std::size_t taken;    // ... and how many records it holds afterwards
};

const ACase kCases[] = {
    // Currencies.
    {"currency without code", Currency("<name>X</name>"), "E: Не указано обозначение для валюты.", CurrencyCount, 0},
    {"currency with two codes", Currency("<code>A</code><code>B</code><name>X</name>"),
     "E: Указано более одного обозначения для одной валюты.", CurrencyCount, 0},
    {"currency with an empty code", Currency("<code/><name>X</name>"), "E: Не указано обозначение для валюты.",
     CurrencyCount, 0},
    {"currency without name", Currency("<code>AAA</code>"), "E: Не указано название валюты.", CurrencyCount, 0},
    {"currency with two names", Currency("<code>AAA</code><name>X</name><name>Y</name>"),
     "E: Указано более одного названия для одной валюты.", CurrencyCount, 0},
    {"two precisions", Currency("<code>AAA</code><name>X</name><precision>1</precision><precision>1</precision>"),
     "E: Указано более одного значения точности валюты.", CurrencyCount, 0},
    {"precision not a number", Currency("<code>AAA</code><name>X</name><precision>two</precision>"),
     "E: Указано неправильное значение точности валюты.\r\nДолжно быть целое число от 0 до 4 включительно.",
     CurrencyCount, 0},
    {"precision above 4", Currency("<code>AAA</code><name>X</name><precision>5</precision>"),
     "E: Указано неправильное значение точности валюты.\r\nДолжно быть целое число от 0 до 4 включительно.",
     CurrencyCount, 0},
    {"negative precision", Currency("<code>AAA</code><name>X</name><precision>-1</precision>"),
     "E: Указано неправильное значение точности валюты.\r\nДолжно быть целое число от 0 до 4 включительно.",
     CurrencyCount, 0},
    {"currency twice", Currencies({"USD", "USD"}), "E: Попытка импортировать одну и ту же валюту более одного раза.",
     CurrencyCount, 1},
    {"existing currency with another name", Currency("<code>RUR</code><name>Рубли</name>"),
     "W: Импортируемая валюта имеет название,\r\nотличное от уже существующего в файле данных.\r\nНовое название "
     "будет проигрорировано.",
     CurrencyCount, 1},
    {"existing currency with another precision",
     Currency("<code>RUR</code><name>Российские рубли</name><precision>0</precision>"),
     "W: Импортируемая валюта имеет точность,\r\nотличную от уже существующей в файле данных.\r\nНовое значение "
     "точности будет проигрорировано.",
     CurrencyCount, 1},

    // Currency references, read through an account.
    {"account without currency", Account("<name>A</name>"), "E: Описатель валюты не найден.", AccountCount, 0},
    {"account with two currencies", Account("<name>A</name><currency>USD</currency><currency>EUR</currency>"),
     "E: Найдено более одного описателя валюты.", AccountCount, 0},
    {"account with an empty currency", Account("<name>A</name><currency></currency>"),
     "E: Не указано обозначение валюты.", AccountCount, 0},
    {"account in an unknown currency", Account("<name>A</name><currency>XXX</currency>"), "E: Валюта не найдена.",
     AccountCount, 0},
    {"account in a currency only the data file has", Account("<name>A</name><currency>RUR</currency>"),
     "E: Валюта не найдена.", AccountCount, 0},

    // Rates.
    {"rate changed within the document",
     Currencies({"USD", "EUR"}) +
         "<rates><rate><date>2020-01-01</date><currency-1>USD</currency-1><currency-2>EUR</currency-2>"
         "<amount-1>1</amount-1><amount-2>0.9</amount-2></rate>"
         "<rate><date>2020-01-01</date><currency-1>EUR</currency-1><currency-2>USD</currency-2>"
         "<amount-1>1</amount-1><amount-2>1</amount-2></rate></rates>",
     "W: Попытка изменить уже существующий курс. Игнорируется.", RateCount, 1},
    {"rate without date", RateOn("", kRateAmounts),
     "E: Не указана дата курса.", RateCount, 0},
    {"rate with a bad date", RateOn("<date>2020-02-30</date>", kRateAmounts),
     "E: Дата курса указана неправильно.", RateCount, 0},
    {"rate with two dates", RateOn(kRateDay + "<date>2020-01-02</date>", kRateAmounts),
     "E: Дата курса указана более одного раза.", RateCount, 0},
    {"rate without amount", RateOn(kRateDay, "<amount-1>1</amount-1>"),
     "E: Не указана сумма курса.", RateCount, 0},
    {"rate with a malformed amount", RateOn(kRateDay, "<amount-1>1x</amount-1><amount-2>2</amount-2>"),
     "E: Сумма курса указана неправильно.\r\nДолжно быть положительное число.", RateCount, 0},
    {"rate with a zero amount", RateOn(kRateDay, "<amount-1>1</amount-1><amount-2>0</amount-2>"),
     "E: Сумма курса указана неправильно.\r\nДолжно быть положительное число.", RateCount, 0},
    {"rate with two amounts", RateOn(kRateDay, "<amount-1>1</amount-1>" + kRateAmounts),
     "E: Сумма курса указана более одного раза.", RateCount, 0},
    {"rate of a currency to itself", Rate(kRateDay + "<currency-1>USD</currency-1><currency-2>USD</currency-2>" + kRateAmounts),
     "E: нельзя определить курс валюты к самой себе", RateCount, 0},
    {"rate in an unknown currency", Rate(kRateDay + "<currency-1>USD</currency-1><currency-2>GBP</currency-2>" + kRateAmounts),
     "E: Валюта не найдена.", RateCount, 0},

    // Accounts.
    {"account without name", Account("<currency>USD</currency>"), "E: Не указано название счета.", AccountCount, 0},
    {"account with two names", Account("<name>A</name><name>B</name><currency>USD</currency>"),
     "E: Указано более одного названия для счета.", AccountCount, 0},
    {"account with two comments", Account("<name>A</name><comment>1</comment><comment>2</comment><currency>USD</currency>"),
     "E: Указано более одного примечания к счету.", AccountCount, 0},
    {"account with a malformed balance", Account("<name>A</name><init-balance>1.2.3</init-balance><currency>USD</currency>"),
     "E: Неправильно указан начальный остаток по счету.", AccountCount, 0},
    {"account with two balances", Account("<name>A</name><init-balance>1</init-balance><init-balance>1</init-balance><currency>USD</currency>"),
     "E: Для одного счета указано несколько начальных остатков.", AccountCount, 0},
    {"account twice",
     Currencies({"USD"}) + "<accounts><account><name>A</name><currency>USD</currency></account>"
                           "<account><name>A</name><currency>USD</currency></account></accounts>",
     "E: В импортируемых данных обнаружено два счета с одинаковым\r\nназванием и в одной и той же валюте.",
     AccountCount, 1},
    {"existing account with another balance",
     kRoubles + "<accounts><account><name>Наличные</name><currency>RUR</currency>"
                "<init-balance>10</init-balance></account></accounts>",
     "W: Для импортируемого счета указан начальный остаток,\r\nотличный от начального остатка существующего "
     "счета.\r\n\r\nУказанный начальный остаток будет проигнорирован.",
     AccountCount, 1},
    {"existing account locked",
     kRoubles + "<accounts><account><name>Наличные</name><currency>RUR</currency><locked/></account></accounts>",
     "W: Невозможно заблокировать уже существующий счет.", AccountCount, 1},

    // Classifiers.
    {"classifier without singular name", Classifier("<plural-name>Ps</plural-name>" + kSingleTree),
     "E: Не указано название классификатора в единственном числе.", ClassifierCount, 0},
    {"classifier with two singular names", Classifier("<singular-name>Q</singular-name>" + kNames + kSingleTree),
     "E: Для классификатора указано несколько названий в единственном числе.", ClassifierCount, 0},
    {"classifier without plural name", Classifier("<singular-name>P</singular-name>" + kSingleTree),
     "E: Не указано название классификатора в множественном числе.", ClassifierCount, 0},
    {"classifier with two plural names", Classifier(kNames + "<plural-name>Qs</plural-name>" + kSingleTree),
     "E: Для классификатора указано несколько названий в множественном числе.", ClassifierCount, 0},
    {"classifier without trees", Classifier(kNames),
     "E: Классификатор содержит неправильный состав категорий.", ClassifierCount, 0},
    {"single tree with an income tree", Classifier(kNames + kSingleTree + Tree("income", "I")),
     "E: Классификатор содержит неправильный состав категорий.", ClassifierCount, 0},
    {"two single trees", Classifier(kNames + kSingleTree + Tree("single", "S")),
     "E: Классификатор содержит неправильный состав категорий.", ClassifierCount, 0},
    {"income tree without expense tree", Classifier(kNames + Tree("income", "I")),
     "E: Классификатор содержит неправильный состав категорий.", ClassifierCount, 0},
    {"two transfer trees", Classifier(kNames + Tree("income", "I") + Tree("expense", "E") + Tree("transfer", "T") + Tree("transfer", "U")),
     "E: Классификатор содержит неправильный состав категорий.", ClassifierCount, 0},
    {"tree with two roots", Classifier(kNames + "<single-tree><category><name>R</name></category><category><name>S</name></category></single-tree>"),
     "E: Классификатор содержит неправильный состав категорий.", ClassifierCount, 0},
    {"classifier twice",
     "<classifiers><classifier>" + kNames + kSingleTree + "</classifier><classifier>" + kNames + Tree("single", "S") +
         "</classifier></classifiers>",
     "E: В импортируемых данных один и тот же классификатор\r\nсодержится более одного раза.", ClassifierCount, 1},
    {"category without name", Categorised("<category><comment>c</comment></category>"),
     "E: Не указано название категории.", ClassifierCount, 0},
    {"category with two names", Categorised("<name>S</name>"),
     "E: Указано более одного названия категории.", ClassifierCount, 0},
    {"category with two comments", Categorised("<comment>1</comment><comment>2</comment>"),
     "E: Указано более одного комментария для категории.", ClassifierCount, 0},

    // Transactions: date and kind.
    {"transaction without date", Transaction("<expense>" + kSpend + "</expense>"), "E: Не указана дата операции.",
     TransactionCount, 0},
    {"transaction with a bad date", Transaction("<date>2020-13-01</date><expense>" + kSpend + "</expense>"),
     "E: Дата операции указана неправильно.", TransactionCount, 0},
    {"transaction with two dates", Transaction(kDate + kDate + "<expense>" + kSpend + "</expense>"),
     "E: Дата операции указана более одного раза.", TransactionCount, 0},
    {"transaction without kind", Transaction(kDate + "<refund>" + kSpend + "</refund>"), "E: Не определен тип операции.",
     TransactionCount, 0},

    // Sides.
    {"expense without account", Expense("<expense-amount>-5</expense-amount>"), "E: Не указан один из счетов в операции.",
     TransactionCount, 0},
    {"transfer without its income account", Transaction(kDate + "<transfer>" + kSpend + "</transfer>"),
     "E: Не указан один из счетов в операции.", TransactionCount, 0},
    {"expense with two accounts", Expense(kPayFromWallet + kSpend),
     "E: Указано более одного счета прихода, расхода или перевода для операции.", TransactionCount, 0},
    {"account reference without name", Expense("<expense-account><currency>USD</currency></expense-account><expense-amount>-5</expense-amount>"),
     "E: Не указано название счета.", TransactionCount, 0},
    {"account reference with two names", Expense("<expense-account><name>Wallet</name><name>Bank</name><currency>USD</currency></expense-account><expense-amount>-5</expense-amount>"),
     "E: Указано более одного названия для счета.", TransactionCount, 0},
    {"account of another currency", Expense("<expense-account><name>Wallet</name><currency>EUR</currency></expense-account><expense-amount>-5</expense-amount>"),
     "E: Счет не найден.", TransactionCount, 0},
    {"account only the data file has", Expense("<expense-account><name>Наличные</name><currency>USD</currency></expense-account><expense-amount>-5</expense-amount>"),
     "E: Счет не найден.", TransactionCount, 0},
    {"expense with two amounts", Expense(kSpend + "<expense-amount>-5</expense-amount>"),
     "E: Указано более одной суммы операции.", TransactionCount, 0},
    {"expense with a malformed amount", Expense(kPayFromWallet + "<expense-amount>5a</expense-amount>"),
     "E: Ошибка конвертации при чтении суммы операции.", TransactionCount, 0},
    {"expense without amount", Expense(kPayFromWallet),
     "E: Не указана сумма операции.", TransactionCount, 0},
    {"positive expense", Expense(kPayFromWallet + "<expense-amount>0.0001</expense-amount>"),
     "E: Расходная часть операции перевода и сумма операции\r\nрасхода не может быть положительной.", TransactionCount, 0},
    {"negative income", Transaction(kDate + "<income><income-account>" + kWallet + "</income-account><income-amount>-5</income-amount></income>"),
     "E: Приходная часть операции перевода и сумма операции\r\nприхода не может быть отрицательной.", TransactionCount, 0},
    {"malformed side balance", Expense(kSpend + "<expense-balance>--1</expense-balance>"),
     "E: Ошибка конвертации при чтении остатка после операции.", TransactionCount, 0},
    {"two side balances", Expense(kSpend + "<expense-balance>1</expense-balance><expense-balance>1</expense-balance>"),
     "E: Указано более одного значения остатка.", TransactionCount, 0},
    {"balance without balance value", Balance("<executed/><income-account>" + kWallet + "</income-account>"),
     "E: Не указан значение остатка для операции фиксации остатка.", TransactionCount, 0},
    {"balance without any account", Balance("<executed/><income-balance>3</income-balance>"),
     "E: Для операции фиксации остатка не были указаны существенные данные.", TransactionCount, 0},

    // Flags, dates and quantity.
    {"locked but planned", Expense("<locked/>" + kSpend), "E: Только выполненные операции могут быть заблокированы.",
     TransactionCount, 0},
    {"malformed budget date", Expense(kSpend + "<budget-date>soon</budget-date>"),
     "E: Неправильно указана бюджетная дата операции.", TransactionCount, 0},
    {"two budget dates", Expense(kSpend + "<budget-date>2020-01-01</budget-date><budget-date>2020-01-01</budget-date>"),
     "E: Бюджетная дата операции указана более одного раза.", TransactionCount, 0},
    {"malformed quantity", Expense(kSpend + "<quantity>many</quantity>"),
     "E: Значение количества для операции указано неправильно.", TransactionCount, 0},
    {"two quantities", Expense(kSpend + "<quantity>1</quantity><quantity>2</quantity>"),
     "E: Значение количества для операции указано более одного раза.", TransactionCount, 0},

    // Categories.
    {"category without classifier", Classified("<category><name>All payees</name></category>"),
     "E: Не указано название классификатора.", TransactionCount, 0},
    {"category of an unknown classifier", Classified("<category classifier='Nobody'><name>All payees</name></category>"),
     "E: Указанный классификатор не найден.", TransactionCount, 0},
    {"category on a balance",
     Transaction(kDate + "<balance><income-account>" + kWallet + "</income-account><income-balance>3</income-balance>"
                 "<category classifier='Project'><name>All projects</name></category></balance>"),
     "E: Для операции фиксации остатка классификаторы не задаются.", TransactionCount, 0},
    {"transfer by a classifier not used in transfers",
     Transaction(kDate + "<transfer>" + kSpend + "<income-account><name>Bank</name><currency>EUR</currency></income-account>"
                 "<income-amount>4</income-amount><category classifier='Project'><name>All projects</name></category></transfer>"),
     "E: Указанный классификатор не используется в операциях перевода.", TransactionCount, 0},
    {"category without root name", Classified("<category classifier='Agent'><category><name>Shop</name></category></category>"),
     "E: Не указано название корневой категории.", TransactionCount, 0},
    {"category path with two root names", Classified("<category classifier='Agent'><name>All payees</name><name>All payees</name></category>"),
     "E: Указано более одного названия категории.", TransactionCount, 0},
    {"category under the wrong root", Classified("<category classifier='Agent'><name>All payers</name></category>"),
     "E: Неправильно указано название корневого элемента классификатора.", TransactionCount, 0},
    {"category path that forks",
     Classified("<category classifier='Agent'><name>All payees</name><category><name>A</name></category><category><name>B</name></category></category>"),
     "E: Неправильно указано значение классификатора.", TransactionCount, 0},
    {"two categories of one classifier",
     Classified("<category classifier='Agent'><name>All payees</name></category><category classifier='Agent'><name>All payees</name></category>"),
     "E: Неправильно указано значение классификатора.", TransactionCount, 0},
    {"category level without name",
     Classified("<category classifier='Agent'><name>All payees</name><category><comment>x</comment></category></category>"),
     "E: Не указано название категории.", TransactionCount, 0},

    // Comments.
    {"two comments", Spent("<comment>a</comment><comment>b</comment>"),
     "E: Примечание к операции указано более одного раза.", TransactionCount, 0},
    {"extra comment without number", Spent("<extra-comment>a</extra-comment>"),
     "E: Не указан номер дополнительного комментария.", TransactionCount, 0},
    {"extra comment with a bad number", Spent("<extra-comment n='one'>a</extra-comment>"),
     "E: Номер дополнительного комментария указан неправильно.", TransactionCount, 0},
    {"extra comment 5", Spent("<extra-comment n='5'>a</extra-comment>"),
     "E: Номер дополнительного комментария должен быть в диапазоне от 1 до 4 включительно.", TransactionCount, 0},
    {"extra comment 0", Spent("<extra-comment n='0'>a</extra-comment>"),
     "E: Номер дополнительного комментария должен быть в диапазоне от 1 до 4 включительно.", TransactionCount, 0},
    {"extra comment twice", Spent("<extra-comment n='2'>a</extra-comment><extra-comment n='2'>b</extra-comment>"),
     "E: Дополнительный комментарий с заданным номером уже был указан для данной операции.", TransactionCount, 0},

    // Recurrence.
    {"two recurrences", Planned("<recurrence type='daily'/><recurrence type='daily'/>"),
     "E: Повторение может указываться не более одного раза для операции.", TransactionCount, 0},
    {"executed and repeating", Expense("<executed/>" + kSpend, "<recurrence type='daily'/>"),
     "E: Операция не может быть выполненной и повторяющейся одновременно.", TransactionCount, 0},
    {"recurrence without type", Planned("<recurrence><interval>1</interval></recurrence>"),
     "E: Не указан тип повторения.", TransactionCount, 0},
    {"unknown recurrence type", Planned("<recurrence type='hourly'/>"), "E: Неизвестный тип повторения.",
     TransactionCount, 0},
    {"malformed end date", Planned("<recurrence type='daily'><end-date>2020-01-32</end-date></recurrence>"),
     "E: Неправильно указано значение даты окончания повторения.", TransactionCount, 0},
    {"two end dates", Planned("<recurrence type='daily'><end-date>2020-02-01</end-date><end-date>2020-02-01</end-date></recurrence>"),
     "E: Дата окончания повторения указана более одного раза.", TransactionCount, 0},
    {"malformed interval", Planned("<recurrence type='daily'><interval>2x</interval></recurrence>"),
     "E: Значение interval указано неверно.\r\nДолжно быть неотрицательное целое число.", TransactionCount, 0},
    {"interval beyond its field", Planned("<recurrence type='daily'><interval>128</interval></recurrence>"),
     "E: Значение interval указано неверно.\r\nДолжно быть неотрицательное целое число.", TransactionCount, 0},
    {"occurrences beyond their field", Planned("<recurrence type='daily'><occurrences>256</occurrences></recurrence>"),
     "E: Значение occurrences указано неверно.\r\nДолжно быть неотрицательное целое число.", TransactionCount, 0},
    {"month 13", Planned("<recurrence type='yearly'><month-of-year>13</month-of-year></recurrence>"),
     "E: Значение month-of-year указано неверно.\r\nДолжно быть неотрицательное целое число.", TransactionCount, 0},
    {"two day masks", Planned("<recurrence type='weekly'><day-of-week-mask>1</day-of-week-mask><day-of-week-mask>2</day-of-week-mask></recurrence>"),
     "E: Значение day-of-week-mask указано более одного раза.", TransactionCount, 0},
    {"negative day of month", Planned("<recurrence type='monthly'><day-of-month>-3</day-of-month></recurrence>"),
     "E: Значение day-of-month должно быть больше или равно нулю.", TransactionCount, 0},
};

class ImportMessage : public testing::TestWithParam<ACase> {};

TEST_P(ImportMessage, IsReportedAndDecidesTheItem)
{
    const ACase& c = GetParam();
    TImport import;
    ASSERT_TRUE(import.Read(Doc(c.body)));
    EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{c.message});
    EXPECT_EQ(c.count(import.batch->Db()), c.taken);
    const bool warning = c.message[0] == 'W';
    EXPECT_EQ(import.messages.WarningCount(), warning ? 1u : 0u);
    EXPECT_EQ(import.messages.ErrorCount(), warning ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(ReadPhase, ImportMessage, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ACase>& info) {
                             std::string name;
                             for (const char* p = info.param.label; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// The bodies without their faults are taken whole, so each case above fails for its
// own reason only.
TEST(ImportMessage, TheSharedBooksAreValid)
{
    TImport import;
    ASSERT_TRUE(import.Read(Doc(Classified("<category classifier='Agent'><name>All payees</name><category><name>Shop</name></category></category>"))));
    EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(import.batch->Db().Transactions().SlotCount(), 1u);
    EXPECT_EQ(import.batch->Db().Accounts().SlotCount(), 2u);
    EXPECT_EQ(import.batch->Db().Classifiers().SlotCount(), 2u);
}

}  // namespace
