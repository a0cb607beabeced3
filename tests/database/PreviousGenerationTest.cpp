#include "DataFileHelpers.h"
#include "OldFileSample.h"

#include "database/Password.h"
#include "database/PreviousGenerationFile.h"

#include <chrono>
#include <cmath>
#include <fstream>

using namespace DataFileHelpers;
using Dates::FromYmd;

namespace {

std::string WriteOldFile(const TempFolder& folder, const std::vector<std::uint8_t>& bytes)
{
    const std::string path = folder.File("old.fdb");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

template <class T>
std::vector<const T*> LiveRecords(ATableImpl<T>& table)
{
    std::vector<const T*> records;
    for (const auto* slot : table.Live())
        records.push_back(&slot->Record());
    return records;
}

template <class T>
std::vector<Engine::ARecordId> LiveIds(ATableImpl<T>& table)
{
    std::vector<Engine::ARecordId> ids;
    for (const auto* slot : table.Live())
        ids.push_back(slot->id);
    return ids;
}

class PreviousGenerationFile : public ::testing::Test {
protected:
    HRESULT Open(const std::vector<std::uint8_t>& bytes) { return db.Open(WriteOldFile(folder, bytes)); }

    std::u16string Name(AReference<ACurrency> ref) { return db.Text(db.Currencies().Record(ref)->code); }
    std::u16string Name(AReference<AAccount> ref) { return db.Text(db.Accounts().Record(ref)->name); }
    std::u16string Name(AReference<ACategory> ref)
    {
        return ref.IsNull() ? u"-" : db.Text(db.Categories().Record(ref)->name);
    }

    TempFolder folder;
    ADatabase db{FixedClock()};
};

}  // namespace

TEST(OleDates, DayAndTimeOfDay)
{
    struct Case {
        double value;
        ADate date;
        std::int32_t milliseconds;
    };
    const Case cases[] = {
        {0.0, 0, 0},
        {43840.5, 43840, 43200000},
        {-1.25, -1, 21600000},
        {-0.5, 0, 43200000},                       // 1899-12-30 at noon, written below zero
        {100.0 + 1.0 / 86400000 * 0.49, 100, 0},  // under half a millisecond rounds down
        {100.0 + 1.0 / 86400000 * 0.51, 100, 1},
        {100.99999999999, 100, 86399999},          // never midnight of the next day
    };
    for (const Case& c : cases) {
        const auto result = Database::PreviousGeneration::FromOleDate(c.value);
        ASSERT_TRUE(result) << c.value;
        EXPECT_EQ(result->date, c.date) << c.value;
        EXPECT_EQ(result->milliseconds, c.milliseconds) << c.value;
    }
    for (double bad : {std::nan(""), 1e300, -1e300, 2958466.0, -657435.0})
        EXPECT_FALSE(Database::PreviousGeneration::FromOleDate(bad)) << bad;
}

TEST_F(PreviousGenerationFile, EveryRecordIsConverted)
{
    const OldFileSample sample;
    ASSERT_EQ(Open(sample.Bytes()), Result::kOk);
    EXPECT_TRUE(db.ReadOnly());
    EXPECT_FALSE(db.Modified());
    EXPECT_FALSE(db.CanUndo());
    EXPECT_EQ(db.Save(), Result::kUnexpected);

    // Defaults of a converted database.
    ASSERT_EQ(db.Users().LiveCount(), 1u);
    EXPECT_EQ(db.Text(db.Users().Live()[0]->Record().name), u"Admin");
    EXPECT_EQ(PasswordOf(db), u"");
    ASSERT_EQ(db.Settings().LiveCount(), 1u);
    EXPECT_EQ(db.Settings().Live()[0]->Record().times, 1);
    ASSERT_EQ(db.Folders().LiveCount(), 1u);
    EXPECT_EQ(db.Text(db.Folders().Live()[0]->Record().name), u"Все счета");

    // Currencies in the order of the file, whatever the order of the list.
    const auto currencies = LiveRecords(db.Currencies());
    ASSERT_EQ(currencies.size(), 3u);
    const std::u16string names[] = {u"Рубли", u"Доллары", u"Евро"}, codes[] = {u"RUR", u"USD", u"EUR"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(db.Text(currencies[i]->name), names[i]);
        EXPECT_EQ(db.Text(currencies[i]->code), codes[i]);
        EXPECT_EQ(currencies[i]->precision, 2u);
    }
    EXPECT_EQ(LiveIds(db.Currencies()), (std::vector<Engine::ARecordId>{1, 3, 5}));

    // The first rate of the list (rate 3, then rate 2) fixes each pair's order.
    const auto headers = LiveRecords(db.RateHeaders());
    ASSERT_EQ(headers.size(), 2u);
    EXPECT_EQ(Name(headers[0]->currency1), u"RUR");  // made by rate 2, which stands before rate 3
    EXPECT_EQ(Name(headers[0]->currency2), u"USD");
    EXPECT_EQ(Name(headers[1]->currency1), u"EUR");
    EXPECT_EQ(Name(headers[1]->currency2), u"RUR");
    const auto rates = LiveRecords(db.RateValues());
    ASSERT_EQ(rates.size(), 3u);
    struct ExpectedRate {
        std::size_t header;
        ADate date;
        AMoney amount1, amount2;
    };
    const ExpectedRate expectedRates[] = {
        {0, FromYmd(2020, 1, 10), 300000, 10000},  // rate 1 was USD -> RUR: swapped
        {0, FromYmd(2020, 2, 1), 700000, 10000},
        {1, FromYmd(2020, 1, 15), 10000, 350000},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rates[i]->header, ATableImpl<ARateHeader>::RefTo(db.RateHeaders().Live()[expectedRates[i].header]))
            << i;
        EXPECT_EQ(rates[i]->date, expectedRates[i].date) << i;
        EXPECT_EQ(rates[i]->amount1, expectedRates[i].amount1) << i;
        EXPECT_EQ(rates[i]->amount2, expectedRates[i].amount2) << i;
    }

