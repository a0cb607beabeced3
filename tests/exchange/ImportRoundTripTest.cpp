// Export a rich data file, import the document into a new one, export again: the two
// documents differ only in the export date and the module.
#include "ImportTestSupport.h"

#include "database/DatabaseRules.h"
#include "database/Recurrence.h"
#include "exchange/export/ExportDocument.h"

namespace {

using namespace ImportTest;

constexpr AModuleGuid kFirstModule = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
constexpr AModuleGuid kSecondModule = {0xA, 0xB, 0xC, {0xD, 0xE, 0xF, 1, 2, 3, 4, 5}};

// The same optional features in both files.
void SwitchFeaturesOn(ADatabase& db)
{
    db.BeginStep();
    ADBSettings* settings = db.Settings().Change(db.Settings().Live().front());
    settings->times = 1;
    settings->budgetDates = 1;
    settings->quantities = 1;
    settings->extraCommentInUse[0] = 1;
    settings->extraCommentCaption[0] = db.NewText(u"Чек");
    settings->extraCommentInUse[2] = 1;
    settings->extraCommentCaption[2] = db.NewText(u"Место");
    db.CommitStep();
}

class TRichBooks {
public:
    explicit TRichBooks(ADatabase& db) : db_(db) {}

    void Build()
    {
        SwitchFeaturesOn(db_);
        db_.BeginStep();
        const auto rur = ATableImpl<ACurrency>::RefTo(db_.Currencies().Live().front());
        const auto usd = Currency(u"Доллар США", u"USD", 2);
        const auto eur = Currency(u"Евро", u"EUR", 4);
        Rate(usd, rur, Dates::FromYmd(2020, 1, 1), M(1), 735'000);
        Rate(usd, rur, Dates::FromYmd(2020, 2, 1), M(1), 765'123);
        Rate(eur, usd, Dates::FromYmd(2020, 1, 1), M(100), M(111));

        const auto cash = ATableImpl<AAccount>::RefTo(db_.Accounts().Live().front());
        db_.Accounts().Change(db_.Accounts().Get(cash))->initialBalance = M(1000);
        const auto card = Account(u"Карта", usd, -55'000, u"зарплатная", false);
        const auto savings = Account(u"Вклад", eur, M(500), {}, true);

        const AClassifier& articles = db_.Classifiers().Live().front()->Record();
        const auto salary = Category(articles.root1, u"Зарплата", {});
        const auto food = Category(articles.root2, u"Еда", u"всё съедобное");
        const auto bread = Category(food, u"Хлеб", {});
        const auto projects = Classifier(u"Проект", u"Проекты", false, true, {u"Все проекты"});
        const auto home = Category(projects[0], u"Дом", u"ремонт");
        const auto agents = Classifier(u"Агент", u"Агенты", true, true, {u"Плательщики", u"Получатели", u"Посредники"});
        const auto bank = Category(agents[2], u"Банк", {});
        const auto shop = Category(agents[1], u"Магазин", {});

        auto at = [](int month, int day) { return Dates::FromYmd(2020, month, day); };
        Transaction({.date = at(1, 10), .time = 9 * 3600000, .account1 = cash, .amount1 = M(200), .executed = true},
                    {salary});
        Transaction({.date = at(1, 11), .time = 18 * 3600000 + 5 * 60000 + 3000, .budgetDate = at(2, 1),
                     .account1 = cash, .amount1 = -125'000, .quantity = M(2), .executed = true, .locked = true,
                     .comment = u"батон", .extra1 = u"12345", .extra3 = u"у дома"},
                    {bread, home, shop});
        Transaction({.date = at(1, 12), .account1 = card, .amount1 = -M(10), .account2 = savings, .amount2 = M(9),
                     .executed = true},
                    {home, bank});
        Transaction({.date = at(1, 13), .account1 = cash, .balance1 = M(1070), .executed = true, .balance = true}, {});
        Transaction({.date = at(3, 1), .account1 = savings, .balance1 = M(600), .balance = true}, {});
        Transaction({.date = at(3, 2), .account1 = cash, .amount1 = -M(30), .comment = u"каждые две недели",
                     .rule = WeeklyRule()},
                    {food});
        Transaction({.date = at(3, 3), .account1 = card, .amount1 = M(50), .rule = MonthNthRule()}, {});
        ASSERT_FALSE(CommitWithRules(db_).overflowed);
    }

private:
    struct ATransactionSpec {
        ADate date = 0;
        std::int32_t time = 0;
        ADate budgetDate = 0;
        AReference<AAccount> account1;
        AMoney amount1 = 0;
        AMoney balance1 = 0;
        AReference<AAccount> account2;
        AMoney amount2 = 0;
        AMoney quantity = 0;
        bool executed = false;
        bool locked = false;
        bool balance = false;
        std::u16string comment;
        std::u16string extra1;
        std::u16string extra3;
        std::optional<Recurrence::ARule> rule;
    };

    static Recurrence::ARule WeeklyRule()
    {
        Recurrence::ARule rule;
        rule.active = true;
        rule.kind = static_cast<std::uint8_t>(Recurrence::AKind::Weekly);
        rule.maskOrSelector = Recurrence::MaskBit(1) | Recurrence::MaskBit(5);
        rule.interval = 2;
        rule.endsAfterCount = true;
        rule.count = 10;
        return rule;
    }
    static Recurrence::ARule MonthNthRule()
    {
        Recurrence::ARule rule;
        rule.active = true;
        rule.kind = static_cast<std::uint8_t>(Recurrence::AKind::MonthNth);
        rule.maskOrSelector = Recurrence::kWorkingDay;
        rule.instance = Recurrence::kLastInstance;
        rule.interval = 1;
        rule.endsAtDate = true;
        rule.end = Dates::FromYmd(2021, 1, 1);
        rule.regenerate = true;
        return rule;
    }

    AReference<AString> Text(std::u16string_view text) { return text.empty() ? AReference<AString>() : db_.NewText(text); }
    AReference<ACurrency> Currency(std::u16string_view name, std::u16string_view code, std::uint32_t precision)
    {
        return ATableImpl<ACurrency>::RefTo(db_.Currencies().Create(ACurrency{Text(name), Text(code), precision}));
    }
    void Rate(AReference<ACurrency> first, AReference<ACurrency> second, ADate date, AMoney amount1, AMoney amount2)
    {
        auto* header = RateHeaderFor(db_, first, second);
        if (!header)
            header = db_.RateHeaders().Create(ARateHeader{first, second});
        db_.RateValues().Create(ARateValue{ATableImpl<ARateHeader>::RefTo(header), date, amount1, amount2});
    }
    AReference<AAccount> Account(std::u16string_view name, AReference<ACurrency> currency, AMoney initial,
                                 std::u16string_view comment, bool locked)
    {
        AAccount account;
        account.name = Text(name);
        account.currency = currency;
        account.initialBalance = initial;
        account.comment = Text(comment);
        account.locked = locked ? 1 : 0;
        const auto ref = ATableImpl<AAccount>::RefTo(db_.Accounts().Create(account));
        db_.Placements().Create(AAccountPlacement{ref, ATableImpl<AAccountFolder>::RefTo(db_.Folders().Live().front())});
        return ref;
    }
    AReference<ACategory> Category(AReference<ACategory> parent, std::u16string_view name, std::u16string_view comment)
    {
        return ATableImpl<ACategory>::RefTo(db_.Categories().Create(ACategory{Text(name), Text(comment), parent}));
    }
    std::vector<AReference<ACategory>> Classifier(std::u16string_view singular, std::u16string_view plural,
                                                  bool separate, bool transfers,
                                                  std::initializer_list<std::u16string_view> roots)
    {
        AClassifier classifier;
        classifier.singular = Text(singular);
        classifier.plural = Text(plural);
        classifier.separateTrees = separate;
        classifier.useInTransfers = transfers;
        std::vector<AReference<ACategory>> refs;
        for (std::u16string_view root : roots)
            refs.push_back(Category({}, root, root == u"Все проекты" ? u"корень" : u""));
        classifier.root1 = refs[0];
        classifier.root2 = refs.size() > 1 ? refs[1] : AReference<ACategory>();
        classifier.root3 = refs.size() > 2 ? refs[2] : AReference<ACategory>();
        db_.Classifiers().Create(classifier);
        return refs;
    }
    void Transaction(const ATransactionSpec& spec, std::initializer_list<AReference<ACategory>> categories)
    {
        ATransaction t;
        t.date = spec.date;
        t.time = spec.time;
        t.budgetDate = spec.budgetDate ? spec.budgetDate : spec.date;
        t.account1 = spec.account1;
        t.amount1 = spec.amount1;
        t.balance1 = spec.balance1;
        t.account2 = spec.account2;
        t.amount2 = spec.amount2;
        t.quantity = spec.quantity;
        t.executed = spec.executed;
        t.locked = spec.locked;
        t.balance = spec.balance;
        t.comment = Text(spec.comment);
        t.extraComment[0] = Text(spec.extra1);
        t.extraComment[2] = Text(spec.extra3);
        if (spec.rule) {
            t.recurrence = spec.rule->Word();
            t.recurrenceCount = spec.rule->CountWord();
            t.recurrenceEnd = spec.rule->end;
        }
        const auto ref = ATableImpl<ATransaction>::RefTo(db_.Transactions().Create(t));
        for (const auto category : categories)
            db_.Relations().Create(ARelation{category, ref});
    }

    ADatabase& db_;
};

std::string Export(ADatabase& db, const AModuleGuid& module, int minute)
{
    const AExportEnvironment environment{nullptr, [minute] { return Dates::ALocalTime{44000, minute * 60000}; }, nullptr};
    auto stream = UtilityClasses::Streams::AMemoryStream::Create();
    EXPECT_EQ(ExportDocument(db, SelectEverything(db, module), environment, stream.get()), Result::kOk);
    return std::string(stream->Bytes());
}

// The text with the contents of one element (the first of that name) left out.
std::string Without(std::string text, const std::string& element)
{
    const auto open = text.find("<" + element + ">");
    const auto close = text.find("</" + element + ">");
    if (open != std::string::npos && close != std::string::npos && open < close)
        text.erase(open, close - open);
    return text;
}

TEST(ImportRoundTrip, ExportImportExportGivesTheSameDocument)
{
    ADatabase rich([] { return Dates::ALocalTime{44000, 0}; });
    rich.CreateDefaults({.times = true});
    TRichBooks(rich).Build();
    const std::string first = Export(rich, kFirstModule, 1);

    // A new data file without the defaults, which would match the rich file's and keep their values.
    TImport import(false);
    SwitchFeaturesOn(import.db);
    import.Import(first);
    const std::string second = Export(import.db, kSecondModule, 2);

    EXPECT_NE(first, second);  // the date and the module differ ...
    EXPECT_EQ(Without(Without(first, "export-date"), "module"), Without(Without(second, "export-date"), "module"));
    // ... and everything was there to compare.
    for (const char* part : {"<rate>", "<recurrence type='weekly'>", "<recurrence type='month-nth'>", "<transfer>",
                             "<balance>", "<extra-comment n='3'>", "<transfer-tree>", "<use-in-transfers/>", "<locked/>",
                             "<quantity>", "<budget-date>", "T18:05:03:000"})
        EXPECT_NE(first.find(part), std::string::npos) << part;
}

}  // namespace
