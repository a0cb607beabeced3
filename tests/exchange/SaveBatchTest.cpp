// The save phase: records matched to the data file's or added, categories merged by
// name, classifiers renamed, balances recalculated, all in one undoable step.
#include "ImportTestSupport.h"

#include "database/DatabaseRules.h"
#include "database/Recurrence.h"

namespace {

using namespace ImportTest;

const std::string kRoubles = "<currency><name>Российские рубли</name><code>RUR</code></currency>";
const std::string kCash = AccountRef("Наличные", "RUR");

// An executed income; `inKind` goes inside the kind element (categories), `after` after it.
std::string Income(std::string_view date, std::string_view account, std::string_view amount,
                   std::string_view inKind = {}, std::string_view after = {})
{
    return "<transaction><date>" + std::string(date) + "</date><income><executed/><income-account>" +
           std::string(account) + "</income-account><income-amount>" + std::string(amount) + "</income-amount>" +
           std::string(inKind) + "</income>" + std::string(after) + "</transaction>";
}

class SaveBatchTest : public testing::Test {
protected:
    AReference<ACategory> IncomeRoot() { return import.db.Classifiers().Live().front()->Record().root1; }
    AReference<ACategory> ExpenseRoot() { return import.db.Classifiers().Live().front()->Record().root2; }
    AReference<ACategory> AddCategory(AReference<ACategory> parent, std::u16string_view name)
    {
        return ATableImpl<ACategory>::RefTo(import.db.Categories().Create(ACategory{import.db.NewText(name), {}, parent}));
    }
    ASlot<AClassifier>* AddClassifier(std::u16string_view singular, std::u16string_view plural)
    {
        AClassifier classifier;
        classifier.singular = import.db.NewText(singular);
        classifier.plural = import.db.NewText(plural);
        classifier.root1 = AddCategory({}, u"Все");
        return import.db.Classifiers().Create(classifier);
    }
    std::vector<ASlot<ATransaction>*> Transactions()
    {
        auto live = import.db.Transactions().Live();
        return {live.begin(), live.end()};
    }

    TImport import;
};

TEST_F(SaveBatchTest, CurrenciesByCodeAccountsByNameAndCurrencyInEveryPlan)
{
    import.db.BeginStep();
    const auto family = import.db.Folders().Create(AAccountFolder{import.db.NewText(u"Семья"), {}, {}, 0});
    import.db.CommitStep();

    import.Import(Doc("<currencies>" + kRoubles + "<currency><name>Dollar</name><code>USD</code><precision>0</precision>"
                      "</currency></currencies><accounts><account><name>Наличные</name><currency>RUR</currency>"
                      "</account><account><name>Card</name><currency>USD</currency><init-balance>7</init-balance>"
                      "<comment>salary card</comment><locked/></account></accounts><transactions>" +
                      Income("2020-01-01", kCash, "10") + Income("2020-01-02", AccountRef("Card", "USD"), "2.5") +
                      "</transactions>"));

    ASSERT_EQ(import.db.Currencies().LiveCount(), 2u);
    EXPECT_EQ(U8(import.db.Text(import.CurrencyCoded(u"RUR")->name)), "Российские рубли");
    const ACurrency* usd = import.CurrencyCoded(u"USD");
    ASSERT_NE(usd, nullptr);
    EXPECT_EQ(U8(import.db.Text(usd->name)), "Dollar");
    EXPECT_EQ(usd->precision, 0u);

    ASSERT_EQ(import.db.Accounts().LiveCount(), 2u);
    ASlot<AAccount>* card = import.AccountNamed(u"Card", u"USD");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->Record().initialBalance, M(7));
    EXPECT_EQ(card->Record().locked, 1);
    EXPECT_EQ(U8(import.db.Text(card->Record().comment)), "salary card");
    const auto cardRef = ATableImpl<AAccount>::RefTo(card);
    std::vector<AReference<AAccountFolder>> folders;
    for (const AAccountPlacement* placement : import.LiveRecords(import.db.Placements()))
        if (placement->account == cardRef)
            folders.push_back(placement->folder);
    EXPECT_EQ(folders, (std::vector<AReference<AAccountFolder>>{ATableImpl<AAccountFolder>::RefTo(import.db.Folders().Live().front()),
                                                                ATableImpl<AAccountFolder>::RefTo(family)}));
    // The existing account was reused, not placed again.
    EXPECT_EQ(import.db.Placements().LiveCount(), 3u);