    // Accounts, each placed in "Все счета".
    const auto accounts = LiveRecords(db.Accounts());
    ASSERT_EQ(accounts.size(), 2u);
    EXPECT_EQ(db.Text(accounts[0]->name), u"Кошелёк");
    EXPECT_EQ(Name(accounts[0]->currency), u"RUR");
    EXPECT_EQ(db.Text(accounts[1]->name), u"Карта");
    EXPECT_EQ(Name(accounts[1]->currency), u"USD");
    ASSERT_EQ(db.Placements().LiveCount(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const AAccountPlacement& placement = db.Placements().Live()[i]->Record();
        EXPECT_EQ(placement.account, ATableImpl<AAccount>::RefTo(db.Accounts().Live()[i]));
        EXPECT_EQ(placement.folder, ATableImpl<AAccountFolder>::RefTo(db.Folders().Live()[0]));
    }

    // Categories in file order, with comments and parents.
    struct ExpectedCategory {
        std::u16string name, comment, parent;
    };
    const ExpectedCategory expectedCategories[] = {
        {u"Все расходы", u"", u"-"},      {u"Еда", u"и напитки", u"Все расходы"}, {u"Все доходы", u"корень", u"-"},
        {u"Зарплата", u"", u"Все доходы"}, {u"Подарки", u"", u"Все доходы"},       {u"От родителей", u"", u"Подарки"},
        {u"Все агенты", u"", u"-"},       {u"Магазин", u"", u"Все агенты"},        {u"Все проекты", u"", u"-"},
        {u"Ремонт", u"", u"Все проекты"},
    };
    const auto categories = LiveRecords(db.Categories());
    ASSERT_EQ(categories.size(), std::size(expectedCategories));
    for (std::size_t i = 0; i < categories.size(); ++i) {
        EXPECT_EQ(db.Text(categories[i]->name), expectedCategories[i].name);
        EXPECT_EQ(db.Text(categories[i]->comment), expectedCategories[i].comment);
        EXPECT_EQ(categories[i]->comment.IsNull(), expectedCategories[i].comment.empty());
        EXPECT_EQ(Name(categories[i]->parent), expectedCategories[i].parent);
    }

    // Classifiers: items with two trees, agents, projects (also in transfers).
    const auto classifiers = LiveRecords(db.Classifiers());
    ASSERT_EQ(classifiers.size(), 3u);
    struct ExpectedClassifier {
        std::u16string plural, singular, root1, root2;
        std::uint8_t separate, transfers;
    };
    const ExpectedClassifier expectedClassifiers[] = {
        {u"Статьи", u"Статья", u"Все доходы", u"Все расходы", 1, 0},
        {u"Агенты", u"Агент", u"Все агенты", u"-", 0, 0},
        {u"Проекты", u"Проект", u"Все проекты", u"-", 0, 1},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const ExpectedClassifier& e = expectedClassifiers[i];
        EXPECT_EQ(db.Text(classifiers[i]->plural), e.plural);
        EXPECT_EQ(db.Text(classifiers[i]->singular), e.singular);
        EXPECT_EQ(Name(classifiers[i]->root1), e.root1);
        EXPECT_EQ(Name(classifiers[i]->root2), e.root2);
        EXPECT_TRUE(classifiers[i]->root3.IsNull());
        EXPECT_EQ(classifiers[i]->separateTrees, e.separate);
        EXPECT_EQ(classifiers[i]->useInTransfers, e.transfers);
    }

    // Transactions in file order; the times of t0 and t1 collide, and t0 comes first in the list.
    struct ExpectedTransaction {
        ADate date;
        std::int32_t time;
        std::u16string account1, account2;
        AMoney amount1, balance1, amount2, balance2;
        std::uint8_t executed, locked;
        std::uint32_t recurrence, count;
        ADate end;
        std::u16string comment;
        std::vector<std::u16string> categories;
    };
    const std::uint32_t monthly = OldFileSample::kMonthlyWord;
    const ExpectedTransaction expected[] = {
        {FromYmd(2020, 1, 10), 43200000, u"Кошелёк", u"", 500000, 500000, 0, 0, 1, 0, 0, 0, 0, u"январь",
         {u"Зарплата", u"Магазин", u"Ремонт"}},
        {FromYmd(2020, 1, 10), 43200001, u"Кошелёк", u"", -120000, 380000, 0, 0, 1, 1, 0, 0, 0, u"",
         {u"Еда", u"Магазин"}},
        {FromYmd(2020, 1, 11), 21600000, u"Кошелёк", u"Карта", -300000, 80000, 10000, 10000, 1, 0, 0, 0, 0, u"",
         {u"Ремонт"}},
        {FromYmd(2020, 2, 15), 0, u"Кошелёк", u"", -50000, 30000, 0, 0, 0, 0, monthly, 3, 0, u"аренда", {u"Еда"}},
        {-1, 21600000, u"Карта", u"", 5000, 5000, 0, 0, 1, 0, 0, 0, 0, u"", {u"Все доходы"}},
        {FromYmd(2020, 3, 1), 0, u"Карта", u"Кошелёк", -100, 0, 3000, 0, 0, 0, monthly & ~(1u << 30), 0, 45000, u"",
         {}},
    };
    const auto transactions = LiveRecords(db.Transactions());
    ASSERT_EQ(transactions.size(), std::size(expected));
    for (std::size_t i = 0; i < transactions.size(); ++i) {
        const ATransaction& t = *transactions[i];
        const ExpectedTransaction& e = expected[i];
        EXPECT_EQ(t.date, e.date) << i;
        EXPECT_EQ(t.budgetDate, e.date) << i;
        EXPECT_EQ(t.time, e.time) << i;
        EXPECT_EQ(Name(t.account1), e.account1) << i;
        EXPECT_EQ(t.account2.IsNull() ? u"" : Name(t.account2), e.account2) << i;
        EXPECT_EQ(t.amount1, e.amount1) << i;
        EXPECT_EQ(t.balance1, e.balance1) << i;
        EXPECT_EQ(t.amount2, e.amount2) << i;
        EXPECT_EQ(t.balance2, e.balance2) << i;
        EXPECT_EQ(t.executed, e.executed) << i;
        EXPECT_EQ(t.locked, e.locked) << i;
        EXPECT_EQ(t.balance, 0) << i;
        EXPECT_EQ(t.quantity, 0) << i;
        EXPECT_EQ(t.recurrence, e.recurrence) << i;
        EXPECT_EQ(t.recurrenceCount, e.count) << i;
        EXPECT_EQ(t.recurrenceEnd, e.end) << i;
        EXPECT_EQ(db.Text(t.comment), e.comment) << i;
        EXPECT_EQ(t.comment.IsNull(), e.comment.empty()) << i;
        std::vector<std::u16string> related;
        ARelation probe;
        probe.transaction = ATableImpl<ATransaction>::RefTo(db.Transactions().Live()[i]);
        for (const auto* relation : db.Relations().EqualRange(3, probe))
            related.push_back(Name(relation->Record().category));
        std::sort(related.begin(), related.end());
        std::vector<std::u16string> wanted = e.categories;
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(related, wanted) << i;
    }
    EXPECT_EQ(db.Relations().LiveCount(), 8u);

    // The pages: the fixed ones, then one per classifier, naming the classifier's identifier.
    const auto& pages = db.Pages().IndexAt(2);
    ASSERT_EQ(pages.size(), 9u);
    const std::uint32_t classifierPages[] = {205 + 1, 205 + 3, 205 + 5};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(db.Classifiers().Live()[i]->id, 1 + 2 * i);
        EXPECT_EQ(pages[6 + i]->Record().type, classifierPages[i]);
        EXPECT_EQ(db.Text(pages[6 + i]->Record().name), expectedClassifiers[i].plural);
    }

