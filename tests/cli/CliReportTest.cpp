// fendral-cli report turnover|dynamics|balances|rates and budget, run as a process on a
// data file made here; the --json figures are checked against sums this test works out
// from its own list of transactions.
#include "cli/CliTestFiles.h"

#include "database/DatabaseRules.h"

#include <cstdio>

using namespace CliTest;
using namespace Database;
using Engine::ATableImpl;

namespace {

constexpr AMoney M(std::int64_t units) { return units * 10'000; }
ADate D(int year, int month, int day) { return Dates::FromYmd(year, month, day); }
constexpr AMoney kDollarInRoubles = 90;

std::string AmountText(AMoney amount)
{
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld.%04lld", amount < 0 ? "-" : "",
                  static_cast<long long>((amount < 0 ? -amount : amount) / 10'000),
                  static_cast<long long>((amount < 0 ? -amount : amount) % 10'000));
    return text;
}

// The transactions of the test file, as the test itself knows them.
struct ATestTransaction {
    const char* account;
    AMoney amount;
    ADate date;
    const char* category = nullptr;  // "food", "salary" or none
    const char* transferTo = nullptr;
    bool executed = true;
};

const ATestTransaction kTransactions[] = {
    {"Карта", M(5000), D(2024, 1, 10), "salary"},
    {"Наличные", -M(300), D(2024, 1, 12), "food"},
    {"Карта", -M(200), D(2024, 1, 20), "food"},
    {"Доллары", -M(2), D(2024, 1, 25)},
    {"Карта", -M(1000), D(2024, 1, 15), nullptr, "Наличные"},
    {"Карта", -M(50), D(2024, 2, 3), "food"},
    {"Наличные", -M(70), D(2024, 1, 28), "food", nullptr, false},
};

class CliReport : public ACliTest {
protected:
    void SetUp() override
    {
        ADatabase db;
        db.CreateDefaults();
        db.BeginStep();
        const auto rur = ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
        const auto usd = ATableImpl<ACurrency>::RefTo(
            db.Currencies().Create(ACurrency{db.NewText(u"Доллар"), db.NewText(u"USD"), 2}));
        const auto header = ATableImpl<ARateHeader>::RefTo(db.RateHeaders().Create(ARateHeader{usd, rur}));
        db.RateValues().Create(ARateValue{header, D(2024, 1, 1), M(1), M(kDollarInRoubles)});
        const auto plan = ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front());
        std::map<std::string, AReference<AAccount>> accounts;
        accounts["Наличные"] = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        auto addAccount = [&](const char* name, AReference<ACurrency> currency, AMoney initial) {
            AAccount account;
            account.name = db.NewText(Utf16(name));
            account.currency = currency;
            account.initialBalance = initial;
            accounts[name] = ATableImpl<AAccount>::RefTo(db.Accounts().Create(account));
            db.Placements().Create(AAccountPlacement{accounts[name], plan});
        };
        addAccount("Карта", rur, M(1000));
        addAccount("Доллары", usd, M(10));
        const AClassifier& articles = db.Classifiers().Live().front()->Record();
        std::map<std::string, AReference<ACategory>> categories;
        categories["food"] = ATableImpl<ACategory>::RefTo(
            db.Categories().Create(ACategory{db.NewText(u"Продукты"), {}, articles.root2}));
        categories["salary"] = ATableImpl<ACategory>::RefTo(
            db.Categories().Create(ACategory{db.NewText(u"Зарплата"), {}, articles.root1}));
        for (const ATestTransaction& test : kTransactions) {
            ATransaction t;
            t.account1 = accounts[test.account];
            t.amount1 = test.amount;
            if (test.transferTo) {
                t.account2 = accounts[test.transferTo];
                t.amount2 = -test.amount;
            }
            t.date = t.budgetDate = test.date;
            t.executed = test.executed;
            const auto ref = ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t));
            if (test.category)
                db.Relations().Create(ARelation{categories[test.category], ref});
        }
        ASeries food;
        food.name = db.NewText(u"Еда");
        food.hue = 20;
        food.expense = 1;
        const auto foodSeries = ATableImpl<ASeries>::RefTo(db.Series().Create(food));
        db.SeriesAccounts().Create(ASeriesAccountFilter{foodSeries, accounts["Наличные"]});
        db.SeriesAccounts().Create(ASeriesAccountFilter{foodSeries, accounts["Карта"]});
        const auto folder =
            ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{db.NewText(u"Расходы"), {}, {}}));
        const auto article = ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{{}, foodSeries, folder}));
        ABudgetLimit limit;
        limit.item = article;
        limit.currency = rur;
        limit.kind = ABudgetLimit::kPerMonth;
        limit.amount = M(3100);
        limit.year = 2024;
        db.BudgetLimits().Create(limit);
        CommitWithRules(db);
        SaveNewDatabase(db, Path("books.fend"));
    }

    static AMoney InRoubles(const ATestTransaction& t, AMoney amount)
    {
        return std::string(t.account) == "Доллары" ? amount * kDollarInRoubles : amount;
    }
    static bool InJanuary(const ATestTransaction& t) { return t.date >= D(2024, 1, 1) && t.date <= D(2024, 1, 31); }

    static const Json* Child(const Json& node, const std::string& name)
    {
        for (const Json& child : node.at("children"))
            if (child.at("name") == name)
                return &child;
        ADD_FAILURE() << "no child " << name << " in " << node.dump();
        return nullptr;
    }
};

