// The export wizard driven through its pages: which pages Next visits, what the run wrote,
// the refusals and the messages of a failed run.
#include "WizardExchangeSupport.h"

#include "ui/exchange/ExportWizard.h"

#include <QLineEdit>

#include <filesystem>
#include "win32api/DateCtrl.h"
#include <fstream>

using namespace UserInterface;
using namespace ExchangeWizardTest;

namespace {

constexpr int kKinds = 524, kDates = 532, kAccounts = 536, kReady = 538, kOverwrite = 756, kRun = 780, kErrors = 549;

class ExportWizard : public ::testing::Test {
protected:
    ExportWizard() { UiTests::TestApplication(); }
    std::unique_ptr<Exchange::AExportWizard> Open()
    {
        return std::make_unique<Exchange::AExportWizard>(test.context, books.db, test.folder.Path());
    }
    // Unticks every classifier of the kinds page.
    static void UntickClassifiers(QWidget& wizard)
    {
        auto* list = UiTests::Named<AReportWindow>(wizard, "Классификаторы:");
        ASSERT_NE(list, nullptr);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int row = 0; row < list->Model().RowCount(); ++row) {
            QTest::keyClick(list, Qt::Key_Space);
            QTest::keyClick(list, Qt::Key_Down);
        }
    }

    UiTests::ATestProgram test;
    TExchangeBooks books;
};

TEST_F(ExportWizard, NextVisitsOnlyThePagesThatApplyAndTheRunWritesWhatWasChosen)
{
    struct ACase {
        const char* name;
        bool fileExists;
        std::vector<QString> untick;  // on the kinds page
        bool untickClassifiers;
        std::vector<int> titles;      // of the pages after the first
        std::vector<std::string> written, notWritten;
    };
    const ACase cases[] = {
        {"everything into a new file", false, {}, false, {kKinds, kDates, kAccounts, kReady, kRun},
         {"<currencies>", "<accounts>", "<classifiers>", "<transactions>"}, {}},
        {"an existing file asks first", true, {}, false, {kOverwrite, kKinds, kDates, kAccounts, kReady, kRun},
         {"<transactions>"}, {"old"}},
        {"currencies only", false, {"Курсы валют", "Счета", "Операции"}, true, {kKinds, kReady, kRun},
         {"<currencies>", "<code>USD</code>"}, {"<transactions", "<accounts", "<classifiers"}},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = test.Path(std::string(c.name) + ".xml");
        if (c.fileExists)
            std::ofstream(path) << "old";
        auto wizard = Open();
        AWizardDriver driver(*wizard);
        driver.ChooseModule("Модуль экспорта:", 0);
        driver.TypeFile(path);
        std::vector<int> titles;
        while (wizard->IsButtonEnabled(AWizard::kNext) && titles.size() < 10) {
            driver.Next();
            titles.push_back(driver.TitleId());
            if (driver.TitleId() == kKinds) {
                for (const QString& kind : c.untick)
                    driver.Click(kind);
                if (c.untickClassifiers)
                    UntickClassifiers(*wizard);
            }
        }
        EXPECT_EQ(titles, c.titles);
        EXPECT_TRUE(driver.Texts().contains("Данные успешно экспортированы.")) << driver.Texts().toStdString();
        EXPECT_TRUE(wizard->IsButtonEnabled(AWizard::kFinish));
        const std::string text = ReadTextFile(path);
        for (const std::string& part : c.written)
            EXPECT_NE(text.find(part), std::string::npos) << part;
        for (const std::string& part : c.notWritten)
            EXPECT_EQ(text.find(part), std::string::npos) << part;
        driver.Finish();
        EXPECT_FALSE(wizard->isVisible());
    }
}