    // Every table is numbered 1, 3, 5, ... and the next identifier follows on.
    for (Engine::ATableId id = 1; id <= Engine::ADBEngine::kTableCount; ++id) {
        auto& table = db.Table(id);
        for (std::size_t i = 0; i < table.SlotCount(); ++i)
            EXPECT_EQ(table.SlotAt(i).id, 1 + 2 * i) << "table " << id;
        EXPECT_EQ(table.Header().nextId, 1 + 2 * table.SlotCount()) << "table " << id;
    }
    EXPECT_EQ(db.ConsistencyErrors(), 0u);
}

TEST_F(PreviousGenerationFile, ConvertedFileSavesUnderANewNameAndReopens)
{
    ASSERT_EQ(Open(OldFileSample().Bytes()), Result::kOk);
    const std::string path = folder.File("converted.fend");
    ASSERT_EQ(db.SaveAs(path), Result::kOk);
    EXPECT_FALSE(db.ReadOnly());
    ExpectReopensSame(db, path);
}

TEST_F(PreviousGenerationFile, WithoutAgentsThereIsNoAgentClassifier)
{
    const OldFileSample sample(0, 1251, false);
    ASSERT_EQ(Open(sample.Bytes()), Result::kOk);
    const auto classifiers = LiveRecords(db.Classifiers());
    ASSERT_EQ(classifiers.size(), 2u);
    EXPECT_EQ(db.Text(classifiers[1]->plural), u"Проекты");
    // The agent root is not converted, and no relation names an agent.
    EXPECT_EQ(db.Categories().LiveCount(), 8u);
    EXPECT_EQ(db.Relations().LiveCount(), 6u);
}