TEST_F(CliReport, TurnoverJsonMatchesTheSumsOfTheTransactions)
{
    const ACliRun run = Run({"report", "turnover", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31",
                             "--currency", "RUR", "--group-by", "Статьи", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Every account is ticked: the transfer between two of them is no turnover.
    AMoney income = 0, expense = 0, food = 0, unknown = 0;
    for (const ATestTransaction& t : kTransactions) {
        if (!t.executed || !InJanuary(t) || t.transferTo)
            continue;
        (t.amount > 0 ? income : expense) += InRoubles(t, t.amount);
        if (t.category && std::string(t.category) == "food")
            food += InRoubles(t, t.amount);
        if (!t.category && t.amount <= 0)
            unknown += InRoubles(t, t.amount);
    }
    const Json json = ParseJson(run.out);
    EXPECT_EQ(json.at("currency"), "RUR");
    EXPECT_EQ(json.at("from"), "2024-01-01");
    const Json& root = json.at("root");
    EXPECT_EQ(root.at("name"), "Финансовый результат");
    EXPECT_EQ(root.at("income"), AmountText(income));
    EXPECT_EQ(root.at("expense"), AmountText(expense));
    const Json* expenses = Child(root, "Все статьи расхода");
    ASSERT_TRUE(expenses);
    EXPECT_EQ(Child(*expenses, "Продукты")->at("expense"), AmountText(food));
    EXPECT_EQ(Child(*expenses, "Неизвестный расход")->at("expense"), AmountText(unknown));
    EXPECT_TRUE(json.at("messages").empty());
}

TEST_F(CliReport, TurnoverOfOneAccountShowsItsTransferUnderTheCounterpart)
{
    const ACliRun run = Run({"report", "turnover", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31",
                             "--currency", "RUR", "--group-by", "Статья", "--accounts", "Карта@RUR", "--kinds",
                             "expense,debits", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    AMoney spent = 0, moved = 0;
    for (const ATestTransaction& t : kTransactions)
        if (t.executed && InJanuary(t) && std::string(t.account) == "Карта" && t.amount < 0)
            (t.transferTo ? moved : spent) += t.amount;
    const Json root = ParseJson(run.out).at("root");
    EXPECT_EQ(root.at("name"), "Все статьи расхода");
    EXPECT_EQ(root.at("expense"), AmountText(spent + moved));
    EXPECT_EQ(root.at("income"), "0.0000");
    EXPECT_EQ(Child(root, "Перевод на счёт \"Наличные\"")->at("expense"), AmountText(moved));
}

TEST_F(CliReport, TurnoverForPeopleUsesTheProgramsTexts)
{
    const ACliRun run = Run({"report", "turnover", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31",
                             "--currency", "RUR", "--group-by", "Статьи"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Сумма, RUR"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("% к общему обороту"), std::string::npos);
    // 5 000 in, 500 + 2 × 90 out.
    EXPECT_NE(run.out.find("Финансовый результат"), std::string::npos);
    EXPECT_NE(run.out.find("4 320,00"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  Все статьи прихода"), std::string::npos);
}

TEST_F(CliReport, DynamicsByMonthWithTheKindsLabel)
{
    const ACliRun run = Run({"report", "dynamics", "books.fend", "--from", "2024-01-01", "--to", "2024-02-29",
                             "--currency", "RUR", "--bucket", "Месяц", "--series", "Еда", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    AMoney january = 0, february = 0;
    for (const ATestTransaction& t : kTransactions)
        if (t.executed && !t.transferTo && t.amount < 0 && std::string(t.account) != "Доллары")
            (InJanuary(t) ? january : february) += t.amount;
    const Json json = ParseJson(run.out);
    EXPECT_EQ(json.at("bucket"), 5);
    ASSERT_EQ(json.at("buckets").size(), 2u);
    EXPECT_EQ(json.at("buckets").at(1).at("from"), "2024-02-01");
    EXPECT_EQ(json.at("buckets").at(1).at("to"), "2024-02-29");
    const Json& values = json.at("series").at(0).at("values");
    EXPECT_EQ(values.at(0), AmountText(january));
    EXPECT_EQ(values.at(1), AmountText(february));

    const ACliRun byIndex = Run({"report", "dynamics", "books.fend", "--from", "2024-01-01", "--to", "2024-02-29",
                                 "--currency", "RUR", "--bucket", "12", "--series", "Еда", "--json"});
    ASSERT_EQ(byIndex.exitCode, 0) << byIndex.err;
    EXPECT_EQ(ParseJson(byIndex.out).at("series").at(0).at("values").at(0), AmountText(january + february));
}

TEST_F(CliReport, BalancesEndOnTheAccountsBalance)
{
    const ACliRun run = Run({"report", "balances", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31",
                             "--currency", "RUR", "--accounts", "Карта@RUR", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    AMoney balance = M(1000);
    for (const ATestTransaction& t : kTransactions)
        if (t.executed && InJanuary(t) && std::string(t.account) == "Карта")
            balance += t.amount;
    const Json json = ParseJson(run.out);
    const Json& executed = json.at("executed");
    EXPECT_EQ(executed.front().at("kind"), "start");
    EXPECT_EQ(executed.front().at("value"), "1000.0000");
    EXPECT_EQ(executed.back().at("kind"), "end");
    EXPECT_EQ(executed.back().at("date"), "2024-01-31");
    EXPECT_EQ(executed.back().at("value"), AmountText(balance));
    EXPECT_EQ(executed.size(), 2u + 3u);  // start, three transactions, end
}

TEST_F(CliReport, RatesOfThePair)
{
    const ACliRun run = Run({"report", "rates", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--rate",
                             "USD", "--in", "RUR", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json json = ParseJson(run.out);
    ASSERT_EQ(json.at("stored").size(), 1u);
    EXPECT_EQ(json.at("stored").at(0).at("value"), AmountText(M(kDollarInRoubles)));
    EXPECT_TRUE(json.at("before").empty());
    EXPECT_EQ(json.at("after").at(1).at("date"), "2024-01-31");

    const ACliRun same = Run({"report", "rates", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--rate",
                              "USD", "--in", "USD"});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_EQ(same.err, ExpectedMessage(469, {}));
}

TEST_F(CliReport, BudgetPlanAgainstFact)
{
    const ACliRun run = Run({"budget", "books.fend", "--from", "2024-01-01", "--to", "2024-01-15", "--currency",
                             "RUR", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    AMoney fact = 0;
    for (const ATestTransaction& t : kTransactions)
        if (t.executed && !t.transferTo && t.amount < 0 && t.date <= D(2024, 1, 15) && std::string(t.account) != "Доллары")
            fact += t.amount;
    const AMoney plan = M(3100) * 15 / 31;
    const Json json = ParseJson(run.out);
    const Json& folder = json.at("rows").at(0);
    EXPECT_EQ(folder.at("name"), "Расходы");
    EXPECT_EQ(folder.at("article"), false);
    const Json& article = folder.at("children").at(0);
    EXPECT_EQ(article.at("name"), "Еда");
    EXPECT_EQ(article.at("plan"), AmountText(plan));
    EXPECT_EQ(article.at("fact"), AmountText(fact));
    EXPECT_DOUBLE_EQ(article.at("execution").get<double>(),
                     static_cast<double>(fact) / static_cast<double>(plan) * 100.0);
    EXPECT_EQ(folder.at("plan"), AmountText(plan));

    const ACliRun text = Run({"budget", "books.fend", "--from", "2024-01-01", "--to", "2024-01-15", "--currency",
                              "RUR"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Статья бюджета"), std::string::npos);
    EXPECT_NE(text.out.find("1 500,00"), std::string::npos) << text.out;
}

TEST_F(CliReport, UsageErrorsFailuresAndMessages)
{
    struct ACase {
        std::vector<std::string> arguments;
        int exitCode;
    } cases[] = {
        {{"report", "turnover", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--currency", "RUR"}, 2},
        {{"report", "balances", "books.fend", "--from", "2024-1-1", "--to", "2024-01-31", "--currency", "RUR"}, 2},
        {{"report", "balances", "books.fend", "--from", "2024-02-30", "--to", "2024-03-31", "--currency", "RUR"}, 2},
        {{"report", "dynamics", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--currency", "RUR",
          "--bucket", "14", "--series", "Еда"},
         2},
        {{"report", "turnover", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--currency", "RUR",
          "--group-by", "Статьи", "--kinds", "income,gifts"},
         2},
        {{"report", "balances", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--currency", "XYZ"}, 1},
        {{"report", "balances", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--currency", "RUR",
          "--accounts", "Нет такого@RUR"},
         1},
        {{"report", "dynamics", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--currency", "RUR",
          "--bucket", "5", "--series", "Нет"},
         1},
        {{"budget", "missing.fend", "--from", "2024-01-01", "--to", "2024-01-31", "--currency", "RUR"}, 6},
    };
    for (const ACase& c : cases) {
        const ACliRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments[1] << " " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments[1];
        EXPECT_NE(run.err, "") << c.arguments[1];
    }
    const ACliRun backwards = Run({"report", "balances", "books.fend", "--from", "2024-02-01", "--to", "2024-01-31",
                                   "--currency", "RUR"});
    EXPECT_EQ(backwards.exitCode, 1);
    EXPECT_EQ(backwards.err, ExpectedMessage(463, {}));
}

TEST_F(CliReport, AccountsWithoutARateAreLeftOutWithExitThree)
{
    const ACliRun run = Run({"report", "balances", "books.fend", "--from", "2024-01-01", "--to", "2024-01-31",
                             "--currency", "USD", "--json"});
    // Roubles have a rate to dollars (the pair is stored the other way round); so all count.
    ASSERT_EQ(run.exitCode, 0) << run.err;

    ADatabase db;
    ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
    db.BeginStep();
    const auto eur = ATableImpl<ACurrency>::RefTo(
        db.Currencies().Create(ACurrency{db.NewText(u"Евро"), db.NewText(u"EUR"), 2}));
    AAccount account;
    account.name = db.NewText(u"Евросчёт");
    account.currency = eur;
    db.Accounts().Create(account);
    CommitWithRules(db);
    ASSERT_EQ(db.SaveAs(Path("euro.fend")), Result::kOk);

    const ACliRun dropped = Run({"report", "turnover", "euro.fend", "--from", "2024-01-01", "--to", "2024-01-31",
                                 "--currency", "RUR", "--group-by", "Статьи", "--json"});
    EXPECT_EQ(dropped.exitCode, 3) << dropped.err;
    EXPECT_EQ(dropped.err, ExpectedMessage(471, {u"Евросчёт", u"EUR", u"EUR", u"RUR"}));
    EXPECT_EQ(ParseJson(dropped.out).at("messages").size(), 1u);
}

}  // namespace
