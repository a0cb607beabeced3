// Formatting speed of what every painted list row does: amounts and messages.
// Each benchmark iteration formats 1,000,000 values; "per_item" is the time of one.
#if __has_include(<benchmark/benchmark.h>)
#include "core/AStrings.h"
#include "core/FormatAmount.h"
#include "core/FormatText.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace UtilityClasses::Strings;

namespace {

constexpr int kItems = 1'000'000;

std::vector<std::int64_t> Amounts()
{
    std::mt19937_64 random(42);
    std::vector<std::int64_t> amounts(kItems);
    for (std::int64_t& amount : amounts) {
        // Mostly everyday sums, some large ones, both signs.
        std::int64_t magnitude = static_cast<std::int64_t>(random() % (random() % 8 == 0 ? 10'000'000'000'000 : 100'000'000));
        amount = random() % 3 == 0 ? -magnitude : magnitude;
    }
    return amounts;
}

void SetPerItem(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * kItems);
    state.counters["per_item"] =
        benchmark::Counter(static_cast<double>(kItems), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void FormatMillionAmounts(benchmark::State& state)
{
    const LocaleInfo locale = RussianLocale();
    const std::vector<std::int64_t> amounts = Amounts();
    char16_t buffer[kAmountCapacity];
    for (auto _ : state) {
        for (std::int64_t amount : amounts) {
            benchmark::DoNotOptimize(FormatAmount(amount, 2, true, locale, buffer, kAmountCapacity));
            benchmark::ClobberMemory();
        }
    }
    SetPerItem(state);
}
BENCHMARK(FormatMillionAmounts)->Unit(benchmark::kMillisecond);

void FormatMillionMessages(benchmark::State& state)
{
    const AStrings table(RussianLocale());
    const std::vector<std::int64_t> amounts = Amounts();
    const std::u16string_view formats[] = {table.Text(435), table.Text(252), table.Text(94), table.Text(499)};
    char16_t buffer[kFormatCapacity];
    for (auto _ : state) {
        for (int i = 0; i < kItems; ++i) {
            std::u16string_view format = formats[i % 4];
            const FormatArg args[] = {u"Сбережения", FormatArg::Amount(amounts[i], 2), i, u"RUR"};
            benchmark::DoNotOptimize(FormatText(buffer, table.Locale(), format, args));
            benchmark::ClobberMemory();
        }
    }
    SetPerItem(state);
}
BENCHMARK(FormatMillionMessages)->Unit(benchmark::kMillisecond);

void FormatMillionAmountMessages(benchmark::State& state)
{
    const LocaleInfo locale = RussianLocale();
    const std::vector<std::int64_t> amounts = Amounts();
    char16_t buffer[kFormatCapacity];
    for (auto _ : state) {
        for (std::int64_t amount : amounts) {
            benchmark::DoNotOptimize(FormatText(buffer, locale, u"#c %", {FormatArg::Amount(amount, 2)}));
            benchmark::ClobberMemory();
        }
    }
    SetPerItem(state);
}
BENCHMARK(FormatMillionAmountMessages)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#else
#include <cstdio>
int main()
{
    std::puts("FormatBench needs Google Benchmark (libbenchmark-dev).");
}
#endif