TEST_F(PreviousGenerationFile, TextsUseTheCodePageOfTheLanguage)
{
    const OldFileSample sample(0, 866);
    db.SetTextCodePage(866);
    ASSERT_EQ(Open(sample.Bytes()), Result::kOk);
    EXPECT_EQ(db.Text(db.Accounts().Live()[0]->Record().name), u"Кошелёк");

    // A code page the system does not know keeps the bytes as they are.
    ADatabase unknown(FixedClock());
    unknown.SetTextCodePage(59999);
    ASSERT_EQ(unknown.Open(folder.File("old.fdb")), Result::kOk);
    const std::u16string name = unknown.Text(unknown.Accounts().Live()[0]->Record().name);
    ASSERT_EQ(name.size(), 7u);
    EXPECT_EQ(name[0], 0x8A);  // "К" in code page 866
}

TEST_F(PreviousGenerationFile, APasswordIsAskedForAndKept)
{
    const OldFileSample sample(PasswordCheckValue(u"Тайна"));
    std::vector<bool> verdicts;
    db.SetPasswordPrompt([&](const std::string&, const std::function<bool(const std::u16string&)>& accept) {
        for (const char16_t* answer : {u"тайна", u"Тайна"}) {
            verdicts.push_back(accept(answer));
            if (verdicts.back())
                return true;
        }
        return false;
    });
    ASSERT_EQ(Open(sample.Bytes()), Result::kOk);
    EXPECT_EQ(verdicts, (std::vector<bool>{false, true}));
    EXPECT_EQ(PasswordOf(db), u"Тайна");

    ADatabase cancelled(FixedClock());
    cancelled.SetPasswordPrompt([](const std::string&, const auto&) { return false; });
    EXPECT_EQ(cancelled.Open(folder.File("old.fdb")), Result::kPasswordCancelled);
    EXPECT_EQ(cancelled.Currencies().SlotCount(), 0u);
    ADatabase noPrompt(FixedClock());
    EXPECT_EQ(noPrompt.Open(folder.File("old.fdb")), Result::kPasswordCancelled);
}

