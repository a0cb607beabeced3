// Reader and writer throughput on a large interchange-like document.
#include "core/MemoryStream.h"
#include "exchange/xml/xml.h"
#include "exchange/xml/xmlParseCursor.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace UtilityClasses;
using namespace UtilityClasses::XML;

namespace {

// About 32 MB shaped like an interchange export: many small elements with attributes,
// indentation between them, some escaped text and non-Latin names of things.
std::string Transactions(std::string out)
{
    for (int i = 0; out.size() < 32u * 1024 * 1024; ++i) {
        out += "  <transaction date='2024-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) +
               "' time='12:30:00:000' state='1'>\n"
               "   <side account='\xD0\x9A\xD0\xBE\xD1\x88\xD0\xB5\xD0\xBB\xD1\x91\xD0\xBA " +
               std::to_string(i % 40) + "' amount='-" + std::to_string(i % 100000) +
               ".5000' currency='RUB'/>\n"
               "   <category classifier='Expenses' name='Food &amp; drinks'/>\n"
               "   <comment>Lunch at &quot;Cafe " + std::to_string(i) + "&quot; &lt;card&gt;</comment>\n"
               "  </transaction>\n";
    }
    return out;
}

const std::string& LargeDocument()
{
    static const std::string text =
        Transactions("<?xml version='1.0' encoding='utf-8' standalone='yes'?>\n"
                     "<fendral version='1' export-date='2024-03-01T10:20:30:000'>\n <transactions>\n") +
        " </transactions>\n</fendral>\n";
    return text;
}

// The same records without an enclosing element, read one at a time and dropped: the
// reader's own speed, without the cost of the memory a whole tree occupies.
void ParseRecordByRecord(benchmark::State& state)
{
    static const std::string text = Transactions({});
    auto stream = Streams::AMemoryStream::Create(text);
    for (auto _ : state) {
        stream->Seek(0, Streams::ESeekOrigin::Set, nullptr);
        Implementation::AParseCursor cursor(stream.get());
        std::size_t elements = 0;
        try {
            while (!cursor.AtEnd())
                elements += Implementation::ParseNextNode(cursor)->ToElement() != nullptr;
        } catch (const Implementation::AParseException&) {
            state.SkipWithError("parse failed");
        }
        benchmark::DoNotOptimize(elements);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseRecordByRecord)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ParseLargeDocument(benchmark::State& state)
{
    const std::string& text = LargeDocument();
    auto stream = Streams::AMemoryStream::Create(text);
    for (auto _ : state) {
        stream->Seek(0, Streams::ESeekOrigin::Set, nullptr);
        ADocument document;
        const AParseResult result = ParseDocument(document, stream.get());
        if (!result.Ok())
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(document.ElementCount());
        state.PauseTiming();  // freeing the tree is not the reader's cost
        document.Clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseLargeDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void WriteLargeDocument(benchmark::State& state)
{
    const std::string& text = LargeDocument();
    ADocument document;
    if (!ParseDocument(document, text).Ok())
        state.SkipWithError("parse failed");
    for (auto _ : state) {
        auto out = Streams::AMemoryStream::Create();
        WriteDocument(document, out.get());
        benchmark::DoNotOptimize(out->Bytes().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(WriteLargeDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
