// The rate download wizard driven through its window, with the test rate source against a
// local server.
#include "UiTestSupport.h"

#include "rates/LocalHttpServer.h"
#include "rates/RatesTestSupport.h"

#include "core/CodePage.h"
#include "database/Lookups.h"
#include "ui/currencies/DownloadWizard.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <chrono>

using namespace UserInterface;
using namespace Database;

namespace {

class DownloadWizard : public ::testing::Test {
protected:
    DownloadWizard()
    {
        db.CreateDefaults();
        wizard = std::make_unique<Currencies::ADownloadCRImpl>(test.context, db, FENDRAL_PLUGIN_DIR);
        wizard->show();
        QApplication::processEvents();
        // Step 1: the test source, whatever else lies beside the program.
        auto* sources = UiTests::Named(*wizard, "Источник данных:");
        sources->setFocus();
        QTest::keyClick(sources, Qt::Key_Home);
        for (int i = 0; i < 5 && UiTests::Named<QLineEdit>(*wizard, "Автор библиотеки загрузки:")->text() != "Fendral tests"; ++i)
            QTest::keyClick(sources, Qt::Key_Down);
    }
    void Press(const char* button) { UiTests::ClickNamed(*wizard, button); }
    // The server answers this month's request as `damage` makes it; the wizard goes on to
    // its download step.
    void StartTheDownload(const std::function<void(AHttpAnswer&)>& damage)
    {
        AHttpAnswer answer{200, "EUR;Euro;100;1\n"};
        damage(answer);
        server.Answer("/rates/2025-03-01", answer);
        Press("Далее >>");
        Press("Далее >>");
    }
    // Waits, answering events as the window would, until `done` or 20 seconds have passed.
    bool Until(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    ALocalHttpServer server;
    RatesTest::AScopedEnv host{"FENDRAL_TEST_RATES_HOST", server.Host()};
    UiTests::ATestProgram test;
    ADatabase db;
    std::unique_ptr<Currencies::ADownloadCRImpl> wizard;
};

TEST_F(DownloadWizard, TheTickedCurrenciesAndTheirRatesAreWrittenInOneStep)
{
    std::string text;
    ASSERT_TRUE(UtilityClasses::Strings::Utf16ToMultiByte(u"USD;Доллар США;90;1\nEUR;Евро;100;1\n", 1251, text));
    server.Answer("/rates/2025-03-01", {200, text});
    Press("Далее >>");
    EXPECT_EQ(wizard->CurrentStep(), 1);
    Press("Далее >>");
    ASSERT_TRUE(Until([&] { return wizard->IsButtonEnabled(AWizard::kNext); }));
    Press("Далее >>");
    auto* list = UiTests::Named<Win32API::VelvixControls::Reports::AReportWindow>(
        *wizard, "Выберите, какие валюты и курсы должны быть добавлены в файл данных.");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Model().RowCount(), 2);
    UiTests::FocusRow(list, 0);
    QTest::keyClick(list, Qt::Key_Space);  // USD
    Press("Завершить");
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_NE(CurrencyByCode(db, u"USD"), nullptr);
    EXPECT_EQ(CurrencyByCode(db, u"EUR"), nullptr);
    EXPECT_EQ(db.RateValues().LiveCount(), 1u);
    EXPECT_EQ(db.UndoLabel(), u"Загрузка валют");
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(CurrencyByCode(db, u"USD"), nullptr);
}

TEST_F(DownloadWizard, CancelDuringASlowDownloadReturnsAtOnceAndWritesNothing)
{
    StartTheDownload([](AHttpAnswer& answer) { answer.hang = true; });
    EXPECT_FALSE(wizard->IsButtonEnabled(AWizard::kNext));
    const auto started = std::chrono::steady_clock::now();
    Press("Отмена");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(CurrencyByCode(db, u"EUR"), nullptr);
    EXPECT_FALSE(db.UndoLabel());
}

TEST_F(DownloadWizard, AServerThatHangsUpMidAnswerIsCountedAndLeavesAnEmptyChoice)
{
    StartTheDownload([](AHttpAnswer& answer) { answer.closeMidBody = true; });
    ASSERT_TRUE(Until([&] { return wizard->IsButtonEnabled(AWizard::kNext); }));
    QStringList shown;
    for (const QLabel* label : wizard->findChildren<QLabel*>())
        if (label->isVisible())
            shown.append(label->text());
    EXPECT_TRUE(shown.contains(QStringLiteral("Данные загружены. 0 / 1"))) << shown.join('|').toStdString();
    Press("Далее >>");
    auto* list = UiTests::Named<Win32API::VelvixControls::Reports::AReportWindow>(
        *wizard, "Выберите, какие валюты и курсы должны быть добавлены в файл данных.");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Model().RowCount(), 0);
}

}  // namespace

TEST(DownloadWizardWithoutSources, SaysWhereTheSourcesGoAndKeepsNextDisabled)
{
    UiTests::ATestProgram test;
    ADatabase db;
    db.CreateDefaults();
    Currencies::ADownloadCRImpl wizard(test.context, db, test.folder.Path());
    wizard.show();
    QApplication::processEvents();
    EXPECT_FALSE(wizard.IsButtonEnabled(AWizard::kNext));
    bool named = false;
    for (const QLabel* label : wizard.findChildren<QLabel*>())
        named |= label->isVisible() && label->text().contains(QString::fromStdString(test.folder.Path()));
    EXPECT_TRUE(named);
}