TEST_F(PreviousGenerationFile, ManyTransactionsAtOneMomentGetConsecutiveTimes)
{
    OldFileBuilder file;
    const std::uint32_t currency = file.Currency(u"Рубли", u"RUR");
    const std::uint32_t account = file.Account(u"Кошелёк", currency);
    file.List(OldFileBuilder::kFirstCurrency, {currency}, 0);
    file.List(OldFileBuilder::kFirstAccount, {account}, 0);
    file.Put32(OldFileBuilder::kIncomeRoot, file.Category(u"Доходы"));
    file.Put32(OldFileBuilder::kExpenseRoot, file.Category(u"Расходы"));
    const std::size_t count = 5000;
    std::vector<std::uint32_t> transactions;
    for (std::size_t i = 0; i < count; ++i)
        transactions.push_back(file.Transaction(OldFileBuilder::Single{
            .when = OldFileSample::Ole(2020, 1, 1, 0.5), .account = account, .amount = 1, .balance = 1}));
    // Two at the last millisecond of a day: the second one goes round to the first.
    const double lastMillisecond = OldFileSample::Ole(2020, 1, 2, 86399999.0 / 86400000);
    for (int i = 0; i < 2; ++i)
        transactions.push_back(file.Transaction(
            OldFileBuilder::Single{.when = lastMillisecond, .account = account, .amount = 1, .balance = 1}));
    file.Put32(OldFileBuilder::kTransactionRoot, transactions.front());
    file.List(0, transactions, 92);
    file.Put32(0, 0);

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Open(file.Bytes()), Result::kOk);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    const auto& converted = db.Transactions().Live();
    ASSERT_EQ(converted.size(), count + 2);
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(converted[i]->Record().time, 43200000 + static_cast<std::int32_t>(i)) << i;
    EXPECT_EQ(converted[count]->Record().time, 86399999);
    EXPECT_EQ(converted[count + 1]->Record().time, 0);
}

TEST_F(PreviousGenerationFile, ProgressCountsTheBytesOfTheRecords)
{
    const OldFileSample sample;
    Database::PreviousGeneration::AOldData data;
    Engine::AProgress progress;
    std::vector<int> reported;
    progress.Attach([&](int percent) { reported.push_back(percent); });
    ASSERT_EQ(Database::PreviousGeneration::ParseOldFile(sample.Bytes(), 1251, data, &progress), Result::kOk);
    // Every block of the sample is used and read once; the header block is not counted.
    const auto& bytes = sample.Bytes();
    ASSERT_GT(bytes.size(), OldFileBuilder::kPage);  // the sample spans more than one page
    std::uint64_t blocks = 0;
    for (std::uint32_t page = 0; page < bytes.size(); page += OldFileBuilder::kPage)
        for (std::uint32_t header = page + 4; header != 0; header = sample.file.Get32(header))
            blocks += bytes[header + 8] | bytes[header + 9] << 8;
    EXPECT_EQ(data.progressTotal, blocks - 64);
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 100);
}
