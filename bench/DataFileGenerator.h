// Realistic books for the benchmarks: N transactions over ten years on 50 accounts in
// three currencies, a comment on every third one, two categories each, 500 rates.
// Built through the database API in a few large steps, as an import would.
#pragma once

#include "database/Database.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace BenchData {

using namespace Database;
using Engine::ATableImpl;

// The order the transactions are entered in, and so their order in the file: by date,
// as a diligent household enters them, or against it, or in no order at all (late
// corrections, imports of old statements, planned ones).
enum class AEntryOrder { Date, Reverse, Random };

struct AGeneratorOptions {
    std::size_t transactions = 100'000;
    AEntryOrder order = AEntryOrder::Date;
    std::uint64_t seed = 20240601;
    int firstYear = 2015;
    int years = 10;
    int accounts = 50;  // the default one included
    int rates = 500;
    std::size_t transactionsPerStep = 250'000;
};

// What the transactions are made from.
struct ABooks {
    struct AAccountInfo {
        AReference<AAccount> ref;
        AMoney initialBalance;
        int currency;  // 0 RUR, 1 USD, 2 EUR
    };
    std::vector<AAccountInfo> accounts;
    std::vector<AReference<ACategory>> incomeCategories;
    std::vector<AReference<ACategory>> expenseCategories;
};

