// Bank statements through the import wizard as the user sees it: the account page, the review
// of the lines with a category changed by hand, what was saved against the file, the same
// statement a second time adding nothing, and an account in another currency refused.
#include "WizardExchangeSupport.h"

#include "UiTestSupport.h"
#include "core/TempFolder.h"
#include "exchange/statements/CsvProfiles.h"
#include "ui/exchange/ImportWizard.h"
#include "win32api/ReportPicker.h"

using namespace UserInterface;
using namespace ExchangeWizardTest;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

// The steps of the import wizard, as a statement passes them.
enum { kModulePage, kReadPage, kErrorsPage, kAccountPage, kReviewPage, kReadyPage, kSavePage };
constexpr int kOfxRow = 2, kCsvRow = 5;

const std::string kStatement = "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX><STMTRS><CURDEF>RUB<BANKACCTFROM><ACCTID>40817"
                               "</BANKACCTFROM><BANKTRANLIST>"
                               "<STMTTRN><DTPOSTED>20240105<TRNAMT>-150.25<FITID>A1<NAME>Булочная</STMTTRN>"
                               "<STMTTRN><DTPOSTED>20240110<TRNAMT>2000<FITID>A2<NAME>Зарплата</STMTTRN>"
                               "</BANKTRANLIST></STMTRS></OFX>";

class StatementImportWizard : public ::testing::Test {
protected:
    StatementImportWizard()
    {
        UiTests::TestApplication();
        books.Step([&] { bread = books.AddCategory(u"Хлеб", books.expenseRoot); });
        WriteTextFile(test.Path("in.ofx"), kStatement);
    }
    // Module `row` and `file`, then Next to the account page and there `account` chosen.
    void ToAccount(AWizard& wizard, AWizardDriver& driver, int row, const std::string& file, const std::u16string& account)
    {
        driver.ChooseModule("Модуль импорта:", row);
        driver.TypeFile(test.Path(file));
        driver.Next();
        driver.Next();
        ASSERT_EQ(wizard.CurrentStep(), kAccountPage);
        UiTests::PickText(wizard, "Счёт файла данных:", account);
        driver.Next();
    }
    std::u16string Cash() { return std::u16string(books.db.Text(books.db.Accounts().Record(books.cash)->name)); }
    std::u16string Shown(QWidget& wizard, const QString& name)
    {
        auto* picker = UiTests::Named<AReportPicker>(wizard, name);
        return picker && picker->SelectedItem() ? picker->SelectedItem()->SingleText() : std::u16string();
    }
    std::vector<ATransaction> Transactions()
    {
        std::vector<ATransaction> all;
        for (const auto* slot : books.db.Transactions().Live())
            all.push_back(slot->Record());
        return all;
    }

    UiTests::ATestProgram test;
    TExchangeBooks books;
    AReference<ACategory> bread;
};

TEST_F(StatementImportWizard, TheStatementGoesIntoTheChosenAccountWithTheCategoryGivenAndOnlyOnce)
{
    const std::size_t before = books.db.Transactions().LiveCount();
    struct ACase {
        const char* what;
        bool chooseAccount;  // the second time the account is the one remembered
        const char* counts;
        std::size_t added;
    };
    for (const ACase& c : {ACase{"the first time", true, "Новых строк: 2; пропущено как уже имеющиеся в файле: 0.", 2},
                           ACase{"the second time", false, "Новых строк: 0; пропущено как уже имеющиеся в файле: 2.", 0}}) {
        SCOPED_TRACE(c.what);
        Exchange::AImportWizard wizard(test.context, books.db, test.folder.Path());
        AWizardDriver driver(wizard);
        driver.ChooseModule("Модуль импорта:", kOfxRow);
        driver.TypeFile(test.Path("in.ofx"));
        driver.Next();
        ASSERT_EQ(wizard.CurrentStep(), kReadPage);
        EXPECT_TRUE(driver.Texts().contains("Данные успешно прочитаны.")) << driver.Texts().toStdString();
        driver.Next();
        ASSERT_EQ(wizard.CurrentStep(), kAccountPage);
        EXPECT_TRUE(driver.Texts().contains("Счёт в банке: 40817; валюта: RUB; строк в выписке: 2."));
        if (c.chooseAccount)
            UiTests::PickText(wizard, "Счёт файла данных:", Cash());
        EXPECT_EQ(Shown(wizard, "Счёт файла данных:"), Cash());
        driver.Next();
        ASSERT_EQ(wizard.CurrentStep(), kReviewPage);
        EXPECT_TRUE(driver.Texts().contains(c.counts)) << driver.Texts().toStdString();
        auto* lines = UiTests::Named<AReportWindow>(wizard, "Строки выписки");
        ASSERT_EQ(lines->Model().RowCount(), 2);
        EXPECT_EQ(lines->Model().Row(1)->Text(4),
                  c.added ? u"Будет добавлена" : u"Пропущена: в файле есть такая сумма в пределах трёх дней");
        if (c.added) {
            UiTests::FocusRow(lines, 0);
            UiTests::PickText(wizard, "Статья выбранной строки:", u"Хлеб");
            const auto* first = lines->Model().Row(0);
            EXPECT_EQ(first->Text(2) + u"|" + first->Text(3) + u"|" + first->Text(4), u"Булочная|Хлеб|Будет добавлена");
            driver.Next();
            EXPECT_EQ(wizard.CurrentStep(), kReadyPage);
            driver.Next();
            EXPECT_TRUE(driver.Texts().contains("Импорт данных завершен.")) << driver.Texts().toStdString();
        }
        driver.Finish();
        EXPECT_EQ(books.db.Transactions().LiveCount(), before + 2);
    }
    const std::vector<ATransaction> all = Transactions();
    struct AExpected {
        ADate date;
        AMoney amount;
        std::u16string comment;
        std::size_t categories;
    };
    const AExpected expected[] = {{Dates::FromYmd(2024, 1, 5), -1'502'500, u"Булочная", 1},
                                  {Dates::FromYmd(2024, 1, 10), 20'000'000, u"Зарплата", 0}};
    for (std::size_t i = 0; i < 2; ++i) {
        const ATransaction& t = all[before + i];
        EXPECT_EQ(t.account1, books.cash);
        EXPECT_EQ(t.date, expected[i].date);
        EXPECT_EQ(t.amount1, expected[i].amount);
        EXPECT_EQ(books.db.Text(t.comment), expected[i].comment);
    }
    std::size_t breadLinks = 0;
    for (const auto* relation : books.db.Relations().Live())
        breadLinks += relation->Record().category == bread;
    EXPECT_EQ(breadLinks, 1u);
    EXPECT_EQ(books.db.UndoLabel(), u"Импорт данных");
}

