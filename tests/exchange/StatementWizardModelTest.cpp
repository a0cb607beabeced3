// The statement side of the import wizard without its windows: mappings kept as named
// profiles, a statement read through its module into a chosen account, the account
// remembered for the bank account, a statement in another currency refused, and the same
// statement twice adding nothing.
#include "ModuleTestSupport.h"
#include "core/TempFolder.h"
#include "database/RulesTestSupport.h"

#include "core/CodePage.h"
#include "core/SettingsBlobs.h"
#include "database/DataFileSettings.h"
#include "exchange/import/ImportSources.h"
#include "exchange/statements/CategoryRules.h"
#include "exchange/statements/CsvMappingFields.h"
#include "exchange/statements/CsvProfiles.h"
#include "exchange/statements/StatementModules.h"
#include "exchange/statements/StatementWizardModel.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace ExportImport;
using namespace ExportImport::Statements;
using namespace RulesTest;

TEST(CsvProfiles, MappingsReadBackFromTheirTextAndProfilesFromTheSettings)
{
    ACsvMapping semicolons;
    semicolons.amount = 3;
    semicolons.reference = 4;
    ACsvMapping tabs;
    tabs.debit = 2;
    tabs.credit = 3;
    tabs.payee = 1;
    tabs.separator = '\t';
    tabs.decimal = '.';
    tabs.dateForm = ADateForm::YearMonthDay;
    tabs.codePage = 1251;
    tabs.skipLines = 0;
    ACsvMapping quotes = semicolons;
    quotes.separator = '"';
    for (const ACsvMapping& mapping : {semicolons, tabs, quotes})
        EXPECT_EQ(ParseCsvMapping(CsvMappingText(mapping)), mapping) << CsvMappingText(mapping);

    ModuleTest::TMemoryOptionStore store;
    {
        ACsvProfiles profiles(store);
        EXPECT_EQ(profiles.Current(), nullptr);
        struct ACase {
            std::u16string name;
            AProfileNameRefusal refusal;
        };
        for (const ACase& c : {ACase{u"  ", AProfileNameRefusal::Empty}, ACase{std::u16string(61, u'я'), AProfileNameRefusal::TooLong},
                               ACase{u"Банк\tдва", AProfileNameRefusal::BadCharacter}, ACase{u" Сбербанк ", AProfileNameRefusal::None},
                               ACase{u"Tinkoff", AProfileNameRefusal::None}})
            EXPECT_EQ(profiles.Save(c.name, semicolons), c.refusal);
        EXPECT_EQ(profiles.Save(u"Сбербанк", tabs), AProfileNameRefusal::None);  // replaces, and is current
        profiles.Remove(u"Tinkoff");
        profiles.Save(u"Альфа", quotes);
        profiles.SetCurrent(u"Сбербанк");
    }
    const ACsvProfiles again(store);
    ASSERT_EQ(again.All().size(), 2u);
    EXPECT_EQ(again.All()[0].name, u"Сбербанк");
    EXPECT_EQ(again.All()[0].mapping, tabs);
    EXPECT_EQ(again.All()[1].mapping, quotes);
    ASSERT_NE(again.Current(), nullptr);
    EXPECT_EQ(again.Current()->name, u"Сбербанк");
    EXPECT_EQ(store.strings.count("StatementCsvProfile3"), 0u);
}

