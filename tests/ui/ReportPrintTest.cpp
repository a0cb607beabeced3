// Printing the reports and budget pages to PDF: the sheets they need, with the header and
// footer lines, read back with pdftotext.
#include "UiTestSupport.h"
#include "cli/CliRunner.h"

#include "database/DatabaseRules.h"
#include "ui/MainForm.h"
#include "ui/budget/BudgetPage.h"
#include "ui/reports/ReportPane.h"
#include "ui/reports/ReportsPage.h"

#include <QPrinter>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace Database;
using Engine::ATableImpl;

namespace {

constexpr AMoney kUnit = 10000;

// March 2025 (the test clock's month): ninety expense categories with a transaction each, an
// income, and a budget folder with an article measured by a series of the expenses.
void WriteBook(ADatabase& db)
{
    const auto cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
    const AClassifier& articles = db.Classifiers().Live().front()->Record();
    const auto expenses = articles.separateTrees ? articles.root2 : articles.root1;
    for (int i = 0; i < 90; ++i) {
        const auto category = ATableImpl<ACategory>::RefTo(db.Categories().Create(
            ACategory{db.NewText(u"Расход " + std::u16string(1, static_cast<char16_t>(u'А' + i % 32)) +
                                 std::u16string(1, static_cast<char16_t>(u'0' + i / 32))),
                      db.NewText(u""), expenses}));
        const ATransaction t = UiTests::Executed(cash, -(i + 1) * kUnit, Dates::FromYmd(2025, 3, 1 + i % 28));
        db.Relations().Create(ARelation{category, ATableImpl<ATransaction>::RefTo(db.Transactions().Create(t))});
    }
    ASeries series{db.NewText(u"Все расходы")};
    series.hue = 0;
    series.expense = 1;
    const auto spending = ATableImpl<ASeries>::RefTo(db.Series().Create(series));
    db.SeriesAccounts().Create(ASeriesAccountFilter{spending, cash});
    const auto folder = ATableImpl<ABudgetItem>::RefTo(db.BudgetItems().Create(ABudgetItem{db.NewText(u"Семья"), {}, {}}));
    db.BudgetItems().Create(ABudgetItem{{}, spending, folder});
    for (auto* page : std::vector(db.Pages().Live().begin(), db.Pages().Live().end()))
        db.Pages().Change(page)->visible = 1;
}

std::string TextOf(const std::string& pdf, const std::string& folder)
{
    const ACliRun run = RunProgram("/usr/bin/pdftotext", {"-layout", pdf, "-"}, folder);
    EXPECT_EQ(run.exitCode, 0) << "pdftotext (poppler-utils) is needed: " << run.err;
    return run.out;
}

TEST(ReportPrinting, EachPagePrintsWhatItShowsOnNumberedSheets)
{
    UiTests::TestApplication();
    const struct {
        const char* what;
        std::function<bool(AAbstractPage*)> isPage;
        std::function<void(AAbstractPage&)> hands;
        int sheets;
        std::vector<std::string> body;
    } cases[] = {
        // The turnover tree's 91 rows fill two sheets; the ring chart gets one of its own.
        {"turnover", [](AAbstractPage* p) { return dynamic_cast<Reports::AReportsPage*>(p) != nullptr; },
         [](AAbstractPage&) {}, 3, {"Все статьи расхода", "Расход А0", "-4 095,00 RUR", "Обороты, 01.03.2025 - 31.03.2025"}},
        {"dynamics", [](AAbstractPage* p) { return dynamic_cast<Reports::AReportsPage*>(p) != nullptr; },
         [](AAbstractPage& p) { UiTests::PickRow(*dynamic_cast<Reports::AReportsPage&>(p).Pane(), "Вид отчёта:", 1); },
         1, {"Динамика оборотов, 01.03.2025 - 31.03.2025", "Все расходы: -4 095,00 RUR"}},
        {"budget", [](AAbstractPage* p) { return dynamic_cast<Budget::ABudgetPage*>(p) != nullptr; },
         [](AAbstractPage&) {}, 1, {"Статья бюджета", "Семья", "Все расходы", "-4 095,00"}},
    };
    for (const auto& c : cases) {
        UiTests::ATestProgram test;
        UiTests::WriteDataFile(test.Path("family.fend"), WriteBook);
        AMainWindow window(test.context);
        window.resize(1000, 700);
        window.show();
        ASSERT_EQ(window.OpenFile(test.Path("family.fend")), Result::kOk);
        int index = 0;
        while (index < window.PageCount() && !c.isPage(window.PageAt(index)))
            ++index;
        ASSERT_TRUE(window.ShowPage(index)) << c.what;
        QApplication::processEvents();
        c.hands(*window.CurrentPage());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(test.Path("page.pdf")));
        ASSERT_TRUE(window.PrintCurrentPage(printer)) << c.what;
        const std::string text = TextOf(test.Path("page.pdf"), test.folder.Path());
        // pdftotext ends every sheet with a form feed.
        EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), c.sheets) << c.what << "\n" << text;
        for (int sheet = 1; sheet <= c.sheets; ++sheet)
            EXPECT_NE(text.find("Страница " + std::to_string(sheet) + " из " + std::to_string(c.sheets)), std::string::npos)
                << c.what << " " << sheet;
        EXPECT_NE(text.find("family.fend"), std::string::npos) << c.what;
        EXPECT_NE(text.find("Fendral 2.1.0.235"), std::string::npos) << c.what;
        for (const std::string& expected : c.body)
            EXPECT_NE(text.find(expected), std::string::npos) << c.what << ": " << expected << "\n" << text;
    }
}

}  // namespace
