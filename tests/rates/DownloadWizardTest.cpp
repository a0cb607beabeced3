// The download wizard's steps without windows: presets, when Next is allowed, the
// estimate, the step-4 list with its pre-ticks, and finishing.
#include "rates/LocalHttpServer.h"
#include "rates/RatesTestSupport.h"

#include "core/AStrings.h"
#include "core/CodePage.h"
#include "database/RulesTestSupport.h"
#include "rates/DownloadWizard.h"

namespace RatesTest {
namespace {

using RulesTest::TBooks;

std::string Cp1251(std::u16string_view text)
{
    std::string bytes;
    EXPECT_TRUE(UtilityClasses::Strings::Utf16ToMultiByte(text, 1251, bytes));
    return bytes;
}

class DownloadWizardTest : public ::testing::Test {
protected:
    std::unique_ptr<ARateDownloadWizard> MakeWizard(bool withSource = true)
    {
        std::vector<std::unique_ptr<ADataSourceItem>> sources;
        if (withSource)
            sources.push_back(LoadTestSource());
        return std::make_unique<ARateDownloadWizard>(books.db, strings, std::move(sources), [] {
            return Dates::ALocalTime{Day(2024, 3, 14), 0};
        });
    }
    void RunDownload(ARateDownloadWizard& wizard)
    {
        ASSERT_TRUE(wizard.StartDownload());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!wizard.DownloadDone() && std::chrono::steady_clock::now() < deadline) {
            wizard.WaitForNotices(std::chrono::milliseconds(50));
            wizard.Deliver(observer);
        }
        ASSERT_TRUE(wizard.CanLeaveDownload());
    }

    ALocalHttpServer server;
    AScopedEnv host{"FENDRAL_TEST_RATES_HOST", server.Host()};
    TBooks books;
    const UtilityClasses::Strings::AStrings strings{UtilityClasses::Strings::RussianLocale()};
    ARecordingObserver observer;
};

TEST_F(DownloadWizardTest, PresetsAndFirstSourceSelected)
{
    const auto wizard = MakeWizard();
    EXPECT_EQ(wizard->Selected(), 0);
    EXPECT_TRUE(wizard->CanLeaveSource());
    EXPECT_EQ(wizard->SelectedDetails().author, u"Fendral tests");
    EXPECT_FALSE(wizard->NamesOnly());
    EXPECT_TRUE(wizard->PeriodEnabled());
    EXPECT_EQ(wizard->From(), Day(2024, 3, 1));
    EXPECT_EQ(wizard->To(), Day(2024, 3, 14));
    EXPECT_EQ(wizard->Mode(), ASamplingMode::MonthStart);
    // 1 March is the one month start: one resource of the plug-in's 100 bytes.
    EXPECT_EQ(wizard->Estimate(), 100u);
    EXPECT_EQ(wizard->EstimateText(), u"0,0976 Kb");
    EXPECT_TRUE(wizard->CanLeaveChoice());
}

TEST_F(DownloadWizardTest, NoSourceKeepsStepOneClosed)
{
    const auto wizard = MakeWizard(false);
    EXPECT_EQ(wizard->Selected(), -1);
    EXPECT_FALSE(wizard->CanLeaveSource());
    EXPECT_FALSE(wizard->StartDownload());
}

TEST_F(DownloadWizardTest, TheEstimateFollowsTheSamplingAndWithNothingToFetchOnlyNamesMayGoOn)
{
    const auto wizard = MakeWizard();
    wizard->SetPeriod(Day(2024, 1, 1), Day(2024, 12, 31));
    wizard->SetMode(ASamplingMode::EveryDay);
    EXPECT_EQ(wizard->Estimate(), 36600u);
    wizard->SetMode(ASamplingMode::HalfYearStart);
    EXPECT_EQ(wizard->Estimate(), 200u);

    wizard->SetMode(ASamplingMode::QuarterStart);
    wizard->SetPeriod(Day(2024, 2, 2), Day(2024, 2, 11));
    EXPECT_EQ(wizard->Estimate(), 0u);
    EXPECT_FALSE(wizard->CanLeaveChoice());
    EXPECT_FALSE(wizard->StartDownload());
    wizard->SetNamesOnly(true);
    EXPECT_FALSE(wizard->PeriodEnabled());
    EXPECT_TRUE(wizard->CanLeaveChoice());
    EXPECT_FALSE(wizard->CrossRatesEnabled());
    EXPECT_EQ(wizard->ChooseText(), u"Выберите, какие валюты должны быть добавлены в файл данных.");
    wizard->SetNamesOnly(false);
    EXPECT_EQ(wizard->ChooseText(), u"Выберите, какие валюты и курсы должны быть добавлены в файл данных.");
}

TEST_F(DownloadWizardTest, KnownCurrenciesArePreTickedAndFinishWritesTheTicked)
{
    books.Step([&] { books.AddCurrency(u"USD"); });
    server.Answer("/rates/2024-03-01", {200, Cp1251(u"USD;Доллар США;90;1\nEUR;Евро;100;1\nGBP;Фунт;115;1\n")});
    const auto wizard = MakeWizard();
    RunDownload(*wizard);
    EXPECT_EQ(observer.allDone, 1);
    const auto& rows = wizard->Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, u"Доллар США");
    EXPECT_EQ(rows[0].code, u"USD");
    EXPECT_TRUE(rows[0].checked);
    EXPECT_FALSE(rows[1].checked);
    EXPECT_FALSE(rows[2].checked);
    EXPECT_TRUE(wizard->CrossRatesEnabled());

