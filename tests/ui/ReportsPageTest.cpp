// The reports page over a small book whose figures are worked out by hand: each kind as the
// page shows it and as fendral-cli reports it from the same file, the validation messages,
// recomputing after a change, and the settings stream.
#include "UiTestSupport.h"
#include "cli/CliRunner.h"

#include "database/ClassifierCommands.h"
#include "database/DatabaseRules.h"
#include "ui/MenuText.h"
#include "rates/AmountExpression.h"
#include "ui/PageTexts.h"
#include "ui/reports/ReportPane.h"
#include "ui/reports/ReportResults.h"
#include "ui/reports/ReportsPage.h"
#include "win32api/APieCtrl.h"
#include "win32api/ChrtCtrl.h"
#include "win32api/DateCtrl.h"
#include "win32api/HistCtrl.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

using namespace UserInterface;
using namespace UserInterface::Reports;
using namespace Database;
using Engine::ATableImpl;
using Win32API::VelvixControls::ADatePicker;
using Win32API::VelvixControls::APieChart;
using Win32API::VelvixControls::Reports::AReportPicker;
using Win32API::VelvixControls::Reports::AReportWindow;

namespace {

constexpr AMoney kUnit = 10000;
using ATexts = std::vector<std::u16string>;

// January 2025 on "Наличные" and "Карта": a salary of 1 000, food for 300, 200 moved to the
// card and 100 of food paid by card; a dollar at 90 and then 95 roubles.
class ABook {
public:
    ABook()
    {
        UiTests::TestApplication();
        db.CreateDefaults();
        cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
        rub = db.Accounts().Live().front()->Record().currency;
        const AClassifier& articles = db.Classifiers().Live().front()->Record();
        db.BeginStep();
        card = UiTests::AddAccount(db, u"Карта", ATableImpl<AAccountFolder>::RefTo(db.Folders().Live().front()));
        salary = Category(u"Зарплата", articles.root1);
        const auto food = Category(u"Еда", articles.separateTrees ? articles.root2 : articles.root1);
        Add(cash, 1'000 * kUnit, 5, salary);
        Add(cash, -300 * kUnit, 10, food);
        Add(cash, -200 * kUnit, 12, {}, card);
        Add(card, -100 * kUnit, 20, food);
        ASeries series{db.NewText(u"Расходы")};
        series.hue = 0;
        series.expense = 1;
        const auto spending = ATableImpl<ASeries>::RefTo(db.Series().Create(series));
        for (auto account : {cash, card})
            db.SeriesAccounts().Create(ASeriesAccountFilter{spending, account});
        usd = ATableImpl<ACurrency>::RefTo(db.Currencies().Create(ACurrency{db.NewText(u"Доллар"), db.NewText(u"USD"), 2}));
        const auto pair = ATableImpl<ARateHeader>::RefTo(db.RateHeaders().Create(ARateHeader{usd, rub}));
        db.RateValues().Create(ARateValue{pair, Dates::FromYmd(2025, 1, 1), kUnit, 90 * kUnit});
        db.RateValues().Create(ARateValue{pair, Dates::FromYmd(2025, 1, 15), kUnit, 95 * kUnit});
        CommitWithRules(db);
    }
    void Show() { shown = UiTests::ShowPage(test, db, APageInfo::kReports); }
    AReportsPage& Page() { return dynamic_cast<AReportsPage&>(*shown.page); }
    QWidget& Pane() { return *Page().Pane(); }

    AReference<ACategory> Category(std::u16string_view name, AReference<ACategory> parent)
    {
        return ATableImpl<ACategory>::RefTo(db.Categories().Create(ACategory{db.NewText(name), db.NewText(u""), parent}));
    }
    void Add(AReference<AAccount> account, AMoney amount, int day, AReference<ACategory> category,
             AReference<AAccount> to = {})
    {
        const auto ref = ATableImpl<ATransaction>::RefTo(
            db.Transactions().Create(UiTests::Executed(account, amount, Dates::FromYmd(2025, 1, day), to)));
        if (!category.IsNull())
            db.Relations().Create(ARelation{category, ref});
    }

    void Pick(const char* picker, int row) { UiTests::PickRow(Pane(), picker, row); }
    void Period(ADate start, ADate end) { UiTests::PickPeriod(Pane(), start, end); }
    // Space on row `row` of the ticked account tree.
    void ToggleAccountRow(int row)
    {
        auto* list = UiTests::Named<AReportWindow>(Pane(), "По счетам:");
        ASSERT_NE(list, nullptr);
        list->setFocus();
        list->Model().FocusRow(row);
        QTest::keyClick(list, Qt::Key_Space);
    }

    // "name=sum" of every row of the turnover list, sorted.
    ATexts TurnoverRows()
    {
        ATexts rows;
        auto& model = Page().Report()->Model();
        for (int r = 0; r < model.RowCount(); ++r)
            rows.push_back(model.Row(r)->Text(kNameColumn) + u"=" + model.Row(r)->Text(kSumColumn));
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    std::u16string Amount(AMoney amount, int decimals = 2) { return AmountText(test.context, amount, decimals); }

    UiTests::ATestProgram test;
    ADatabase db;
    AReference<AAccount> cash, card;
    AReference<ACurrency> rub, usd;
    AReference<ACategory> salary;
    UiTests::AShownPage shown;
};

AMoney JsonMoney(const nlohmann::json& value)
{
    const std::string text = value.get<std::string>();
    return Rates::EvaluateAmountExpression(std::u16string(text.begin(), text.end())).value_or(-1);
}

void TurnoverJson(ABook& book, const nlohmann::json& node, ATexts& rows)
{
    const std::string name = node.at("name").get<std::string>();
    rows.push_back(QString::fromStdString(name).toStdU16String() + u"=" +
                   book.Amount(JsonMoney(node.at("income")) + JsonMoney(node.at("expense"))) + u" RUR");
    for (const auto& child : node.at("children"))
        TurnoverJson(book, child, rows);
}

TEST(ReportsPage, EachKindShowsTheHandWorkedFiguresThatTheCommandLineProgramReports)
{
    const struct {
        int kind;
        std::vector<std::string> cli;
        std::function<ATexts(ABook&)> page;
        std::function<ATexts(ABook&, const nlohmann::json&)> json;
        std::function<ATexts(ABook&)> expected;
    } cases[] = {
        {0, {"turnover", "--currency", "RUR", "--group-by", "Статья", "--accounts", "Наличные@RUR"},
         [](ABook& b) {
             b.ToggleAccountRow(2);  // the card's transactions stay out; the transfer goes to it
             return b.TurnoverRows();
         },
         [](ABook& b, const nlohmann::json& json) {
             ATexts rows;
             TurnoverJson(b, json.at("root"), rows);
             std::sort(rows.begin(), rows.end());
             return rows;
         },
         [](ABook& b) {
             const auto row = [&](std::u16string name, AMoney sum) { return name + u"=" + b.Amount(sum * kUnit) + u" RUR"; };
             ATexts rows{row(u"Финансовый результат", 500), row(u"Все статьи прихода", 1'000), row(u"Зарплата", 1'000),
                         row(u"Все статьи расхода", -500), row(u"Еда", -300),
                         row(u"Перевод на счёт \"Карта\"", -200)};
             std::sort(rows.begin(), rows.end());
             return rows;
         }},
        {1, {"dynamics", "--currency", "RUR", "--bucket", "2", "--series", "Расходы"},
         [](ABook& b) {
             b.Pick("В разбивке по:", 2);  // "Неделя": the first bucket runs from Wednesday to Sunday
             ATexts values;
             for (int bucket = 0; bucket < b.Page().Histogram()->BucketCount(); ++bucket)
                 values.push_back(b.Amount(b.Page().Histogram()->Value(0, bucket)));
             return values;
         },
         [](ABook& b, const nlohmann::json& json) {
             ATexts values;
             for (const auto& value : json.at("series").at(0).at("values"))
                 values.push_back(b.Amount(JsonMoney(value)));
             return values;
         },
         [](ABook& b) { return ATexts{b.Amount(0), b.Amount(-300 * kUnit), b.Amount(0), b.Amount(-100 * kUnit), b.Amount(0)}; }},
        {2, {"balances", "--currency", "RUR"},
         [](ABook& b) {
             const auto& lines = b.Page().TimeChart(AReportsPage::kBalancesView)->Lines();
             return ATexts{b.Amount(lines.at(0).points.back().value), b.Amount(lines.at(1).points.back().value)};
         },
         [](ABook& b, const nlohmann::json& json) {
             return ATexts{b.Amount(JsonMoney(json.at("executed").back().at("value"))),
                           b.Amount(JsonMoney(json.at("full").back().at("value")))};
         },
         // 1 000 - 300 - 200 on the cash, 200 - 100 on the card.
         [](ABook& b) { return ATexts{b.Amount(600 * kUnit), b.Amount(600 * kUnit)}; }},
        {3, {"rates", "--rate", "USD", "--in", "RUR"},
         [](ABook& b) {
             ATexts values;
             for (const auto& point : b.Page().TimeChart(AReportsPage::kRatesView)->Lines().at(1).points)
                 values.push_back(b.Amount(point.value, 4));
             return values;
         },
         [](ABook& b, const nlohmann::json& json) {
             ATexts values;
             for (const auto& point : json.at("stored"))
                 values.push_back(b.Amount(JsonMoney(point.at("value")), 4));
             return values;
         },
         [](ABook& b) { return ATexts{b.Amount(90 * kUnit, 4), b.Amount(95 * kUnit, 4)}; }},
    };
    for (const auto& c : cases) {
        ABook book;
        ASSERT_TRUE(Result::Succeeded(book.db.SaveAs(book.test.Path("books.fend"))));
        book.Show();
        book.Pick("Вид отчёта:", c.kind);
        book.Period(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 1, 31));
        const ATexts shown = c.page(book);
        EXPECT_EQ(book.Page().Message(), QString()) << c.kind;
        EXPECT_EQ(shown, c.expected(book)) << c.kind;
        std::vector<std::string> arguments{"report", c.cli.front(), "books.fend", "--from", "2025-01-01", "--to",
                                           "2025-01-31"};
        arguments.insert(arguments.end(), c.cli.begin() + 1, c.cli.end());
        arguments.push_back("--json");
        const ACliRun run = RunProgram(FENDRAL_CLI, arguments, book.test.folder.Path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto json = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << run.out;
        EXPECT_EQ(c.json(book, json), shown) << c.kind;
    }
}

TEST(ReportsPage, AParameterThePageCannotUseShowsItsMessageInPlaceOfTheResult)
{
    const struct {
        int kind;
        std::function<void(ABook&)> hands;
        int message;
    } cases[] = {
        {0, [](ABook& b) { b.Period(Dates::FromYmd(2025, 2, 1), Dates::FromYmd(2025, 1, 1)); }, 463},
        {1,
         [](ABook& b) {
             b.db.BeginStep();
             Database::Delete(b.db, b.db.Currencies().Get(b.rub));
             CommitWithRules(b.db);
             QTest::qWait(10);
         },
         464},
        {0, [](ABook& b) { b.ToggleAccountRow(0); }, 465},
        {0,
         [](ABook& b) {
             for (const char* kind : {"Прихода", "Расхода", "Зачисления переводом", "Списания переводом"})
                 UiTests::ClickNamed(b.Pane(), kind);
         },
         466},
        {0,
         [](ABook& b) {
             DeleteClassifier(b.db, ATableImpl<AClassifier>::RefTo(b.db.Classifiers().Live().front()), u"");
             QTest::qWait(10);
         },
         468},
        {2, [](ABook& b) { b.ToggleAccountRow(0); }, 465},
        {3, [](ABook& b) { b.Pick("Курс:", 0); }, 469},
        {3,
         [](ABook& b) {
             b.db.BeginStep();
             b.db.Currencies().Create(ACurrency{b.db.NewText(u"Евро"), b.db.NewText(u"EUR"), 2});
             CommitWithRules(b.db);
             QTest::qWait(10);
             b.Pick("Курс:", 2);
         },
         470},
    };
    for (const auto& c : cases) {
        ABook book;
        book.Show();
        book.Pick("Вид отчёта:", c.kind);
        c.hands(book);
        EXPECT_EQ(book.Page().View(), AReportsPage::kMessageView) << c.message;
        EXPECT_EQ(book.Page().Message().toStdU16String(), book.test.Message(c.message)) << c.message;
    }
}

TEST(ReportsPage, EveryControlOfEveryKindAndOfTheSeriesDialogIsNamedByItsCaption)
{
    ABook book;
    book.Show();
    book.Page().SetName(u"Отчёты");  // as the main window names a page's list by its tab
    for (int kind = 0; kind < kReportKindCount; ++kind) {
        book.Pick("Вид отчёта:", kind);
        EXPECT_EQ(UiTests::UnnamedControls(*book.shown.form), std::vector<std::string>()) << kind;
    }
    std::vector<std::string> unnamed{"not shown"};
    UiTests::RunCommandOnModal(book.test, book.Page(), Command::kChange,
                               [&](QDialog& dialog) { unnamed = UiTests::UnnamedControls(dialog); });
    EXPECT_EQ(unnamed, std::vector<std::string>());
}

TEST(ReportsPage, AClickOnASliceSelectsItsRowAndARowSelectsItsSlice)
{
    ABook book;
    book.Show();
    book.Period(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 1, 31));
    Win32API::VelvixControls::APieChart& pie = *book.Page().Pie();
    QApplication::processEvents();
    const auto find = [](const auto& self, APieChart::AItem* item, std::u16string_view name) -> APieChart::AItem* {
        if (!item || item->Name() == name)
            return item;
        for (const auto& child : item->Children())
            if (APieChart::AItem* found = self(self, child.get(), name))
                return found;
        return nullptr;
    };
    APieChart::AItem* salary = find(find, pie.Root(), u"Зарплата");
    ASSERT_NE(salary, nullptr);
    // The middle of the slice's ring, clockwise from the top.
    const double angle = (salary->StartAngle() + salary->SweepAngle() / 2) * 3.14159265358979 / 180;
    const double radius = (salary->Depth() + 0.5) * pie.Layout().ringWidth;
    const QPoint point(pie.Layout().centreX + static_cast<int>(radius * std::sin(angle)),
                       pie.Layout().centreY - static_cast<int>(radius * std::cos(angle)));
    QTest::mouseClick(&pie, Qt::LeftButton, {}, point);
    const auto* focused = book.Page().Report()->Model().FocusedItem();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->Text(kNameColumn), u"Зарплата");
    EXPECT_TRUE(salary->IsSelected());

