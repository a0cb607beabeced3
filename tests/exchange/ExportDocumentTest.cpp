// The interchange document the export builds: the edge cases of the format, the
// sections and their selection rules.
#include "ExportTestSupport.h"
#include "database/Recurrence.h"
#include "exchange/export/ExportRecordWriters.h"

#include <gtest/gtest.h>

namespace {

using namespace ExportTest;

constexpr const char* kDeclaration = "<?xml version='1.0' encoding='utf-8' standalone='yes'?>";
constexpr const char* kOptionsStart =
    "<export-options><module>{01234567-89AB-CDEF-0123-456789ABCDEF}</module><program-build>235</program-build>"
    "<export-date>2024-03-05T14:07:09:042</export-date>";
constexpr const char* kCashReference = "<name>Наличные</name><currency>RUR</currency>";

TEST(ExportDocument, EmptyDataFileGivesOnlyTheOptions)
{
    ADatabase db([] { return ExportTime(); });
    EXPECT_EQ(ExportText(db), std::string(kDeclaration) + "<fendral>" + kOptionsStart + "</export-options></fendral>");
}

ATransaction PlannedSingle(AReference<AAccount> account, AMoney amount, ADate date)
{
    ATransaction t = TBooks::Single(account, amount, date);
    t.executed = 0;
    return t;
}

// Books with one planned transaction repeating by the rule.
std::function<void(TBooks&)> Recurring(const Database::Recurrence::ARule& rule)
{
    return [rule](TBooks& books) {
        ATransaction t = PlannedSingle(books.cash, -M(1), Day(2009, 1, 5));
        t.recurrence = rule.Word();
        t.recurrenceCount = rule.CountWord();
        t.recurrenceEnd = rule.end;
        books.Add(t);
    };
}

Database::Recurrence::ARule Rule(Database::Recurrence::AKind kind, std::function<void(Database::Recurrence::ARule&)> set)
{
    Database::Recurrence::ARule rule;
    rule.active = true;
    rule.kind = static_cast<std::uint8_t>(kind);
    set(rule);
    return rule;
}

// What the books hold decides one element of the document: the first element of that
// name is the expected text, holds it or lacks it.
enum class AMatch { Whole, Holds, Lacks };
struct AElementCase {
    const char* what;
    std::function<void(TBooks&)> fill;
    const char* element;
    std::string expected;
    AMatch match = AMatch::Whole;
};

TEST(ExportDocument, EachRecordAndFeatureGivesItsElements)
{
    using namespace Database::Recurrence;
    const std::string card = "<name>Карта</name><currency>RUR</currency>";
    const auto nothing = [](TBooks&) {};
    const auto stated = [](bool executed) {
        return [executed](TBooks& books) {
            ATransaction t = TBooks::StatedBalance(books.cash, M(250), Day(2009, 1, 2));
            t.executed = executed;
            books.Add(t);
        };
    };
    const auto transfers = [](TBooks& books) {
        const auto to = books.AddAccount(u"Карта", books.rur);
        ATransaction t = TBooks::Transfer(books.cash, M(100), to, M(100), Day(2009, 1, 2));
        t.executed = 0;
        books.Add(t);
        // The same transfer stored the other way round: the income side first.
        ATransaction reversed = TBooks::Transfer(to, -M(5), books.cash, -M(5), Day(2009, 1, 3));
        reversed.executed = 0;
        books.Add(reversed);
    };
    const auto timed = [](TBooks& books) {
        ChangeFeatures(books.db).times = 1;
        books.Add(TBooks::Single(books.cash, M(1), Day(2009, 1, 2), ((9 * 60 + 5) * 60 + 3) * 1000 + 7));
    };
    const auto featured = [](TBooks& books) {
        ADBSettings& features = ChangeFeatures(books.db);
        features.budgetDates = features.quantities = 1;
        features.extraCommentInUse[0] = features.extraCommentInUse[1] = 1;
        const auto to = books.AddAccount(u"Карта", books.rur);
        ATransaction t = PlannedSingle(books.cash, -M(3), Day(2009, 1, 2));
        t.locked = 1;
        t.budgetDate = Day(2009, 2, 1);
        t.quantity = 25'000;
        t.comment = books.db.NewText(u"<комментарий>");
        t.extraComment[1] = books.db.NewText(u"второй");
        t.extraComment[2] = books.db.NewText(u"поле выключено");
        books.Add(t);
        ATransaction transfer = TBooks::Transfer(books.cash, M(1), to, M(1), Day(2009, 1, 3));
        transfer.quantity = 10'000;
        books.Add(transfer);
    };
    const auto loop = [](TBooks& books) {
        const auto a = books.AddCategory(u"A", books.expenseRoot);
        const auto b = books.AddCategory(u"B", a);
        books.Relate(books.Add(PlannedSingle(books.cash, -M(1), Day(2009, 1, 2))), b);
        books.db.Categories().Change(books.db.Categories().Get(a))->parent = b;
    };
    ARule yearly = Rule(AKind::Yearly, [](ARule& r) {
        r.dayOfMonth = 29;
        r.month = 2;
        r.regenerate = true;
    });
    ARule inactive = yearly;
    inactive.active = false;
    ARule unknownKind = yearly;
    unknownKind.kind = 6;

    const AElementCase cases[] = {
        {"a new database's currency", nothing, "currencies",
         "<currencies><currency><name>Российские рубли</name><code>RUR</code><precision>2</precision>"
         "</currency></currencies>"},
        {"a new database's account", nothing, "accounts",
         "<accounts><account><name>Наличные</name><currency>RUR</currency><init-balance>0.0000</init-balance>"
         "</account></accounts>"},
        // Folders are a feature the new database has switched off.
        {"no plans without folders", nothing, "account-plans", ""},
        {"a new database's classifier", nothing, "classifiers",
         "<classifiers><classifier><singular-name>Статья</singular-name><plural-name>Статьи</plural-name>"
         "<income-tree><category><name>Все статьи прихода</name></category></income-tree>"
         "<expense-tree><category><name>Все статьи расхода</name></category></expense-tree>"
         "</classifier></classifiers>"},
        {"no rates", nothing, "rates", ""},
        {"no transactions", nothing, "transactions", ""},
        {"separate trees without transfers have no transfer tree", nothing, "transfer-tree", ""},
        {"nor the transfer flag", nothing, "use-in-transfers", ""},
        {"expense with its account and a negative amount",
         [](TBooks& books) { books.Add(PlannedSingle(books.cash, -125'000, Day(2009, 1, 2))); }, "transactions",
         std::string("<transactions><transaction><date>2009-01-02</date><expense><expense-account>") + kCashReference +
             "</expense-account><expense-amount>-12.5000</expense-amount></expense></transaction></transactions>"},
        {"executed income carries amount and balance",
         [](TBooks& books) { books.Add(TBooks::Single(books.cash, M(40), Day(2009, 1, 2))); }, "income",
         std::string("<income><executed/><income-account>") + kCashReference +
             "</income-account><income-amount>40.0000</income-amount><income-balance>40.0000</income-balance>"
             "</income>"},
        {"a planned balance correction has no amount", stated(false), "balance",
         "<balance><income-account><name>Наличные</name><currency>RUR</currency></income-account>"
         "<income-balance>250.0000</income-balance></balance>"},
        {"an executed balance correction has its amount", stated(true), "balance",
         "<balance><executed/><income-account><name>Наличные</name><currency>RUR</currency></income-account>"
         "<income-amount>250.0000</income-amount><income-balance>250.0000</income-balance></balance>"},
        {"transfer sides in stored order, expense first", transfers, "transactions",
         "<transfer><expense-account>" + std::string(kCashReference) +
             "</expense-account><expense-amount>-100.0000</expense-amount><income-account>" + card +
             "</income-account><income-amount>100.0000</income-amount></transfer>",
         AMatch::Holds},
        {"transfer sides in stored order, income first", transfers, "transactions",
         "<transfer><income-account>" + card + "</income-account><income-amount>5.0000</income-amount>"
             "<expense-account>" + kCashReference + "</expense-account><expense-amount>-5.0000</expense-amount></transfer>",
         AMatch::Holds},
        {"a category three levels deep is a path of nested names",
         [](TBooks& books) {
             const auto home = books.AddCategory(u"Дом", books.expenseRoot);
             books.Relate(books.Add(PlannedSingle(books.cash, -M(1), Day(2009, 1, 2))), books.AddCategory(u"Краска", home));
         },
         "expense",
         std::string("<expense><expense-account>") + kCashReference +
             "</expense-account><expense-amount>-1.0000</expense-amount><category classifier='Статья'>"
             "<name>Все статьи расхода</name><category><name>Дом</name><category><name>Краска</name></category>"
             "</category></category></expense>"},
        {"the time feature is an option", timed, "time", "<time/>"},
        {"the time feature writes timestamps with a colon before the milliseconds", timed, "transaction",
         "<transaction><date>2009-01-02T09:05:03:007</date>", AMatch::Holds},
        {"weekly recurrence writes only its set fields",
         Recurring(Rule(AKind::Weekly,
                        [](ARule& r) {
                            r.maskOrSelector = MaskBit(1) | MaskBit(5);
                            r.interval = 2;
                            r.endsAfterCount = true;
                            r.count = 10;
                        })),
         "recurrence",
         "<recurrence type='weekly'><day-of-week-mask>68</day-of-week-mask><interval>2</interval>"
         "<occurrences>10</occurrences></recurrence>"},
        {"month-nth recurrence ending at a date",
         Recurring(Rule(AKind::MonthNth,
                        [](ARule& r) {
                            r.maskOrSelector = kWorkingDay;
                            r.instance = kLastInstance;
                            r.interval = 3;
                            r.endsAtDate = true;
                            r.end = Day(2010, 1, 1);
                        })),
         "recurrence",
         "<recurrence type='month-nth'><day-of-week-mask>9</day-of-week-mask><instance>5</instance>"
         "<interval>3</interval><end-date>2010-01-01</end-date></recurrence>"},
        {"yearly recurrence that regenerates", Recurring(yearly), "recurrence",
         "<recurrence type='yearly'><day-of-month>29</day-of-month><month-of-year>2</month-of-year>"
         "<regenerate/></recurrence>"},
        {"an inactive rule is not written", Recurring(inactive), "recurrence", ""},
        // Kinds 6 and 7 name no rule: a damaged word is not exported as something else.
        {"an unknown kind is not written", Recurring(unknownKind), "recurrence", ""},
        {"options list the features in order",
         [](TBooks& books) {
             ADBSettings& features = ChangeFeatures(books.db);
             features.accountFolders = features.budgetDates = features.quantities = features.times = 1;
             features.extraCommentInUse[1] = features.extraCommentInUse[3] = 1;
             features.extraCommentCaption[1] = books.db.NewText(u"Второе");
             features.extraCommentCaption[3] = books.db.NewText(u"A&B");
             features.accountPlans = 1;
         },
         "export-options",
         std::string(kOptionsStart) +
             "<account-folders/><budget-date/><quantity/><time/><extra-comment n='2'>Второе</extra-comment>"
             "<extra-comment n='4'>A&amp;B</extra-comment><account-plans/></export-options>"},
        {"transaction fields follow the features", featured, "transaction",
         std::string("<transaction><date>2009-01-02</date><expense><locked/><budget-date>2009-02-01"
                     "</budget-date><expense-account>") +
             kCashReference +
             "</expense-account><expense-amount>-3.0000</expense-amount><quantity>2.5000</quantity></expense>"
             "<comment>&lt;комментарий&gt;</comment><extra-comment n='2'>второй</extra-comment></transaction>"},
        {"transfers carry no quantity", featured, "transfer", "quantity", AMatch::Lacks},
        {"accounts with folders as account plans",
         [](TBooks& books) {
             ChangeFeatures(books.db).accountFolders = 1;
             const auto savings = books.AddFolder(u"Сбережения", books.plan);
             books.AddAccount(u"Вклад", books.rur, M(10), books.AddFolder(u"Вклады", savings));
             AAccountFolder* folder = books.db.Folders().Change(books.db.Folders().Get(savings));
             folder->locked = 1;
             folder->comment = {};
             books.AddFolder(u"Второй", {});
         },
         "account-plans",
         std::string("<account-plans><account-plan><name>Все счета</name><account>") + kCashReference +
             "</account><folder><name>Сбережения</name><locked/><folder><name>Вклады</name><comment>note</comment>"
             "<account><name>Вклад</name><currency>RUR</currency></account></folder></folder></account-plan>"
             "<account-plan><name>Второй</name><comment>note</comment></account-plan></account-plans>"},
        {"rates with a missing currency are left out",
         [](TBooks& books) {
             const auto usd = books.AddCurrency(u"USD");
             const auto header = Engine::ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create({usd, books.rur}));
             books.db.RateValues().Create({header, Day(2009, 1, 1), M(1), M(30)});
             const auto dangling =
                 Engine::ATableImpl<ARateHeader>::RefTo(books.db.RateHeaders().Create({usd, AReference<ACurrency>()}));
             books.db.RateValues().Create({dangling, Day(2009, 1, 2), M(1), M(31)});
         },
         "rates",
         "<rates><rate><date>2009-01-01</date><currency-1>USD</currency-1><currency-2>RUR</currency-2>"
         "<amount-1>1.0000</amount-1><amount-2>30.0000</amount-2></rate></rates>"},
        {"a category loop of a damaged file is not followed", loop, "expense", "<category", AMatch::Lacks},
        {"the transaction in the loop is still written", loop, "expense", "<expense-amount>-1.0000</expense-amount>",
         AMatch::Holds},
    };
    for (const AElementCase& c : cases) {
        SCOPED_TRACE(c.what);
        TBooks books;
        books.Step([&] { c.fill(books); });
        const std::string element = ElementText(ExportText(books.db), c.element);
        if (c.match == AMatch::Whole)
            EXPECT_EQ(element, c.expected);
        else
            EXPECT_EQ(element.find(c.expected) != std::string::npos, c.match == AMatch::Holds) << element;
    }
}

TEST(ExportDocument, CategoriesComeInClassifierIdentifierOrderOnePerClassifier)
{
    TBooks books;
    books.Step([&] {
        const auto classes = books.AddClassification();
        const auto ref = books.Add(PlannedSingle(books.cash, -M(1), Day(2009, 1, 2)));
        // Related in the opposite order, and twice in the first classifier.
        books.Relate(ref, classes.bank);
        books.Relate(ref, classes.food);
        books.Relate(ref, books.expenseRoot);
    });
    const std::string expense = ElementText(ExportText(books.db), "expense");
    const std::size_t articles = expense.find("<category classifier='Статья'>");
    const std::size_t agents = expense.find("<category classifier='Агент'><name>Все агенты</name><category>"
                                            "<name>Банк</name></category></category>");
    ASSERT_NE(articles, std::string::npos) << expense;
    ASSERT_NE(agents, std::string::npos) << expense;
    EXPECT_LT(articles, agents);
    EXPECT_EQ(expense.find("<category classifier='Статья'>", articles + 1), std::string::npos) << expense;
}

TEST(ExportDocument, ClassifierLayouts)
{
    TBooks books;
    books.Step([&] {
        books.AddClassification();  // the default one gains a transfer tree; "Агент" has one tree
        const auto root = books.AddCategory(u"Все проекты", {});
        books.db.Classifiers().Create(
            AClassifier{books.db.NewText(u"Проект"), books.db.NewText(u"Проекты"), root, {}, {}, 1, 0});
    });
    const std::string text = ElementText(ExportText(books.db), "classifiers");
    for (const char* part : {"</expense-tree><transfer-tree><category><name>Все переводы</name><category><name>Обмен"
                             "</name></category></category></transfer-tree></classifier>",
                             "<plural-name>Агенты</plural-name><single-tree><category><name>Все агенты</name>",
                             "<plural-name>Проекты</plural-name><use-in-transfers/><single-tree><category>"
                             "<name>Все проекты</name></category></single-tree>"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

TEST(ExportDocument, DeletedRecordsAreNotExported)
{
    TBooks books;
    books.Step([&] {
        books.AddCurrency(u"USD");
        books.Add(TBooks::Single(books.cash, M(1), Day(2009, 1, 2)));
    });
    books.Step([&] {
        Delete(books.db, books.db.Currencies().Live().back());
        Delete(books.db, books.db.Transactions().Live().back());
    });
    const std::string text = ExportText(books.db);
    EXPECT_EQ(text.find("USD"), std::string::npos);
    EXPECT_EQ(ElementText(text, "transactions"), "");
}

TEST(ExportDocument, OnlyTheSelectedKindsAreWritten)
{
    TRichBooks books;
    const char* sections[] = {"currencies", "rates", "accounts", "account-plans", "classifiers", "transactions"};
    for (int kind = 0; kind < 5; ++kind) {
        AExportSelection selection = Everything(books.db);
        selection.currencies = kind == 0;
        selection.rates = kind == 1;
        selection.accounts = kind == 2;
        selection.classifiers = kind == 3;
        selection.transactions = kind == 4;
        // The sections follow the options, which have an `account-plans` flag of their own.
        const std::string document = ExportText(books.db, selection);
        const std::string text = document.substr(document.find("</export-options>"));
        for (int section = 0; section < 6; ++section) {
            // Account plans go with the accounts.
            const int owner = section <= 2 ? section : section - 1;
            EXPECT_EQ(ElementText(text, sections[section]).empty(), owner != kind)
                << "selected " << kind << ", section " << sections[section];
        }
    }
}

TEST(ExportDocument, ClassifiersInTheWizardsOrderAndOnlyTicked)
{
    TRichBooks books;
    const auto& live = books.db.Classifiers().Live();
    ASSERT_EQ(live.size(), 3u);
    AExportSelection selection = Everything(books.db);
    selection.classifierList = {Engine::ATableImpl<AClassifier>::RefTo(live[2]),
                                Engine::ATableImpl<AClassifier>::RefTo(live[0])};
    const std::string text = ElementText(ExportText(books.db, selection), "classifiers");
    const std::size_t projects = text.find("<singular-name>Проект</singular-name>");
    const std::size_t articles = text.find("<singular-name>Статья</singular-name>");
    EXPECT_NE(projects, std::string::npos);
    EXPECT_NE(articles, std::string::npos);
    EXPECT_LT(projects, articles);
    EXPECT_EQ(text.find("Агент"), std::string::npos);
    // Transactions still name their categories in every classifier.
    EXPECT_NE(ExportText(books.db, selection).find("<category classifier='Агент'>"), std::string::npos);

    // Listed twice, written once: the import refuses a classifier it meets twice.
    selection.classifierList = {Engine::ATableImpl<AClassifier>::RefTo(live[1]),
                                Engine::ATableImpl<AClassifier>::RefTo(live[1])};
    const std::string once = ElementText(ExportText(books.db, selection), "classifiers");
    EXPECT_EQ(once.find("<classifier>", once.find("<classifier>") + 1), std::string::npos) << once;

    selection.classifierList.clear();
    EXPECT_EQ(ElementText(ExportText(books.db, selection), "classifiers"), "");
}

std::vector<std::string> ExportedDates(ADatabase& db, const AExportSelection& selection)
{
    std::vector<std::string> dates;
    const std::string text = ExportText(db, selection);
    for (std::size_t at = text.find("<transaction><date>"); at != std::string::npos;
         at = text.find("<transaction><date>", at + 1))
        dates.push_back(text.substr(at + 19, 10));
    return dates;
}

TEST(ExportDocument, TransactionsSelectedByPeriodAndAccounts)
{
    TBooks books;
    AReference<AAccount> card, other;
    books.Step([&] {
        card = books.AddAccount(u"Карта", books.rur);
        other = books.AddAccount(u"Другой", books.rur);
        books.Add(TBooks::Single(books.cash, M(1), Day(2009, 1, 3), 5000));
        books.Add(TBooks::Single(card, M(1), Day(2009, 1, 1)));
        books.Add(TBooks::Single(books.cash, M(1), Day(2009, 1, 3), 1000));
        books.Add(TBooks::Transfer(card, M(1), other, M(1), Day(2009, 1, 5)));
        books.Add(TBooks::Single(other, M(1), Day(2009, 1, 7)));
    });
    AExportSelection selection = Everything(books.db);
    using V = std::vector<std::string>;
    EXPECT_EQ(ExportedDates(books.db, selection),
              (V{"2009-01-01", "2009-01-03", "2009-01-03", "2009-01-05", "2009-01-07"}));

    selection.period = AExportPeriod{Day(2009, 1, 3), Day(2009, 1, 5)};  // both ends included
    EXPECT_EQ(ExportedDates(books.db, selection), (V{"2009-01-03", "2009-01-03", "2009-01-05"}));

    selection.transactionAccounts = std::vector{card};  // either side of a transfer counts
    EXPECT_EQ(ExportedDates(books.db, selection), (V{"2009-01-05"}));

    selection.period.reset();
    selection.transactionAccounts = std::vector{other};
    EXPECT_EQ(ExportedDates(books.db, selection), (V{"2009-01-05", "2009-01-07"}));

    // Nothing passes: no transactions section at all.
    selection.transactionAccounts = std::vector<AReference<AAccount>>{};
    EXPECT_EQ(ElementText(ExportText(books.db, selection), "transactions"), "");
    selection.transactionAccounts.reset();
    selection.period = AExportPeriod{Day(2009, 1, 8), Day(2009, 12, 31)};
    EXPECT_EQ(ElementText(ExportText(books.db, selection), "transactions"), "");
}

TEST(ExportDocument, TransactionsInTheSameDayKeepTheirTimeOrder)
{
    TBooks books;
    books.Step([&] {
        ChangeFeatures(books.db).times = 1;
        books.Add(TBooks::Single(books.cash, M(2), Day(2009, 1, 3), 7000));
        books.Add(TBooks::Single(books.cash, M(1), Day(2009, 1, 3), 3000));
    });
    const std::string text = ExportText(books.db);
    EXPECT_LT(text.find("T00:00:03:000"), text.find("T00:00:07:000"));
}

TEST(ExportDocument, DeepTreesAreCutBeforeReadersWouldRefuseThem)
{
    TBooks books;
    books.Step([&] {
        auto parent = books.expenseRoot;
        for (int level = 0; level < 400; ++level)
            parent = books.AddCategory(u"x", parent);
    });
    const std::string text = ElementText(ExportText(books.db), "expense-tree");
    std::size_t levels = 0;
    for (std::size_t at = text.find("<category>"); at != std::string::npos; at = text.find("<category>", at + 1))
        ++levels;
    EXPECT_EQ(levels, static_cast<std::size_t>(ExportImport::Private::kMaxTreeDepth));
}

}  // namespace