TEST(CsvProfiles, TheWindowsFieldsMakeAMappingOrSayWhichFieldIsWrong)
{
    ACsvMapping tabs;
    tabs.debit = 2;
    tabs.credit = 3;
    tabs.separator = '\t';
    tabs.dateForm = ADateForm::MonthDayYear;
    EXPECT_EQ(MappingOf(FieldsOf(tabs)).mapping, tabs);
    EXPECT_EQ(FieldsOf(tabs).columns[ACsvMappingFields::kDebit], u"3");

    struct ACase {
        const char* what;
        std::function<void(ACsvMappingFields&)> edit;
        AMappingRefusal refusal;
        int column;
    };
    const ACase cases[] = {
        {"as they are", [](ACsvMappingFields&) {}, AMappingRefusal::None, -1},
        {"column 0", [](ACsvMappingFields& f) { f.columns[ACsvMappingFields::kPayee] = u"0"; }, AMappingRefusal::BadColumn,
         ACsvMappingFields::kPayee},
        {"a word", [](ACsvMappingFields& f) { f.columns[ACsvMappingFields::kMemo] = u"два"; }, AMappingRefusal::BadColumn,
         ACsvMappingFields::kMemo},
        {"no date", [](ACsvMappingFields& f) { f.columns[ACsvMappingFields::kDate] = u" "; }, AMappingRefusal::NoDate, -1},
        {"debit alone", [](ACsvMappingFields& f) { f.columns[ACsvMappingFields::kCredit].clear(); },
         AMappingRefusal::NoAmount, -1},
        {"two-letter separator", [](ACsvMappingFields& f) { f.separator = u";;"; }, AMappingRefusal::BadSeparator, -1},
        {"separator as decimal", [](ACsvMappingFields& f) { f.separator = u","; }, AMappingRefusal::BadSeparator, -1},
        {"decimal", [](ACsvMappingFields& f) { f.decimal = u"-"; }, AMappingRefusal::BadDecimal, -1},
        {"header lines", [](ACsvMappingFields& f) { f.skip = u"300"; }, AMappingRefusal::BadSkip, -1},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.what);
        ACsvMappingFields fields = FieldsOf(tabs);
        c.edit(fields);
        const AMappingCheck check = MappingOf(fields);
        EXPECT_EQ(check.refusal, c.refusal);
        EXPECT_EQ(check.column, c.column);
    }

    // The preview stops after the lines asked for, counting from the header.
    ACsvMapping plain;
    plain.amount = 1;
    const std::string file = "Date;Amount\n01.02.2024;1\n02.02.2024;2\n03.02.2024;x\n";
    EXPECT_EQ(PreviewCsv(file, plain, 2).statement.lines.size(), 2u);
    EXPECT_TRUE(PreviewCsv(file, plain, 2).Ok());
    EXPECT_FALSE(PreviewCsv(file, plain, 3).Ok());
}

class StatementWizardModel : public ::testing::Test {
protected:
    StatementWizardModel()
    {
        books.Step([&] {
            usd = books.AddAccount(u"Доллары", books.AddCurrency(u"USD"));
            books.AddAccount(u"Карта", books.rur);
        });
        for (std::size_t i = 0; i < source->Count(); ++i)
            if (StatementFormatOf(source->Item(i).Module()->GetId()) == AStatementFormat::Ofx)
                ofx = source->Item(i).Module();
    }
    // Reads `body` as an OFX statement of account 40817 in `currency`.
    void Read(const std::string& currency, const std::string& body)
    {
        WriteTextFile(folder / "in.ofx", "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX><STMTRS><CURDEF>" + currency +
                                             "<BANKACCTFROM><ACCTID>408-17</BANKACCTFROM><BANKTRANLIST>" + body +
                                             "</BANKTRANLIST></STMTRS></OFX>");
        ASSERT_NE(ofx, nullptr);
        ASSERT_TRUE(model.Read(*ofx, AStatementFormat::Ofx,
                               UtilityClasses::Strings::Utf8ToUtf16(folder / "in.ofx"), {}));
    }

    TBooks books;
    Database::AReference<Database::AAccount> usd;
    ATempFolder folder;
    ModuleTest::TMemoryOptionStore store;
    UtilityClasses::Strings::AStrings strings{UtilityClasses::Strings::RussianLocale()};
    AModuleSession session{strings, store};
    std::unique_ptr<Private::AImportSource> source = CreateImportSource(session, "");
    AImportInterface* ofx = nullptr;
    AStatementWizardModel model{books.db, session};
};

const std::string kTwoLines = "<STMTTRN><DTPOSTED>20240105<TRNAMT>-150.00<FITID>A1<NAME>Булочная</STMTTRN>"
                              "<STMTTRN><DTPOSTED>20240106<TRNAMT>2000<FITID>A2<NAME>Зарплата</STMTTRN>";