    const auto transactions = Transactions();
    ASSERT_EQ(transactions.size(), 2u);
    EXPECT_EQ(transactions[0]->Record().account1, ATableImpl<AAccount>::RefTo(import.AccountNamed(u"Наличные", u"RUR")));
    EXPECT_EQ(transactions[0]->Record().balance1, M(10));
    EXPECT_EQ(transactions[1]->Record().account1, cardRef);
    EXPECT_EQ(transactions[1]->Record().balance1, M(7) + 25'000);
}

TEST_F(SaveBatchTest, RatesJoinTheExistingPairWhicheverWayRoundAndKnownDaysStay)
{
    import.db.BeginStep();
    const auto usd = ATableImpl<ACurrency>::RefTo(
        import.db.Currencies().Create(ACurrency{import.db.NewText(u"Dollar"), import.db.NewText(u"USD"), 2}));
    const auto rur = ATableImpl<ACurrency>::RefTo(import.db.Currencies().Live().front());
    const auto header = ATableImpl<ARateHeader>::RefTo(import.db.RateHeaders().Create(ARateHeader{usd, rur}));
    import.db.RateValues().Create(ARateValue{header, Dates::FromYmd(2020, 1, 1), M(1), M(90)});
    import.db.CommitStep();

    auto rate = [](const char* date, const char* first, const char* second, const char* a1, const char* a2) {
        return "<rate><date>" + std::string(date) + "</date><currency-1>" + first + "</currency-1><currency-2>" +
               second + "</currency-2><amount-1>" + a1 + "</amount-1><amount-2>" + a2 + "</amount-2></rate>";
    };
    import.Import(Doc("<currencies>" + kRoubles + "<currency><name>Dollar</name><code>USD</code></currency>"
                      "<currency><name>Euro</name><code>EUR</code></currency></currencies><rates>" +
                      rate("2020-01-01", "RUR", "USD", "90", "1") + rate("2020-01-02", "RUR", "USD", "91", "1") +
                      rate("2020-01-02", "EUR", "USD", "1", "1.1") + "</rates>"));

    EXPECT_EQ(import.db.RateHeaders().LiveCount(), 2u);
    std::vector<std::tuple<ADate, AMoney, AMoney>> usdRur;
    for (const ARateValue* value : import.LiveRecords(import.db.RateValues()))
        if (value->header == header)
            usdRur.emplace_back(value->date, value->amount1, value->amount2);
    // The stored pair names USD first, so the imported amounts were turned round.
    EXPECT_EQ(usdRur, (std::vector<std::tuple<ADate, AMoney, AMoney>>{{Dates::FromYmd(2020, 1, 1), M(1), M(90)},
                                                                      {Dates::FromYmd(2020, 1, 2), M(1), M(91)}}));
    const ARateHeader* euro = import.db.RateHeaders().Record(ATableImpl<ARateHeader>::RefTo(import.db.RateHeaders().Live().back()));
    EXPECT_EQ(import.db.Text(import.db.Currencies().Record(euro->currency1)->code), u"EUR");
    EXPECT_EQ(import.db.Text(import.db.Currencies().Record(euro->currency2)->code), u"USD");
}

TEST_F(SaveBatchTest, MatchingClassifierTakesNewCategoriesByName)
{
    import.db.BeginStep();
    const auto food = AddCategory(ExpenseRoot(), u"Еда");
    AddCategory(food, u"Хлеб");
    import.db.CommitStep();
    const std::size_t categoriesBefore = import.db.Categories().LiveCount();

    import.Import(Doc(
        "<currencies>" + kRoubles + "</currencies><accounts><account>" + kCash +
        "</account></accounts><classifiers><classifier><singular-name>Статья</singular-name><plural-name>Статьи"
        "</plural-name><income-tree><category><name>Все статьи прихода</name><comment>incomes</comment></category>"
        "</income-tree><expense-tree><category><name>Все статьи расхода</name>"
        "<category><name>Еда</name><comment>food</comment><category><name>Хлеб</name></category></category>"
        "<category><name>Кино</name><comment>films</comment><category><name>IMAX</name></category></category>"
        "</category></expense-tree></classifier></classifiers><transactions>"
        "<transaction><date>2020-01-03</date><expense><executed/><expense-account>" + kCash +
        "</expense-account><expense-amount>-1</expense-amount><category classifier='Статья'>"
        "<name>Все статьи расхода</name><category><name>Еда</name></category></category></expense></transaction>"
        "<transaction><date>2020-01-04</date><expense><executed/><expense-account>" + kCash +
        "</expense-account><expense-amount>-2</expense-amount><category classifier='Статья'>"
        "<name>Все статьи расхода</name><category><name>Кино</name><category><name>3D</name></category></category>"
        "</category></expense></transaction></transactions>"));

    EXPECT_EQ(import.db.Classifiers().LiveCount(), 1u);
    EXPECT_EQ(import.ChildNames(ExpenseRoot()), (std::vector<std::string>{"Еда", "Кино"}));
    EXPECT_EQ(import.ChildNames(food), std::vector<std::string>{"Хлеб"});
    const auto cinema = import.ChildNamed(ExpenseRoot(), u"Кино");
    EXPECT_EQ(import.ChildNames(cinema), (std::vector<std::string>{"IMAX", "3D"}));
    EXPECT_EQ(import.db.Categories().LiveCount(), categoriesBefore + 3);
    // A reused category without a comment takes the imported one.
    EXPECT_EQ(U8(import.db.Text(import.db.Categories().Record(food)->comment)), "food");
    EXPECT_EQ(U8(import.db.Text(import.db.Categories().Record(IncomeRoot())->comment)), "incomes");
    EXPECT_EQ(U8(import.db.Text(import.db.Categories().Record(cinema)->comment)), "films");

    const auto transactions = Transactions();
    ASSERT_EQ(transactions.size(), 2u);
    EXPECT_EQ(import.PathsOf(transactions[0]), std::vector<std::string>{"Все статьи расхода/Еда"});
    EXPECT_EQ(import.PathsOf(transactions[1]), std::vector<std::string>{"Все статьи расхода/Кино/3D"});
}

TEST_F(SaveBatchTest, AReusedCategoryKeepsItsOwnComment)
{
    import.db.BeginStep();
    import.db.Categories().Change(import.db.Categories().Get(ExpenseRoot()))->comment = import.db.NewText(u"mine");
    import.db.CommitStep();
    import.Import(Doc("<classifiers><classifier><singular-name>Статья</singular-name><plural-name>Статьи</plural-name>"
                      "<income-tree><category><name>Все статьи прихода</name></category></income-tree><expense-tree>"
                      "<category><name>Все статьи расхода</name><comment>theirs</comment></category></expense-tree>"
                      "</classifier></classifiers>"));
    EXPECT_EQ(U8(import.db.Text(import.db.Categories().Record(ExpenseRoot())->comment)), "mine");
}

TEST_F(SaveBatchTest, ClassifiersThatDoNotMatchAreAddedUnderFreeNames)
{
    import.db.BeginStep();
    AddClassifier(u"Проект", u"Проекты");
    AddClassifier(u"Проект (1)", u"Другие");
    auto* agents = AddClassifier(u"Агент", u"Агенты");
    import.db.CommitStep();
    import.db.BeginStep();
    Database::Delete(import.db, agents);
    CommitWithRules(import.db);

    auto single = [](const char* singular, const char* plural, const char* root, bool transfers = false) {
        return "<classifier><singular-name>" + std::string(singular) + "</singular-name><plural-name>" + plural +
               "</plural-name>" + (transfers ? "<use-in-transfers/>" : "") + "<single-tree><category><name>" + root +
               "</name><category><name>Child</name></category></category></single-tree></classifier>";
    };
    import.Import(Doc("<classifiers>" +
                      // The layout differs from the stored one: a new classifier.
                      single("Статья", "Статьи", "Все статьи") +
                      // The singular name is taken, and so is "Проект (1)".
                      single("Проект", "Новые", "Все") +
                      // Equal names and tree, but used in transfers.
                      single("Проект (1)", "Другие", "Все", true) +
                      // Only a deleted classifier had these names.
                      single("Агент", "Агенты", "Все") + "</classifiers>"));

    std::vector<std::string> names;
    for (const AClassifier* classifier : import.LiveRecords(import.db.Classifiers()))
        names.push_back(U8(import.db.Text(classifier->singular)) + "/" + U8(import.db.Text(classifier->plural)));
    EXPECT_EQ(names, (std::vector<std::string>{"Статья/Статьи", "Проект/Проекты", "Проект (1)/Другие",
                                               "Статья (1)/Статьи (1)", "Проект (2)/Новые (2)",
                                               "Проект (1) (1)/Другие (1)", "Агент/Агенты"}));
    const AClassifier* added = import.ClassifierNamed(u"Статья (1)");
    ASSERT_NE(added, nullptr);
    EXPECT_FALSE(added->separateTrees);
    EXPECT_FALSE(added->root2);
    EXPECT_EQ(import.ChildNames(added->root1), std::vector<std::string>{"Child"});
    EXPECT_TRUE(import.ClassifierNamed(u"Проект (1) (1)")->useInTransfers);
}

TEST_F(SaveBatchTest, AMatchNeedsEqualRootNames)
{
    import.Import(Doc("<classifiers><classifier><singular-name>Статья</singular-name><plural-name>Статьи</plural-name>"
                      "<income-tree><category><name>Доходы</name></category></income-tree><expense-tree>"
                      "<category><name>Все статьи расхода</name></category></expense-tree></classifier></classifiers>"));
    EXPECT_EQ(import.db.Classifiers().LiveCount(), 2u);
    EXPECT_NE(import.ClassifierNamed(u"Статья (1)"), nullptr);
}

TEST_F(SaveBatchTest, BalancesOfTouchedAccountsAreRecalculated)
{
    const auto cash = ATableImpl<AAccount>::RefTo(import.AccountNamed(u"Наличные", u"RUR"));
    import.db.BeginStep();
    import.db.Accounts().Change(import.db.Accounts().Get(cash))->initialBalance = M(100);
    ATransaction later;
    later.date = Dates::FromYmd(2020, 2, 1);
    later.budgetDate = later.date;
    later.account1 = cash;
    later.amount1 = -M(10);
    later.executed = 1;
    import.db.Transactions().Create(later);
    CommitWithRules(import.db);
    ASSERT_EQ(Transactions()[0]->Record().balance1, M(90));

    import.Import(Doc("<currencies>" + kRoubles + "</currencies><accounts><account>" + kCash +
                      "<init-balance>100</init-balance></account></accounts><transactions>" +
                      Income("2020-01-15", kCash, "50") +
                      "<transaction><date>2020-01-20</date><balance><executed/><expense-account>" + kCash +
                      "</expense-account><expense-balance>120</expense-balance></balance></transaction>"
                      "</transactions>"));
    const auto transactions = Transactions();
    ASSERT_EQ(transactions.size(), 3u);
    EXPECT_EQ(transactions[1]->Record().balance1, M(150));
    // The stated balance: the correction is its difference from the running balance.
    EXPECT_EQ(transactions[2]->Record().balance1, M(120));
    EXPECT_EQ(transactions[2]->Record().amount1, -M(30));
    EXPECT_EQ(transactions[0]->Record().balance1, M(110));
}

TEST_F(SaveBatchTest, TheWholeImportIsOneUndoableStep)
{
    const std::string document =
        Doc("<currencies>" + kRoubles + "<currency><name>Dollar</name><code>USD</code></currency></currencies>"
            "<rates><rate><date>2020-01-01</date><currency-1>USD</currency-1><currency-2>RUR</currency-2>"
            "<amount-1>1</amount-1><amount-2>70</amount-2></rate></rates><accounts><account><name>Card</name>"
            "<currency>USD</currency></account></accounts><classifiers><classifier><singular-name>P</singular-name>"
            "<plural-name>Ps</plural-name><single-tree><category><name>All</name></category></single-tree>"
            "</classifier></classifiers><transactions>" +
            Income("2020-01-01", AccountRef("Card", "USD"), "1",
                   "<category classifier='P'><name>All</name><category><name>New</name></category></category>",
                   "<comment>c</comment>") +
            "</transactions>");
    std::vector<std::size_t> before;
    for (Engine::ATableId table = 1; table <= Engine::ADBEngine::kTableCount; ++table)
        before.push_back(import.db.Table(table).LiveCount());

    import.Import(document);
    EXPECT_EQ(import.db.UndoLabel(), std::u16string(u"Импорт данных"));
    EXPECT_EQ(import.db.Transactions().LiveCount(), 1u);
    ASSERT_TRUE(import.db.Undo());
    std::vector<std::size_t> after;
    for (Engine::ATableId table = 1; table <= Engine::ADBEngine::kTableCount; ++table)
        after.push_back(import.db.Table(table).LiveCount());
    EXPECT_EQ(after, before);
    EXPECT_FALSE(import.db.CanUndo());
    ASSERT_TRUE(import.db.Redo());
    EXPECT_EQ(import.db.Transactions().LiveCount(), 1u);
    EXPECT_EQ(import.db.ConsistencyErrors(), 0u);
}

TEST_F(SaveBatchTest, ABalanceBeyondTheRangeRefusesTheWholeImport)
{
    const std::string huge = "900000000000000";
    ASSERT_TRUE(import.Read(Doc("<currencies>" + kRoubles + "</currencies><accounts><account>" + kCash +
                                "</account></accounts><transactions>" + Income("2020-01-01", kCash, huge) +
                                Income("2020-01-02", kCash, huge) + "</transactions>")));
    ASSERT_EQ(import.MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(import.Save(), kImportBalanceOverflow);
    EXPECT_EQ(import.db.Transactions().LiveCount(), 0u);
    EXPECT_FALSE(import.db.StepOpen());
    EXPECT_FALSE(import.db.CanUndo());
    EXPECT_FALSE(import.db.Modified());
}

TEST_F(SaveBatchTest, AnUnlockedAccountOpensALockedPlan)
{
    import.db.BeginStep();
    import.db.Folders().Change(import.db.Folders().Live().front())->locked = 1;
    import.db.Accounts().Change(import.db.Accounts().Live().front())->locked = 1;
    import.db.CommitStep();
    import.Import(Doc(Currencies({"USD"}) + "<accounts><account><name>Locked</name><currency>USD</currency><locked/>"
                                            "</account></accounts>"));
    EXPECT_EQ(import.db.Folders().Live().front()->Record().locked, 1);
    import.Import(Doc(Currencies({"USD"}) + "<accounts><account><name>Open</name><currency>USD</currency>"
                                            "</account></accounts>"));
    EXPECT_EQ(import.db.Folders().Live().front()->Record().locked, 0);
}

TEST_F(SaveBatchTest, TransactionFieldsAndRecurrenceArrive)
{
    import.db.BeginStep();
    import.db.Settings().Change(import.db.Settings().Live().front())->quantities = 1;
    import.db.CommitStep();
    import.Import(Doc(
        "<currencies>" + kRoubles + "</currencies><accounts><account>" + kCash +
        "</account></accounts><transactions><transaction><date>2020-03-02</date><expense><expense-account>" + kCash +
        "</expense-account><expense-amount>-12.5</expense-amount><quantity>3</quantity></expense>"
        "<comment>weekly</comment><extra-comment n='3'>third</extra-comment><extra-comment n='1'>first</extra-comment>"
        "<recurrence type='weekly'><day-of-week-mask>68</day-of-week-mask><interval>2</interval>"
        "<occurrences>10</occurrences><regenerate/></recurrence></transaction>"
        "<transaction><date>2020-03-03</date><income><executed/><locked/><income-account>" + kCash +
        "</income-account><income-amount>1</income-amount></income><recurrence-note/></transaction></transactions>"));
    const auto transactions = Transactions();
    ASSERT_EQ(transactions.size(), 2u);
    const ATransaction& planned = transactions[0]->Record();
    EXPECT_EQ(planned.amount1, -125'000);
    EXPECT_EQ(planned.quantity, M(3));
    EXPECT_FALSE(planned.executed);
    EXPECT_EQ(U8(import.db.Text(planned.comment)), "weekly");
    EXPECT_EQ(U8(import.db.Text(planned.extraComment[0])), "first");
    EXPECT_FALSE(planned.extraComment[1]);
    EXPECT_EQ(U8(import.db.Text(planned.extraComment[2])), "third");
    const auto rule = Recurrence::ARule::FromWords(planned.recurrence, planned.recurrenceCount, planned.recurrenceEnd);
    EXPECT_TRUE(rule.active);
    EXPECT_EQ(rule.Kind(), Recurrence::AKind::Weekly);
    EXPECT_EQ(rule.maskOrSelector, Recurrence::MaskBit(1) | Recurrence::MaskBit(5));
    EXPECT_EQ(rule.interval, 2);
    EXPECT_TRUE(rule.endsAfterCount);
    EXPECT_EQ(rule.count, 10);
    EXPECT_FALSE(rule.endsAtDate);
    EXPECT_TRUE(rule.regenerate);
    const ATransaction& locked = transactions[1]->Record();
    EXPECT_TRUE(locked.executed);
    EXPECT_TRUE(locked.locked);
    EXPECT_EQ(locked.recurrence, 0u);
}

TEST_F(SaveBatchTest, ReportsCaptionsAndProgress)
{
    TProgress progress;
    import.progress = &progress;
    import.Import(Doc(Currencies({"USD"}) +
                      "<accounts><account><name>Card</name><currency>USD</currency></account></accounts>"
                      "<classifiers><classifier><singular-name>P</singular-name><plural-name>Ps</plural-name>"
                      "<single-tree><category><name>All</name><category><name>One</name></category></category>"
                      "</single-tree></classifier></classifiers><transactions>" +
                      Income("2020-01-01", AccountRef("Card", "USD"), "1",
                             "<category classifier='P'><name>All</name><category><name>Two</name></category>"
                             "</category>") +
                      "</transactions>"));
    ASSERT_GE(progress.captions.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(progress.captions.end() - 5, progress.captions.end()),
              (std::vector<std::string>{"Сохраняются валюты.", "Сохраняются курсы валют.", "Сохраняются счета.",
                                        "Сохраняются классификаторы.", "Сохраняются операции."}));
    EXPECT_EQ(progress.last, 100u);
}

}  // namespace