    auto* list = book.Page().Report();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    const std::u16string above = list->Model().FocusedItem()->Text(kNameColumn);
    APieChart::AItem* selected = find(find, pie.Root(), above);
    ASSERT_NE(selected, nullptr);
    EXPECT_TRUE(selected->IsSelected());
    EXPECT_FALSE(salary->IsSelected());
}

TEST(ReportsPage, TheTurnoverCountsOnlyTheTransactionsOfATickedCategory)
{
    ABook book;
    book.Show();
    book.Period(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 1, 31));
    const QString classifier = QString::fromStdU16String(book.db.Text(book.db.Classifiers().Live().front()->Record().singular));
    UiTests::ClickNamed(book.Pane(), classifier);
    ASSERT_TRUE(UiTests::PickText(book.Pane(), classifier, u"Еда"));
    // The food of both accounts; the top that is left alone is the root.
    EXPECT_EQ(book.TurnoverRows(), (ATexts{u"Все статьи расхода=" + book.Amount(-400 * kUnit) + u" RUR",
                                           u"Еда=" + book.Amount(-400 * kUnit) + u" RUR"}));
}

TEST(ReportsPage, RecomputesWhenATransactionIsAdded)
{
    ABook book;
    book.Show();
    book.Period(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 1, 31));
    const auto salary = [&] {
        const ATexts rows = book.TurnoverRows();
        const auto row = std::find_if(rows.begin(), rows.end(), [](const std::u16string& r) { return r.starts_with(u"Зарплата="); });
        return row == rows.end() ? std::u16string() : row->substr(9);
    };
    EXPECT_EQ(salary(), book.Amount(1'000 * kUnit) + u" RUR");
    book.db.BeginStep();
    book.Add(book.cash, 50 * kUnit, 25, book.salary);
    CommitWithRules(book.db);
    EXPECT_TRUE(QTest::qWaitFor([&] { return salary() == book.Amount(1'050 * kUnit) + u" RUR"; }, 2000));
}

TEST(ReportsPage, SettingsAreReadBackAndAnotherVersionLeavesTheDefaults)
{
    ABook book;
    book.Show();
    book.Pick("Вид отчёта:", 1);
    book.Pick("В разбивке по:", 2);
    book.Period(Dates::FromYmd(2025, 1, 1), Dates::FromYmd(2025, 1, 31));
    const std::vector<std::uint8_t> saved = book.Page().WriteSettings();
    UiTests::AShownPage other = UiTests::ShowPage(book.test, book.db, APageInfo::kReports);
    auto& page = dynamic_cast<AReportsPage&>(*other.page);
    std::vector<std::uint8_t> version2 = saved;
    version2[0] = 2;
    page.ReadSettings(version2);
    EXPECT_EQ(page.Parameters().kind, AReportKind::Turnover);
    EXPECT_EQ(page.Parameters().period.Start(), Dates::FromYmd(2025, 3, 1));  // the current month
    page.ReadSettings(saved);
    EXPECT_EQ(page.WriteSettings(), saved);
    EXPECT_EQ(page.Parameters().kind, AReportKind::Dynamics);
    EXPECT_EQ(page.Parameters().bucket, Filters::APeriodKind::Week);
    EXPECT_EQ(page.View(), AReportsPage::kDynamicsView);
    EXPECT_EQ(page.Histogram()->BucketCount(), 5);
}

}  // namespace