TEST_F(StatementImportWizard, ADamagedStatementIsToldOnTheMessagesPageAndOnlyItsGoodLinesAreOffered)
{
    struct ACase {
        const char* what;
        int row;
        std::string bytes;
        const char* message;  // the first on the messages page
        bool linesOffered;
    };
    const ACase cases[] = {
        {"an amount that does not read", kOfxRow,
         "OFXHEADER:100\n\n<OFX><STMTRS><CURDEF>RUB<BANKTRANLIST><STMTTRN><DTPOSTED>20240105<TRNAMT>1,2,3<NAME>x"
         "</STMTTRN><STMTTRN><DTPOSTED>20240106<TRNAMT>5<NAME>y</STMTTRN></BANKTRANLIST></STMTRS></OFX>",
         "Сумма не читается (строка 3, TRNAMT).", true},
        {"random bytes", kOfxRow, "\x01\x02garbage\xFF", "Файл не является выпиской этого формата", false},
        {"a CSV statement without a profile", kCsvRow, "05.01.2024;1\n", "Не задан профиль выписки CSV", false},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTextFile(test.Path("damaged"), c.bytes);
        const std::string before = DocumentOf(books.db);
        Exchange::AImportWizard wizard(test.context, books.db, test.folder.Path());
        AWizardDriver driver(wizard);
        driver.ChooseModule("Модуль импорта:", c.row);
        driver.TypeFile(test.Path("damaged"));
        driver.Next();
        EXPECT_TRUE(driver.Texts().contains("Возникли ошибки при чтении данных."));
        driver.Next();
        ASSERT_EQ(wizard.CurrentStep(), kErrorsPage);
        EXPECT_TRUE(driver.Texts().contains(c.message)) << driver.Texts().toStdString();
        EXPECT_EQ(wizard.IsButtonEnabled(AWizard::kNext), c.linesOffered);
        driver.Finish();
        EXPECT_EQ(DocumentOf(books.db), before);
    }
}

TEST_F(StatementImportWizard, AnAccountInAnotherCurrencyIsRefusedBeforeAnythingIsSaved)
{
    const std::string before = DocumentOf(books.db);
    Exchange::AImportWizard wizard(test.context, books.db, test.folder.Path());
    AWizardDriver driver(wizard);
    ToAccount(wizard, driver, kOfxRow, "in.ofx", u"Карта");
    EXPECT_EQ(wizard.CurrentStep(), kAccountPage);
    EXPECT_EQ(test.dialogs.messages,
              std::vector<std::u16string>{u"Выписка составлена в валюте RUB, а счёт \"Карта\" ведётся в валюте USD.\r\n\r\n"
                                          u"Пожалуйста, выберите счёт в валюте выписки. Ничего не сохранено."});
    EXPECT_EQ(DocumentOf(books.db), before);
}