    wizard->Rows()[1].checked = true;  // EUR
    wizard->SetCrossRates(true);
    const AWriteOutcome outcome = wizard->Finish();
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.currenciesCreated, 1u);
    EXPECT_EQ(outcome.ratesAdded, 2u);
    EXPECT_EQ(outcome.crossRatesAdded, 1u);
    EXPECT_EQ(Database::CurrencyByCode(books.db, u"GBP"), nullptr);
    EXPECT_EQ(books.db.UndoLabel(), u"Загрузка валют");
}

TEST_F(DownloadWizardTest, NamesOnlyWritesNoRates)
{
    server.Answer("/rates/2024-03-01", {200, "EUR;Euro;100;1\n"});
    const auto wizard = MakeWizard();
    wizard->SetNamesOnly(true);
    RunDownload(*wizard);
    ASSERT_EQ(wizard->Rows().size(), 1u);
    wizard->Rows()[0].checked = true;
    wizard->SetCrossRates(true);
    const AWriteOutcome outcome = wizard->Finish();
    EXPECT_EQ(outcome.currenciesCreated, 1u);
    EXPECT_EQ(books.db.RateValues().LiveCount(), 0u);
}

TEST_F(DownloadWizardTest, CancelWritesNothing)
{
    AHttpAnswer hanging{200, "EUR;Euro;100;1\n"};
    hanging.hang = true;
    server.Answer("/rates/2024-03-01", hanging);
    const auto wizard = MakeWizard();
    ASSERT_TRUE(wizard->StartDownload());
    wizard->Cancel();
    EXPECT_FALSE(wizard->DownloadDone());
    EXPECT_FALSE(wizard->Finish().written);
    EXPECT_EQ(Database::CurrencyByCode(books.db, u"EUR"), nullptr);
}

// Three monthly requests, each answered well, cut off mid-body or with bytes that mean
// nothing: the wizard never crashes, and its status says how many requests arrived.
TEST_F(DownloadWizardTest, TheStatusCountsTheRequestsThatFailed)
{
    const AHttpAnswer good{200, Cp1251(u"USD;Доллар США;90;1\n")};
    AHttpAnswer cut = good;
    cut.closeMidBody = true;
    const AHttpAnswer garbage{200, std::string("\x00\xff;;;\n\x01garbage;;", 17)};
    struct ACase {
        std::vector<AHttpAnswer> answers;
        std::u16string status;
        std::size_t rows;
    };
    const ACase cases[] = {
        {{good, good, good}, u"Данные загружены.", 1},
        {{good, cut, garbage}, u"Данные загружены. 2 / 3", 1},
        {{cut, cut, cut}, u"Данные загружены. 0 / 3", 0},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(UtilityClasses::Strings::Utf16ToUtf8(c.status));
        for (int month = 1; month <= 3; ++month)
            server.Answer("/rates/2024-0" + std::to_string(month) + "-01", c.answers[month - 1]);
        const auto wizard = MakeWizard();
        wizard->SetPeriod(Day(2024, 1, 1), Day(2024, 3, 14));
        RunDownload(*wizard);
        EXPECT_EQ(wizard->StatusText(), c.status);
        EXPECT_EQ(wizard->Rows().size(), c.rows);
    }
}

}  // namespace
}  // namespace RatesTest