TEST_F(ExportWizard, ThePeriodAndTheAccountsChooseTheTransactionsAndCancelWritesNothing)
{
    // 1 March +1000 and 2 March -250 on "Наличные", 3 March "Наличные" to "Карта".
    struct ACase {
        const char* name;
        int endDay;             // of the period that starts on 1 March; 0 leaves "Все операции"
        int untickedAccountRow; // in the account tree; 0 unticks none
        std::size_t transactions;
    };
    const ACase cases[] = {
        {"all", 0, 0, 3},
        {"the first two days of the month", 2, 0, 2},
        {"without the cash account its own transactions go", 0, 1, 1},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = test.Path(std::string(c.name) + ".xml");
        auto wizard = Open();
        AWizardDriver driver(*wizard);
        driver.ChooseModule("Модуль экспорта:", 0);
        driver.TypeFile(path);
        driver.Next();
        driver.Next();
        ASSERT_EQ(driver.TitleId(), kDates);
        if (c.endDay) {
            driver.Click("Операции за период (включительно):");
            auto* end = UiTests::Named<Win32API::VelvixControls::ADatePicker>(*wizard, "по:");
            ASSERT_NE(end, nullptr);
            end->SetDate(Dates::FromYmd(2025, 3, c.endDay));
        }
        driver.Next();
        ASSERT_EQ(driver.TitleId(), kAccounts);
        if (c.untickedAccountRow > 0) {
            auto* accounts = UiTests::Named<AReportWindow>(*wizard, "По каким счетам выгружать операции?");
            UiTests::FocusRow(accounts, c.untickedAccountRow);
            QTest::keyClick(accounts, Qt::Key_Space);
        }
        driver.Next();
        ASSERT_EQ(driver.TitleId(), kReady);
        driver.Next();
        const std::string text = ReadTextFile(path);
        std::size_t count = 0;
        for (std::size_t at = text.find("<transaction>"); at != std::string::npos; at = text.find("<transaction>", at + 1))
            ++count;
        EXPECT_EQ(count, c.transactions);
    }
    // Cancel on the ready page writes nothing.
    const std::string path = test.Path("cancelled.xml");
    auto wizard = Open();
    AWizardDriver driver(*wizard);
    driver.ChooseModule("Модуль экспорта:", 0);
    driver.TypeFile(path);
    for (int i = 0; i < 4; ++i)
        driver.Next();
    ASSERT_EQ(driver.TitleId(), kReady);
    driver.Click("Отмена");
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ExportWizard, NextRefusesAPageLeftIncompleteAndSaysWhy)
{
    struct ACase {
        const char* name;
        bool typeFile;
        std::vector<QString> untick;
        int stays;  // the page Next stays on
        const char16_t* message;
    };
    const ACase cases[] = {
        {"no file", false, {}, 519, u"Не указан файл для экспорта."},
        {"no kind", true, {"Валюты", "Курсы валют", "Счета", "Операции"}, kKinds, u"Не выбран ни один вид данных."},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.name);
        test.dialogs.messages.clear();
        auto wizard = Open();
        AWizardDriver driver(*wizard);
        driver.ChooseModule("Модуль экспорта:", 0);
        driver.TypeFile(c.typeFile ? test.Path("out.xml") : "");
        if (c.typeFile) {
            driver.Next();
            for (const QString& kind : c.untick)
                driver.Click(kind);
            UntickClassifiers(*wizard);
        }
        driver.Next();
        EXPECT_EQ(driver.TitleId(), c.stays);
        ASSERT_EQ(test.dialogs.messages.size(), 1u);
        EXPECT_EQ(test.dialogs.messages[0].rfind(c.message, 0), 0u);
    }
}

TEST_F(ExportWizard, BrowseOffersTheModulesExtensionAndFillsTheFileField)
{
    struct ACase {
        int row;
        const char* filter;  // the first one the file dialog offers
    };
    for (const ACase& c : {ACase{0, "Файл XML (*.xml);;"}, ACase{1, "Книга Microsoft Excel (*.xlsx);;"}}) {
        SCOPED_TRACE(c.filter);
        test.dialogs.fileDialogs.clear();
        test.dialogs.saveFile = test.Path("chosen");
        auto wizard = Open();
        AWizardDriver driver(*wizard);
        driver.ChooseModule("Модуль экспорта:", c.row);
        EXPECT_FALSE(UiTests::Named(*wizard, "Настройки")->isEnabled());  // the built-in modules have none
        driver.Click("Обзор...");
        ASSERT_EQ(test.dialogs.fileDialogs.size(), 1u);
        EXPECT_TRUE(test.dialogs.fileDialogs[0].filters.startsWith(QString::fromUtf8(c.filter)))
            << test.dialogs.fileDialogs[0].filters.toStdString();
        EXPECT_EQ(UiTests::Named<QLineEdit>(*wizard, "Файл:")->text().toStdString(), test.Path("chosen"));
    }
}

TEST_F(ExportWizard, AFailedRunListsItsMessageAndADoubleClickShowsItWhole)
{
    auto wizard = Open();
    AWizardDriver driver(*wizard);
    driver.ChooseModule("Модуль экспорта:", 0);
    driver.TypeFile(test.Path("no such folder/out.xml"));
    for (int i = 0; i < 5; ++i)
        driver.Next();
    EXPECT_EQ(driver.TitleId(), kRun);
    EXPECT_TRUE(driver.Texts().contains("Возникли ошибки при экспорте данных."));
    ASSERT_TRUE(wizard->IsButtonEnabled(AWizard::kNext));
    driver.Next();
    EXPECT_EQ(driver.TitleId(), kErrors);
    EXPECT_TRUE(driver.Texts().contains("Ошибок: 1, предупреждений: 0")) << driver.Texts().toStdString();
    auto* list = UiTests::Named<AReportWindow>(*wizard, "Обнаружены ошибки");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Model().RowCount(), 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(40, list->RowHeight() / 2));
    ASSERT_EQ(test.dialogs.messages.size(), 1u);
    EXPECT_EQ(test.dialogs.messages[0].rfind(u"Невозможно создать файл", 0), 0u);
    EXPECT_NE(test.dialogs.messages[0].find(u"no such folder"), std::u16string::npos);
}

}  // namespace
