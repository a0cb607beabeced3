#include "analysis/PageRprt.h"

#include "database/Lookups.h"
#include "database/StepView.h"

#include <iterator>

namespace UserInterface::Reports {

using namespace Database;

namespace {

static_assert(std::size(kReportKindLabels) == kReportKindCount);
// The chart's own block is opaque to us; a length beyond this is damage.
constexpr std::uint32_t kMaxChartSettings = 1u << 16;

bool CurrencyExists(ADatabase& db, AReference<ACurrency> currency) { return db.Currencies().Record(currency) != nullptr; }

// Whether any usable rate is stored for the pair, whichever way round.
bool PairHasRates(ADatabase& db, AReference<ACurrency> a, AReference<ACurrency> b)
{
    const Engine::ASlot<ARateHeader>* header = RateHeaderFor(db, a, b);
    if (!header)
        return false;
    ARateValue probe;
    probe.header = Engine::ATableImpl<ARateHeader>::RefTo(header);
    for (const auto* rate : IndexedPrefixRange(db.RateValues(), 2, [&](const ARateValue& v) {
             return Compare3(v.header, probe.header);
         }))
        if (rate->Exists() && rate->Record().amount1 != 0 && rate->Record().amount2 != 0)
            return true;
    return false;
}

template <class T>
void SaveRefs(APageWriter& out, ADatabase& db, const std::vector<AReference<T>>& refs)
{
    out.U32(static_cast<std::uint32_t>(refs.size()));
    for (AReference<T> ref : refs)
        out.Ref(db, ref);
}

template <class T>
bool LoadRefs(AByteCursor& in, ADatabase& db, std::vector<AReference<T>>& refs)
{
    std::uint32_t count = 0;
    if (!in.ReadInt(count) || count > in.Remaining() / 4)
        return false;
    refs.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        AReference<T> ref;
        if (!ReadRef(in, db, ref))
            return false;
        if (ref)
            refs.push_back(ref);
    }
    return true;
}

}  // namespace

int ReportKindLabel(AReportKind kind) { return kReportKindLabels[static_cast<int>(kind)]; }

std::optional<int> ValidateReport(ADatabase& db, const AReportParameters& p)
{
    if (!p.period.Valid())
        return ReportMessage::kBadPeriod;
    switch (p.kind) {
    case AReportKind::Turnover:
    case AReportKind::Dynamics:
    case AReportKind::Balances:
        if (!CurrencyExists(db, p.currency))
            return ReportMessage::kNoCurrency;
        if (p.kind == AReportKind::Dynamics)
            return std::nullopt;
        if (p.accounts.Empty())
            return ReportMessage::kNoAccount;
        if (p.kind == AReportKind::Balances)
            return std::nullopt;
        if (!p.kinds.Any())
            return ReportMessage::kNoTransactionKind;
        if (!db.Classifiers().Record(p.grouping))
            return ReportMessage::kNoGrouping;
        return std::nullopt;
    case AReportKind::Rates:
        if (!CurrencyExists(db, p.rateCurrency) || !CurrencyExists(db, p.rateInCurrency) ||
            p.rateCurrency == p.rateInCurrency)
            return ReportMessage::kSameCurrencies;
        if (!PairHasRates(db, p.rateCurrency, p.rateInCurrency))
            return ReportMessage::kNoRates;
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> SaveReportSettings(ADatabase& db, const AReportParameters& p,
                                             const ASettingsContext& context)
{
    std::vector<std::uint8_t> bytes;
    APageWriter out(bytes);
    out.U8(kReportSettingsVersion);
    out.U32(static_cast<std::uint32_t>(p.kind));
    out.U32(static_cast<std::uint32_t>(p.bucket) + 1);
    out.Flag(p.zeroLine);
    out.Flag(p.smooth);
    p.period.Save(out, context.today, context.improvedDateRange, Filters::FileSettings(db).budgetDates != 0);
    out.Ref(db, p.currency);
    p.accounts.Save(out, db);
    p.kinds.Save(out);
    SaveRefs(out, db, p.series);
    out.U32(static_cast<std::uint32_t>(p.chartSettings.size()));
    bytes.insert(bytes.end(), p.chartSettings.begin(), p.chartSettings.end());
    out.Ref(db, p.rateCurrency);
    out.Ref(db, p.rateInCurrency);
    out.Ref(db, p.grouping);
    return bytes;
}

bool LoadReportSettings(ADatabase& db, const std::vector<std::uint8_t>& bytes, const ASettingsContext& context,
                        AReportParameters& parameters)
{
    AByteCursor in(bytes.data(), bytes.size());
    AReportParameters read = parameters;
    std::uint8_t version = 0;
    std::uint32_t kind = 0, bucket = 0, chartSize = 0;
    if (!in.ReadInt(version) || version != kReportSettingsVersion || !in.ReadInt(kind) ||
        kind >= static_cast<std::uint32_t>(kReportKindCount) || !in.ReadInt(bucket) ||
        !ReadFlag(in, read.zeroLine) || !ReadFlag(in, read.smooth))
        return false;
    read.kind = static_cast<AReportKind>(kind);
    if (auto bucketKind = Filters::PeriodKindFromIndex(static_cast<int>(bucket) - 1))
        read.bucket = *bucketKind;
    const auto transactions = Filters::TransactionDateRange(db, read.period.ByBudgetDate());
    if (!read.period.Load(in, context.today, transactions) || !ReadRef(in, db, read.currency) ||
        !read.accounts.Load(in, db) || !read.kinds.Load(in) || !LoadRefs(in, db, read.series) ||
        !in.ReadInt(chartSize) || chartSize > kMaxChartSettings || chartSize > in.Remaining())
        return false;
    read.chartSettings.assign(in.Here(), in.Here() + chartSize);
    if (!in.Skip(chartSize) || !ReadRef(in, db, read.rateCurrency) || !ReadRef(in, db, read.rateInCurrency) ||
        !ReadRef(in, db, read.grouping))
        return false;
    parameters = std::move(read);
    return true;
}

}  // namespace UserInterface::Reports