inline AMoney Money(std::int64_t wholeUnits) { return wholeUnits * 10'000; }

namespace Detail {

inline AReference<ACategory> AddCategory(ADatabase& db, std::u16string_view name, AReference<ACategory> parent)
{
    return ATableImpl<ACategory>::RefTo(db.Categories().Create(ACategory{db.NewText(name), {}, parent}));
}

inline void CreateCategories(ADatabase& db, ABooks& books)
{
    const AClassifier& classifier = db.Classifiers().Live().front()->Record();
    for (const char16_t* name : {u"Зарплата", u"Премия", u"Проценты по вкладам", u"Подарки", u"Подработка",
                                 u"Возврат долга", u"Кешбэк", u"Продажа вещей"})
        books.incomeCategories.push_back(AddCategory(db, name, classifier.root1));
    static const std::array<std::pair<const char16_t*, std::array<const char16_t*, 4>>, 10> kExpenses = {{
        {u"Продукты", {u"Супермаркет", u"Рынок", u"Пекарня", u"Доставка"}},
        {u"Жильё", {u"Квартплата", u"Электричество", u"Интернет", u"Ремонт"}},
        {u"Транспорт", {u"Метро", u"Такси", u"Бензин", u"Парковка"}},
        {u"Здоровье", {u"Аптека", u"Врач", u"Стоматолог", u"Спорт"}},
        {u"Одежда", {u"Взрослым", u"Детям", u"Обувь", u"Химчистка"}},
        {u"Отдых", {u"Кино", u"Кафе", u"Путешествия", u"Книги"}},
        {u"Связь", {u"Телефон", u"Подписки", u"Почта", u"Техника"}},
        {u"Дети", {u"Школа", u"Кружки", u"Игрушки", u"Няня"}},
        {u"Налоги", {u"Имущество", u"Транспортный", u"Земля", u"Штрафы"}},
        {u"Разное", {u"Подарки", u"Благотворительность", u"Животные", u"Прочее"}},
    }};
    for (const auto& [group, items] : kExpenses) {
        const AReference<ACategory> parent = AddCategory(db, group, classifier.root2);
        for (const char16_t* item : items)
            books.expenseCategories.push_back(AddCategory(db, item, parent));
    }
}

inline void CreateRates(ADatabase& db, const std::vector<AReference<ACurrency>>& currencies,
                        const AGeneratorOptions& options, std::mt19937_64& random)
{
    const ADate first = Dates::FromYmd(options.firstYear, 1, 1);
    const int days = Dates::FromYmd(options.firstYear + options.years, 1, 1) - first;
    const AMoney start[2] = {Money(60), Money(70)};  // roubles for one dollar, one euro
    for (int pair = 0; pair < 2; ++pair) {
        const auto header = ATableImpl<ARateHeader>::RefTo(
            db.RateHeaders().Create(ARateHeader{currencies[1 + pair], currencies[0]}));
        const int count = options.rates / 2 + (pair == 0 ? options.rates % 2 : 0);
        AMoney rate = start[pair];
        for (int i = 0; i < count; ++i) {
            rate += static_cast<AMoney>(random() % 20'001) - 9'800;  // a slow drift upwards
            db.RateValues().Create(ARateValue{header, first + i * days / count, Money(1), rate});
        }
    }
}

}  // namespace Detail

// Step 1: currencies, accounts in the default plan, categories in the default
// classifier's trees, and the rates.
inline ABooks CreateStructure(ADatabase& db, const AGeneratorOptions& options, std::mt19937_64& random)
{
    ABooks books;
    db.BeginStep();
    std::vector<AReference<ACurrency>> currencies = {ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front())};
    currencies.push_back(ATableImpl<ACurrency>::RefTo(
        db.Currencies().Create(ACurrency{db.NewText(u"Доллар США"), db.NewText(u"USD"), 2})));
    currencies.push_back(
        ATableImpl<ACurrency>::RefTo(db.Currencies().Create(ACurrency{db.NewText(u"Евро"), db.NewText(u"EUR"), 2})));

    books.accounts.push_back({ATableImpl<AAccount>::RefTo(db.Accounts().Live().front()), 0, 0});
    const auto plan = ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front());
    static const char16_t* const kKinds[] = {u"Карта", u"Вклад", u"Кошелёк", u"Счёт", u"Кредитка"};
    static const char16_t* const kCodes[] = {u"RUR", u"USD", u"EUR"};
    for (int i = 1; i < options.accounts; ++i) {
        // Two thirds of the accounts are in roubles, the rest in dollars and euros.
        const int currency = i % 6 < 4 ? 0 : (i % 6 == 4 ? 1 : 2);
        const std::u16string name = std::u16string(kKinds[i % 5]) + u" " + kCodes[currency] + u" " +
                                    std::u16string(1, static_cast<char16_t>(u'А' + i % 32)) + u"-" +
                                    static_cast<char16_t>(u'0' + i / 10) + static_cast<char16_t>(u'0' + i % 10);
        AAccount account;
        account.name = db.NewText(name);
        account.currency = currencies[static_cast<std::size_t>(currency)];
        account.initialBalance = Money(static_cast<std::int64_t>(random() % 100'000));
        const auto ref = ATableImpl<AAccount>::RefTo(db.Accounts().Create(account));
        db.Placements().Create(AAccountPlacement{ref, plan});
        books.accounts.push_back({ref, account.initialBalance, currency});
    }
    Detail::CreateCategories(db, books);
    Detail::CreateRates(db, currencies, options, random);
    db.CommitStep();
    return books;
}

namespace Detail {

// One transaction as it is drawn, before it is entered.
struct APlannedTransaction {
    ATransaction record;
    int comment = -1;  // text number, or -1 for none
    std::size_t categories[2] = {};
    bool income = false;
};

// Indexes into the plan in the order they are entered.
inline std::vector<std::size_t> EntryOrder(std::size_t count, AEntryOrder order, std::mt19937_64& random)
{
    std::vector<std::size_t> entry(count);
    for (std::size_t i = 0; i < count; ++i)
        entry[i] = order == AEntryOrder::Reverse ? count - 1 - i : i;
    if (order == AEntryOrder::Random)
        std::shuffle(entry.begin(), entry.end(), random);
    return entry;
}

}  // namespace Detail

// The remaining steps: the transactions, drawn in date order with running balances and
// entered in the order the options ask for.
inline void CreateTransactions(ADatabase& db, const ABooks& books, const AGeneratorOptions& options,
                               std::mt19937_64& random)
{
    static const char16_t* const kComments[] = {u"Обед с коллегами", u"По чеку", u"Ежемесячно", u"Вернуть Ивану",
                                                u"Отпуск", u"Скидка по карте", u"На день рождения", u"Счёт №"};
    const ADate first = Dates::FromYmd(options.firstYear, 1, 1);
    const int days = Dates::FromYmd(options.firstYear + options.years, 1, 1) - first;
    std::vector<ADate> dates(options.transactions);
    for (ADate& date : dates)
        date = first + static_cast<ADate>(random() % static_cast<std::uint64_t>(days));
    std::sort(dates.begin(), dates.end());

    std::vector<AMoney> balances;
    for (const auto& account : books.accounts)
        balances.push_back(account.initialBalance);
    std::vector<Detail::APlannedTransaction> plan(dates.size());
    for (std::size_t i = 0; i < dates.size(); ++i) {
        Detail::APlannedTransaction& planned = plan[i];
        const std::size_t who = random() % books.accounts.size();
        const auto& account = books.accounts[who];
        // A fifth is income; amounts in whole kopecks (cents), smaller in dollars and euros.
        planned.income = random() % 5 == 0;
        const std::int64_t kopecks = planned.income ? 500'000 + static_cast<std::int64_t>(random() % 15'000'000)
                                                    : 5'000 + static_cast<std::int64_t>(random() % 2'000'000);
        const AMoney magnitude = kopecks / (account.currency == 0 ? 1 : 70) * 100;
        ATransaction& transaction = planned.record;
        transaction.amount1 = planned.income ? magnitude : -magnitude;
        balances[who] += transaction.amount1;
        transaction.balance1 = balances[who];
        transaction.account1 = account.ref;
        transaction.date = transaction.budgetDate = dates[i];
        transaction.executed = 1;
        if (i % 3 == 0) {
            const auto text = static_cast<int>(random() % 8);
            planned.comment = text * 10 + static_cast<int>(random() % 10);
        }
        const std::size_t kinds = (planned.income ? books.incomeCategories : books.expenseCategories).size();
        planned.categories[0] = random() % kinds;
        planned.categories[1] = (planned.categories[0] + 1 + random() % (kinds - 1)) % kinds;
    }
    const std::vector<std::size_t> entry = Detail::EntryOrder(plan.size(), options.order, random);
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (i % options.transactionsPerStep == 0) {
            if (i != 0)
                db.CommitStep();
            db.BeginStep();
        }
        Detail::APlannedTransaction& planned = plan[entry[i]];
        if (planned.comment >= 0)
            planned.record.comment = db.NewText(std::u16string(kComments[planned.comment / 10]) + u" " +
                                                static_cast<char16_t>(u'0' + planned.comment % 10));
        const auto ref = ATableImpl<ATransaction>::RefTo(db.Transactions().Create(planned.record));
        const auto& categories = planned.income ? books.incomeCategories : books.expenseCategories;
        for (std::size_t category : planned.categories)
            db.Relations().Create(ARelation{categories[category], ref});
    }
    if (db.StepOpen())
        db.CommitStep();
}

// A new database filled with generated books; nothing to undo afterwards.
inline void Generate(ADatabase& db, const AGeneratorOptions& options)
{
    std::mt19937_64 random(options.seed);
    db.CreateDefaults();
    const ABooks books = CreateStructure(db, options, random);
    CreateTransactions(db, books, options, random);
    db.ClearHistory();
}

// What entering one expense does, up to the commit: a step with a transaction, its
// comment and two categories. The balance is not recalculated; the timing is of the
// engine's part.
inline void BeginOneExpense(ADatabase& db, ADate date)
{
    const AReference<ACategory> root2 = db.Classifiers().Live().front()->Record().root2;
    ACategory probe;
    probe.parent = root2;
    const auto groups = db.Categories().EqualRange(2, probe);
    db.BeginStep();
    db.LabelStep(u"Добавить операцию");
    ATransaction transaction;
    transaction.account1 = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
    transaction.amount1 = -Money(250);
    transaction.date = transaction.budgetDate = date;
    transaction.executed = 1;
    transaction.comment = db.NewText(u"Одна операция");
    const auto ref = ATableImpl<ATransaction>::RefTo(db.Transactions().Create(transaction));
    for (std::size_t i = 0; i < 2 && i < groups.size(); ++i)
        db.Relations().Create(ARelation{ATableImpl<ACategory>::RefTo(groups[i]), ref});
}

inline void AddOneExpense(ADatabase& db, ADate date)
{
    BeginOneExpense(db, date);
    db.CommitStep();
}

}  // namespace BenchData