TEST_F(StatementWizardModel, TheAccountIsCheckedRememberedAndTheSameStatementAddsNothingTwice)
{
    Read("RUB", kTwoLines);
    EXPECT_TRUE(session.Clean());
    EXPECT_EQ(model.RememberedAccount(), Database::AReference<Database::AAccount>());
    EXPECT_EQ(model.Refusal({}), AAccountRefusal::NoAccount);
    EXPECT_EQ(model.Refusal(usd), AAccountRefusal::OtherCurrency);
    EXPECT_EQ(model.Refusal(books.cash), AAccountRefusal::None);  // RUB and RUR are one currency

    const std::size_t before = books.db.Transactions().LiveCount();
    model.Plan(books.cash);
    ASSERT_EQ(model.Planned().NewCount(), 2u);
    // The user gives the first line a category and takes it away from none.
    Database::AReference<Database::ACategory> food;
    books.Step([&] { food = books.AddCategory(u"Хлеб", books.expenseRoot); });
    const auto articles = Engine::ATableImpl<Database::AClassifier>::RefTo(books.db.Classifiers().Live().front());
    model.SetCategory(0, articles, food);
    EXPECT_EQ(model.CategoryOf(0, articles), food);
    ASSERT_TRUE(model.Save());
    EXPECT_EQ(books.db.Transactions().LiveCount(), before + 2);
    EXPECT_EQ(books.db.Relations().LiveCount(), 1u);
    EXPECT_EQ(UserInterface::Settings::LoadLibraryGuid(store, UserInterface::Settings::ALibraryUse::Import),
              ToGuid(*ofx->GetId()));

    // The next statement of the bank account goes where this one went, and adds only what is new.
    Read("RUB", kTwoLines + "<STMTTRN><DTPOSTED>20240107<TRNAMT>-5<NAME>Кафе</STMTTRN>");
    EXPECT_EQ(model.RememberedAccount(), books.cash);
    model.Plan(books.cash);
    EXPECT_EQ(model.Planned().duplicates, 2u);
    EXPECT_EQ(model.Planned().lines[0].reason, ADuplicateReason::NearbyTransaction);
    // The file has no reference comment yet; with one captioned so, references are kept and compared.
    EXPECT_FALSE(model.Options().referenceComment);
    Database::ADataFileSwitches switches = Database::SwitchesOf(books.db);
    switches.extraComments[2] = true;
    switches.captions[2] = u"Ссылка  банка";
    ASSERT_TRUE(Database::ChangeDataFileSwitches(books.db, switches, u"settings"));
    EXPECT_EQ(ReferenceCommentOf(books.db), 2);
}

TEST_F(StatementWizardModel, AStatementWithALineInAnotherCurrencyIsRefused)
{
    ACsvMapping mapping;
    mapping.amount = 1;
    mapping.currency = 2;
    mapping.skipLines = 0;
    const AStatementRead read = ReadStatement(AStatementFormat::Csv, "05.01.2024;10;RUB\n06.01.2024;5;USD\n", {false, mapping});
    ASSERT_EQ(read.statement.lines.size(), 2u);
    EXPECT_FALSE(StatementFitsAccount(read.statement, "RUR"));
    EXPECT_EQ(ForeignCurrency(read.statement, "RUR"), "USD");
    EXPECT_TRUE(StatementFitsAccount(AStatement{"", "", {read.statement.lines[0]}}, "RUR"));
}

TEST_F(StatementWizardModel, TheUsersRulesComeBeforeTheHistoryAndFollowTheCategoriesByName)
{
    Database::AReference<Database::ACategory> food, bread, salary;
    books.Step([&] {
        food = books.AddCategory(u"Еда", books.expenseRoot);
        bread = books.AddCategory(u"Хлеб", food);
        salary = books.AddCategory(u"Зарплата", books.incomeRoot);
        // The history gives the baker's "Еда".
        ATransaction t = TBooks::Single(books.cash, -10'000, Dates::FromYmd(2023, 12, 1));
        t.comment = books.db.NewText(u"Булочная");
        books.db.Relations().Create(
            Database::ARelation{food, Engine::ATableImpl<ATransaction>::RefTo(books.db.Transactions().Create(t))});
    });
    EXPECT_EQ(CategoryNamed(books.db, NameOf(books.db, bread)), bread);
    const ACategoryName gone{NameOf(books.db, bread).classifier, u"Расход\\Нет такой"};
    {
        ACategoryRules rules(store);
        rules.Set({{u"булоч", {NameOf(books.db, bread)}},
                   {u"", {NameOf(books.db, salary)}},          // no text: left out
                   {u"аванс", {gone}},                          // kept, passed by in this file
                   {u"аванс", {NameOf(books.db, salary)}}});
    }
    const ACategoryRules rules(store);
    ASSERT_EQ(rules.All().size(), 3u);
    EXPECT_EQ(rules.Resolve(books.db).size(), 2u);

    Read("RUB", "<STMTTRN><DTPOSTED>20240105<TRNAMT>-1<NAME>БУЛОЧНАЯ</STMTTRN>"
                "<STMTTRN><DTPOSTED>20240106<TRNAMT>5<NAME>Аванс за январь</STMTTRN>");
    model.Plan(books.cash);
    const auto categories = [&](std::size_t line) { return model.Planned().lines[line].categories; };
    EXPECT_EQ(categories(0), (std::vector<Database::AReference<Database::ACategory>>{bread}));
    EXPECT_EQ(categories(1), (std::vector<Database::AReference<Database::ACategory>>{salary}));
    ACategoryRules(store).Set({});
    model.Plan(books.cash);
    EXPECT_EQ(categories(0), (std::vector<Database::AReference<Database::ACategory>>{food}));
}

}  // namespace