TEST_F(StatementImportWizard, ARuleWrittenFromTheReviewPageGivesItsCategoryToTheLinesItMatches)
{
    Exchange::AImportWizard wizard(test.context, books.db, test.folder.Path());
    AWizardDriver driver(wizard);
    ToAccount(wizard, driver, kOfxRow, "in.ofx", Cash());
    ASSERT_EQ(wizard.CurrentStep(), kReviewPage);
    UiTests::OnModal(test, [&](QDialog& dialog) {
        EXPECT_EQ(UiTests::UnnamedControls(dialog), std::vector<std::string>());
        UiTests::ClickNamed(dialog, "Добавить правило");  // no text yet: refused
        UiTests::TypeInto(dialog, "Текст содержит:", "булоч");
        UiTests::PickText(dialog, "Статья:", u"Хлеб");
        UiTests::ClickNamed(dialog, "Добавить правило");
        UiTests::ClickNamed(dialog, "OK");
    });
    driver.Click("Правила...");
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_TRUE(test.dialogs.messages[0].starts_with(u"Не указан текст правила."));
    auto* lines = UiTests::Named<AReportWindow>(wizard, "Строки выписки");
    EXPECT_EQ(lines->Model().Row(0)->Text(3), u"Хлеб");
    EXPECT_EQ(lines->Model().Row(1)->Text(3), u"");
}

TEST_F(StatementImportWizard, ACsvStatementIsReadWithTheProfileMadeInTheModuleSettings)
{
    // A BOM, a quoted separator, money out and in in columns of their own.
    WriteTextFile(test.Path("in.csv"), "\xEF\xBB\xBFДата;Текст;Расход;Приход;Номер\n"
                                       "05.01.2024;\"Магазин; у дома\";12,50;;R1\n06.01.2024;Зарплата;;50000;R2\n");
    Exchange::AImportWizard wizard(test.context, books.db, test.folder.Path());
    AWizardDriver driver(wizard);
    driver.ChooseModule("Модуль импорта:", kCsvRow);
    driver.TypeFile(test.Path("in.csv"));
    std::vector<std::u16string> preview;
    UiTests::OnModal(test, [&](QDialog& dialog) {
        EXPECT_EQ(UiTests::UnnamedControls(dialog), std::vector<std::string>());
        UiTests::TypeInto(dialog, "Название профиля:", "Мой банк");
        struct AField {
            const char* name;
            const char* text;
        };
        for (const AField& field : {AField{"Дата:", "0"}, AField{"Списание:", "3"}, AField{"Зачисление:", "4"},
                                    AField{"Получатель:", "2"}, AField{"Ссылка банка:", "5"}})
            UiTests::TypeInto(dialog, field.name, field.text);
        UiTests::ClickNamed(dialog, "OK");  // column 0 is refused
        EXPECT_TRUE(dialog.isVisible());
        UiTests::TypeInto(dialog, "Дата:", "1");
        auto* list = UiTests::Named<AReportWindow>(dialog, "Первые строки файла с этими настройками");
        for (int row = 0; list && row < list->Model().RowCount(); ++row)
            preview.push_back(list->Model().Row(row)->Text(1) + u" " + list->Model().Row(row)->Text(2));
        UiTests::ClickNamed(dialog, "OK");
    });
    driver.Click("Настройки");
    EXPECT_EQ(test.dialogs.modalCount, 1);
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_TRUE(test.dialogs.messages[0].starts_with(u"Столбец \"Дата\" указан неверно."));
    EXPECT_EQ(preview, (std::vector<std::u16string>{u"-12,50 Магазин; у дома", u"50 000,00 Зарплата"}));

    const std::size_t before = books.db.Transactions().LiveCount();
    ToAccount(wizard, driver, kCsvRow, "in.csv", Cash());
    ASSERT_EQ(wizard.CurrentStep(), kReviewPage);
    driver.Next();
    driver.Next();
    driver.Finish();
    ASSERT_EQ(books.db.Transactions().LiveCount(), before + 2);
    const std::vector<ATransaction> all = Transactions();
    EXPECT_EQ(all[before].amount1, -125'000);
    EXPECT_EQ(books.db.Text(all[before].comment), u"Магазин; у дома");
    EXPECT_EQ(all[before + 1].amount1, 500'000'000);

    // A profile removed is gone only once OK is pressed.
    for (const auto& [button, left] : {std::pair{"Отмена", u"Мой банк"}, std::pair{"OK", u"Другой"}}) {
        Exchange::AImportWizard again(test.context, books.db, test.folder.Path());
        AWizardDriver next(again);
        next.ChooseModule("Модуль импорта:", kCsvRow);
        UiTests::OnModal(test, [&, button = button](QDialog& dialog) {
            UiTests::ClickNamed(dialog, "Удалить профиль");
            UiTests::TypeInto(dialog, "Название профиля:", "Другой");
            UiTests::TypeInto(dialog, "Сумма:", "2");
            UiTests::ClickNamed(dialog, button);
        });
        next.Click("Настройки");
        const ExportImport::Statements::ACsvProfiles kept(test.context.Options().Store());
        ASSERT_EQ(kept.All().size(), 1u) << button;
        EXPECT_EQ(kept.All()[0].name, std::u16string(left)) << button;
    }
}

}  // namespace
