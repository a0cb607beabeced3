// The report list control with 100,000 items: rebuilding the rows, sorting by a column and
// painting one screen, each of which must stay well under 50 ms to keep the list responsive.
#if __has_include(<benchmark/benchmark.h>)
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

using namespace Win32API::VelvixControls::Reports;

namespace {

constexpr int kItems = 100'000;

// A transaction-like row: a name, an amount and a date, compared by their values.
class ABenchItem : public AReportItem<std::int64_t> {
public:
    ABenchItem(std::u16string name, std::int64_t amount, int day)
        : AReportItem<std::int64_t>(amount), name_(std::move(name)), day_(day)
    {
    }
    std::u16string Text(int column) const override
    {
        std::string text = column == 1 ? std::to_string(Data() / 100) + "," + std::to_string(Data() % 100)
                                       : std::to_string(day_);
        return column == 0 ? name_ : std::u16string(text.begin(), text.end());
    }
    unsigned CellProperty(int column) const override { return column == 1 ? kCellRightAligned : kCellPlain; }
    bool SortKey(int column, ASortKey& key) const override
    {
        if (column == 0)
            key.text = name_;
        else
            key.number = column == 1 ? Data() : day_;
        return true;
    }

protected:
    int CompareData(const AReportItem<std::int64_t>& other, int column) const override
    {
        const auto& that = static_cast<const ABenchItem&>(other);
        switch (column) {
        case 0: return name_.compare(that.name_);
        case 1: return Data() < that.Data() ? -1 : Data() > that.Data();
        default: return day_ - that.day_;
        }
    }

private:
    std::u16string name_;
    int day_;
};

class ABenchMode : public AReportMode {
public:
    explicit ABenchMode(bool tree) : tree_(tree)
    {
        AddColumn(u"Название", 300);
        AddColumn(u"Сумма", 120);
        AddColumn(u"Дата", 100);
    }
    bool IsTree() const override { return tree_; }

private:
    bool tree_;
};

struct AFixture {
    explicit AFixture(bool tree) : mode(tree)
    {
        window.resize(1200, 900);
        window.SetMode(&mode);
        std::mt19937 random(42);
        const char16_t* words[] = {u"Продукты", u"Транспорт", u"Зарплата", u"Аренда", u"Кафе", u"Подарки"};
        AReportItemImpl* parent = &window.Root();
        for (int i = 0; i < kItems; ++i) {
            if (tree && i % 100 == 0)
                parent = window.Root().AddChild(std::make_unique<ABenchItem>(u"Группа", 0, 0));
            std::u16string name = words[random() % 6] + std::u16string(u" ") + char16_t(u'А' + random() % 32);
            auto item = std::make_unique<ABenchItem>(std::move(name), static_cast<std::int64_t>(random() % 10'000'000),
                                                     static_cast<int>(45000 + random() % 2000));
            (tree ? parent : &window.Root())->AddChild(std::move(item));
        }
        window.RebuildRows();
    }
    ABenchMode mode;
    AReportWindow window;
};

void RebuildList(benchmark::State& state)
{
    AFixture fixture(false);
    for (auto _ : state)
        fixture.window.RebuildRows();
    state.counters["rows"] = fixture.window.Model().RowCount();
}
BENCHMARK(RebuildList)->Unit(benchmark::kMillisecond);

void RebuildTree(benchmark::State& state)
{
    AFixture fixture(true);
    for (auto _ : state)
        fixture.window.RebuildRows();
    state.counters["rows"] = fixture.window.Model().RowCount();
}
BENCHMARK(RebuildTree)->Unit(benchmark::kMillisecond);

// Each iteration sorts by another column than the last, as a click on a header does.
void SortByColumn(benchmark::State& state)
{
    AFixture fixture(false);
    const std::int8_t orders[] = {1, -2, 3, -1, 2, -3};
    std::size_t next = 0;
    for (auto _ : state) {
        fixture.mode.SetSortColumn(orders[next++ % 6]);
        fixture.window.RebuildRows();
    }
}
BENCHMARK(SortByColumn)->Unit(benchmark::kMillisecond);

// Sorting by one column, from the order of another.
void SortOneColumn(benchmark::State& state)
{
    AFixture fixture(false);
    const auto column = static_cast<std::int8_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        fixture.mode.SetSortColumn(static_cast<std::int8_t>(column % 3 + 1));
        fixture.window.RebuildRows();
        fixture.mode.SetSortColumn(column);
        state.ResumeTiming();
        fixture.window.RebuildRows();
    }
}
BENCHMARK(SortOneColumn)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void PaintScreen(benchmark::State& state)
{
    AFixture fixture(false);
    fixture.window.Model().FocusRow(kItems / 2);
    QImage image(fixture.window.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    int position = 0;
    for (auto _ : state) {
        // A different screen each time, somewhere in the list.
        position = (position + 7919) % kItems;
        fixture.window.verticalScrollBar()->setValue(position);
        QPainter painter(&image);
        fixture.window.viewport()->render(&painter);
    }
    state.counters["rows_per_screen"] = fixture.window.PageRows();
}
BENCHMARK(PaintScreen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

#else
#include <cstdio>
int main()
{
    std::puts("ReportListBench needs Google Benchmark (libbenchmark-dev).");
}
#endif
