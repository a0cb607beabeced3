// Renders a gallery of the toolkit to PNG files, offscreen, so that a person can look at how
// dialogs and lists come out without starting the program.
//   toolkit-gallery [output folder]     (default: the current folder)
#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "win32api/APieCtrl.h"
#include "win32api/AWizard.h"
#include "win32api/ChrtCtrl.h"
#include "win32api/DynaForm.h"
#include "win32api/HistCtrl.h"
#include "win32api/MessageBox.h"
#include "win32api/ReportWindow.h"
#include "win32api/TabControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>

#include <cstdio>
#include <memory>

using namespace Win32API::VelvixForms;
using namespace Win32API::VelvixControls::Reports;
using UtilityClasses::Strings::AStrings;

namespace {

bool Save(QWidget& widget, const QDir& folder, const char* name)
{
    QString path = folder.filePath(QString::fromLatin1(name) + ".png");
    bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", path.toUtf8().constData());
    return saved;
}

bool ShowAndSave(QWidget& widget, QSize size, const QDir& folder, const char* name)
{
    widget.resize(size);
    widget.show();
    QApplication::processEvents();
    return Save(widget, folder, name);
}

void ShowAndFit(QWidget& widget, int extraWidth = 0)
{
    widget.show();
    QSize size = widget.minimumSizeHint();
    widget.resize(size.width() + extraWidth, size.height());
    QApplication::processEvents();
}

// The settings dialog: a tab control stack whose first page is the transactions page form.
bool SettingsDialog(const AStrings& strings, const QDir& folder)
{
    ADialogForm dialog("{b#105{S#-1m4[tt#-2]{b#106m4xeyt}{b#107m4xeyt}{b#108m4xeyt}{b#109m4xeyt}}}", &strings);
    dialog.Create();
    auto* page = new ADialogForm(
        "{bm4xeyt{t1xe{t1l10b8#136xl(:t){bt4xl[bCt#137]}{bt4xl[bCt#138]}{bt4xl[bCt#139]}}{t1l10b8#140xl(:t)"
        "{bt4xl[bCt#141]}}{t1l10b8#142xl(:t){bt4xl[bRg#143]}{bt4xl[bR#144]}}}}",
        &strings);
    dialog.InsertForm(106, page);
    page->ControlAs<QCheckBox>(137)->setChecked(true);
    page->ControlAs<QRadioButton>(143)->setChecked(true);
    ShowAndFit(dialog, 60);
    return Save(dialog, folder, "settings-dialog");
}

// Parts of the transaction dialog: kind, dates and comments, in one form with borders.
bool TransactionParts(const AStrings& strings, const QDir& folder)
{
    ADialogForm dialog("{b#410m4{t1#-1xe}}", &strings);
    dialog.Create();
    dialog.InsertElements(-1, "{b#-2t4(e:f)m4}{b#-3t4(e:f)m4}{b#-4t4(S:f)m4}");
    auto* kind = new ADialogForm("{bxe{t5{bWe}{t1{bxl[bRg#412]}{bt4xl[bR#413]}}{bWe}{t1{bxl[bR#414]}{bt4xl[bR#701]}}{bWe}}}",
                                 &strings);
    auto* dates = new ADialogForm("{t2{br2}{bW117}{bxr[sg#416]}{b{bWe[Dt#-10]}}{bxr[s#417]}{bt2p{bWe[Tt#-11]}}{bxr[s#418]}"
                                  "{bt2p{bWe[Dt#-12]}}}",
                                  &strings);
    auto* comments = new ADialogForm("{t2{br2}{bWe}{bxr[sg#436]}{b{bWe[etX#-14]}}{bt4xr[sg#-29]}{b{bWe[etX#-33]}}"
                                     "{bt4xr[s#-30]}{b{bWe[e=t.#-34]}}}",
                                     &strings);
    dialog.InsertForm(-2, kind);
    dialog.InsertForm(-3, dates);
    dialog.InsertForm(-4, comments);
    kind->ControlAs<QRadioButton>(413)->setChecked(true);
    comments->ControlAs<QLineEdit>(-14)->setText(QString::fromUtf8("Продукты на неделю"));
    comments->ControlAs<QLineEdit>(-33)->setPlaceholderText(QString::fromUtf8("доп. примечание"));
    comments->ControlAs<QLineEdit>(-34)->setText(QString::fromUtf8("1 250,00"));
    comments->ControlAs<QLabel>(-30)->setText(QString::fromUtf8("Сумма:"));
    comments->Relayout(true);
    ShowAndFit(dialog, 80);
    return Save(dialog, folder, "transaction-parts");
}

class AAccountItem : public AReportItem<std::int64_t> {
public:
    AAccountItem(std::u16string name, std::int64_t amount, std::u16string currency, ACheckState check)
        : AReportItem<std::int64_t>(amount), name_(std::move(name)), currency_(std::move(currency)), check_(check)
    {
    }
    std::u16string Text(int column) const override
    {
        if (column == 0)
            return name_;
        if (column == 2)
            return currency_;
        std::int64_t units = Data() / 100, cents = (Data() < 0 ? -Data() : Data()) % 100;
        std::string text = std::to_string(units) + "," + (cents < 10 ? "0" : "") + std::to_string(cents);
        return std::u16string(text.begin(), text.end());
    }
    unsigned CellProperty(int column) const override
    {
        return column == 1 ? kCellRightAligned : column == 2 ? kCellLink : (HasChildren() ? kCellBold : kCellPlain);
    }
    ACheckState CheckState() const override { return check_; }
    void SetChecked(bool checked) override { check_ = checked ? ACheckState::Checked : ACheckState::Unchecked; }

protected:
    int CompareData(const AReportItem<std::int64_t>& other, int column) const override
    {
        if (column == 1)
            return Data() < other.Data() ? -1 : Data() > other.Data();
        return AReportItem<std::int64_t>::CompareData(other, column);
    }

private:
    std::u16string name_, currency_;
    ACheckState check_;
};

class AAccountMode : public AReportMode {
public:
    explicit AAccountMode(bool tree) : tree_(tree)
    {
        AddColumn(u"&Счёт:", 240, false);
        AddColumn(u"Остаток", 110);
        AddColumn(u"Валюта", 70);
    }
    bool IsTree() const override { return tree_; }
    bool MultiSelect() const override { return !tree_; }

private:
    bool tree_;
};

AReportItemImpl* AddAccount(AReportItemImpl& parent, const char16_t* name, std::int64_t amount,
                            const char16_t* currency = u"RUB", ACheckState check = ACheckState::Checked)
{
    return parent.AddChild(std::make_unique<AAccountItem>(name, amount, currency, check));
}

bool ReportTree(const QDir& folder)
{
    AAccountMode mode(true);
    AReportWindow report;
    report.SetMode(&mode);
    AReportItemImpl* cash = AddAccount(report.Root(), u"Наличные", 1'253'050);
    AddAccount(*cash, u"Кошелёк", 453'050);
    AddAccount(*cash, u"Копилка", 800'000, u"RUB", ACheckState::Unchecked);
    AReportItemImpl* bank = AddAccount(report.Root(), u"Банковские счета", 18'540'000);
    AddAccount(*bank, u"Зарплатная карта", 9'540'000);
    AReportItemImpl* savings = AddAccount(*bank, u"Вклады", 9'000'000);
    AddAccount(*savings, u"Вклад «Надёжный»", 5'000'000);
    AddAccount(*savings, u"Валютный вклад", 4'000'000, u"EUR");
    AReportItemImpl* debts = AddAccount(report.Root(), u"Долги", -1'200'000);
    AddAccount(*debts, u"Кредитная карта", -1'200'000);
    debts->SetExpandedFlag(false);
    AddAccount(report.Root(), u"Закрытый счёт", 0, u"USD", ACheckState::Unchecked);
    report.resize(460, 250);
    report.show();
    report.RebuildRows();
    report.setFocus();
    report.Model().FocusRow(4);
    QApplication::processEvents();
    return Save(report, folder, "report-tree");
}

bool MessageBoxes(const AStrings& strings, const QDir& folder)
{
    AMessageBoxOptions options;
    options.title = u"Операция";
    options.text = std::u16string(strings.Text(457));
    options.buttons = AMessageButtons::YesNo;
    options.icon = AMessageIcon::Question;
    options.defaultButton = 1;
    options.offerDontShowAgain = true;
    AMessageBox box(&strings, options);
    ShowAndFit(box);
    return Save(box, folder, "message-box");
}

bool Wizard(const AStrings& strings, const QDir& folder)
{
    UserInterface::AWizard wizard(&strings, 518);
    wizard.AddStep(std::make_unique<UserInterface::AWizard::AWizardStep>(
        524, 525, "{bm8xeyt{t1xl{bt4xl[bCt#335]}{bt4xl[bCt#336]}{bt4xl[bCt#331]}{bt4xl[bCt#332]}}}"));
    wizard.resize(520, 340);
    wizard.show();
    QApplication::processEvents();
    return Save(wizard, folder, "wizard");
}

bool ReportList(const QDir& folder)
{
    AAccountMode mode(false);
    mode.SetSortColumn(-2);
    AReportWindow report;
    report.SetMode(&mode);
    const char16_t* names[] = {u"Продукты", u"Транспорт", u"Кафе", u"Аренда квартиры", u"Подарки", u"Связь",
                               u"Коммунальные платежи", u"Книги", u"Спорт", u"Лекарства"};
    for (int i = 0; i < 10; ++i)
        AddAccount(report.Root(), names[i], (i * 7919 % 23 + 1) * 10'000 + i * 37, u"RUB", ACheckState::None);
    report.resize(460, 230);
    report.show();
    report.RebuildRows();
    report.Model().FocusRow(2);
    report.Model().FocusRow(4, true);
    QApplication::processEvents();
    report.clearFocus();  // without the focus: the inactive selection colour
    return Save(report, folder, "report-list");
}

// Monthly turnover of three series: income and expenses as bars, transport as a line.
bool Histogram(const AStrings& strings, const QDir& folder)
{
    using Win32API::VelvixControls::AHistogram;
    AHistogram histogram;
    histogram.SetStrings(&strings);
    histogram.SetCurrency(u"RUB", 2);
    const int salary = histogram.AddSeries({u"Зарплата", 80, false, true, false});
    const int food = histogram.AddSeries({u"Продукты и хозяйственные товары", 0, true, true, false});
    const int transport = histogram.AddSeries({u"Транспорт", 160, true, false, true});
    std::vector<ADate> boundaries;
    for (int month = 1; month <= 13; ++month)
        boundaries.push_back(Dates::FromYmd(2024 + (month - 1) / 12, (month - 1) % 12 + 1, 1));
    histogram.SetBoundaries(boundaries);
    for (int month = 0; month < 12; ++month) {
        const ADate date = boundaries[month] + 9;
        histogram.AddValue((85'000 + (month % 3) * 4'000) * 10'000LL, date, salary, nullptr);
        histogram.AddValue(-(38'000 + (month * 7919 % 13) * 2'100) * 10'000LL, date, food, nullptr);
        histogram.AddValue(-(6'000 + (month * 3571 % 7) * 900) * 10'000LL, date + 5, transport, nullptr);
    }
    return ShowAndSave(histogram, {640, 420}, folder, "chart-histogram");
}

// The turnover tree of a month: income and expenses by category.
bool PieChart(const AStrings& strings, const QDir& folder)
{
    using Win32API::VelvixControls::APieChart;
    APieChart chart;
    chart.SetStrings(&strings);
    chart.SetCurrency(u"RUB", 2);
    auto root = std::make_unique<APieChart::AItem>(u"Финансовый результат", 1'120'000'000, -905'000'000);
    auto add = [](APieChart::AItem* parent, const char16_t* name, std::int64_t first, std::int64_t second) {
        return parent->AddChild(std::make_unique<APieChart::AItem>(name, first * 10'000, second * 10'000));
    };
    APieChart::AItem* income = add(root.get(), u"Все поступления", 112'000, 0);
    add(income, u"Зарплата", 95'000, 0);
    APieChart::AItem* other = add(income, u"Прочий доход", 17'000, 0);
    add(other, u"Проценты по вкладу", 12'000, 0);
    add(other, u"Кэшбэк", 5'000, 0);
    APieChart::AItem* expense = add(root.get(), u"Все списания", 0, -90'500);
    APieChart::AItem* home = add(expense, u"Дом", 0, -52'000);
    add(home, u"Продукты", 0, -31'000);
    add(home, u"Коммунальные платежи", 0, -21'000);
    APieChart::AItem* transport = add(expense, u"Транспорт", 0, -14'500);
    add(expense, u"Отдых", 0, -24'000);
    chart.SetRoot(std::move(root));
    chart.SetSelected(transport);
    return ShowAndSave(chart, {420, 420}, folder, "chart-ring");
}

// Balances: executed transactions in blue, everything including planned ones in red.
bool BalanceChart(const AStrings& strings, const QDir& folder)
{
    using Win32API::VelvixControls::AChartControl;
    AChartControl chart;
    chart.SetStrings(&strings);
    chart.SetDecimals(2);
    chart.SetZeroLine(true);
    const ADate start = Dates::FromYmd(2024, 1, 1), end = Dates::FromYmd(2024, 6, 30);
    AChartControl::ALine executed{{}, QColor(0, 0, 255), AChartControl::ALineStyle::Normal,
                                  QString::fromUtf8("Выполненные операции")};
    AChartControl::ALine full{{}, QColor(255, 0, 0), AChartControl::ALineStyle::Normal,
                              QString::fromUtf8("С учётом планируемых")};
    std::int64_t balance = 42'000 * 10'000LL;
    executed.points.push_back({start, 0, balance});
    for (ADate day = start + 3; day <= end; day += 4 + day % 5) {
        balance += (day % 11 == 0 ? 90'000 : -(2'000 + day % 7 * 1'300)) * 10'000LL;
        executed.points.push_back({day, 0, balance});
    }
    full.points = executed.points;
    for (ADate day = Dates::FromYmd(2024, 4, 10); day <= end; day += 30)
        for (auto& point : full.points)
            if (point.date >= day)
                point.value -= 15'000 * 10'000LL;
    executed.points.push_back({end, 86'399'999, executed.points.back().value});
    full.points.push_back({end, 86'399'999, full.points.back().value});
    chart.SetLines({executed, full});
    return ShowAndSave(chart, {640, 360}, folder, "chart-balances");
}

// A rate over a year, smoothed, with the stretches before and after the stored rates.
bool RateChart(const AStrings& strings, const QDir& folder)
{
    using Win32API::VelvixControls::AChartControl;
    AChartControl chart;
    chart.SetStrings(&strings);
    chart.SetDecimals(4);
    chart.SetSmoothing(true);
    const QColor colour(0, 110, 60);
    AChartControl::ALine stored{{}, colour, AChartControl::ALineStyle::Normal, {}};
    const ADate first = Dates::FromYmd(2024, 2, 12), last = Dates::FromYmd(2024, 11, 20);
    std::int64_t rate = 905'000;
    std::uint32_t seed = 7;
    for (ADate day = first; day <= last; day += 7) {
        seed = seed * 1'103'515'245u + 12'345u;
        rate += (static_cast<int>(seed >> 16) % 41 - 19) * 400;  // a random walk drifting upwards
        stored.points.push_back({day, 0, rate});
    }
    AChartControl::ALine before{{{Dates::FromYmd(2024, 1, 1), 0, stored.points.front().value},
                                 {first, 0, stored.points.front().value}},
                                colour, AChartControl::ALineStyle::Continuation, {}};
    AChartControl::ALine after{{{stored.points.back().date, 0, stored.points.back().value},
                                {Dates::FromYmd(2024, 12, 31), 0, stored.points.back().value}},
                               colour, AChartControl::ALineStyle::Continuation, {}};
    chart.SetLines({before, stored, after});
    return ShowAndSave(chart, {640, 360}, folder, "chart-rates");
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    folder.mkpath(".");
    AStrings strings(UtilityClasses::Strings::RussianLocale());
    bool ok = SettingsDialog(strings, folder);
    ok = TransactionParts(strings, folder) && ok;
    ok = ReportTree(folder) && ok;
    ok = ReportList(folder) && ok;
    ok = MessageBoxes(strings, folder) && ok;
    ok = Wizard(strings, folder) && ok;
    ok = Histogram(strings, folder) && ok;
    ok = PieChart(strings, folder) && ok;
    ok = BalanceChart(strings, folder) && ok;
    ok = RateChart(strings, folder) && ok;
    return ok ? 0 : 1;
}
