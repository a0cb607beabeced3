// The rate download wizard without its windows: the four steps' state, presets and
// rules for going on, the download of step 3, the currency list of step 4 and the
// writing on finish. The wizard's window (or the command-line program) shows it.
//
//   1 source    Next when a source is selected (the first one is, when there is any)
//   2 what      names only, or names with rates for a period and a sampling mode; every
//               change rebuilds the estimate; Next for names only or a non-zero estimate
//   3 download  Start, then Deliver notices until done; Next once done
//   4 choose    one ticked row per downloaded currency (ticked when the data file has
//               its code), the cross-rate tick when rates were loaded; Finish writes
#pragma once

#include "rates/LoadRate.h"
#include "rates/RatesTexts.h"
#include "rates/RateSources.h"
#include "rates/WriteDownloadedRates.h"

#include "database/Database.h"

#include <string_view>

namespace UtilityClasses::Strings { class AStrings; }

namespace Rates {

struct ACurrencyRow {
    std::u16string name;
    std::u16string code;
    bool checked = false;
    bool known = false;  // the data file has a currency with this code
};

class ARateDownloadWizard {
public:
    ARateDownloadWizard(Database::ADatabase& db, const UtilityClasses::Strings::AStrings& strings,
                        std::vector<std::unique_ptr<ADataSourceItem>> sources, AClock clock,
                        ADownloadOptions options = {});
    ~ARateDownloadWizard();

    // ---- step 1 ----
    const std::vector<std::unique_ptr<ADataSourceItem>>& Sources() const { return sources_; }
    int Selected() const { return selected_; }
    // -1 selects nothing.
    void Select(int index);
    ASourceDetails SelectedDetails() const;
    bool CanLeaveSource() const { return selected_ >= 0; }
    // Shown on step 1 when the folder held no rate source: where to put one.
    static std::u16string NoSourcesText(std::string_view folder);

    // ---- step 2 ----
    bool NamesOnly() const { return namesOnly_; }
    void SetNamesOnly(bool namesOnly);
    ADate From() const { return from_; }
    ADate To() const { return to_; }
    void SetPeriod(ADate from, ADate to);
    ASamplingMode Mode() const { return mode_; }
    void SetMode(ASamplingMode mode);
    // The period fields and the estimate are for names with rates only.
    bool PeriodEnabled() const { return !namesOnly_; }
    std::uint64_t Estimate() const { return estimate_; }
    std::u16string EstimateText() const;
    bool CanLeaveChoice() const { return namesOnly_ || estimate_ > 0; }

    // ---- step 3 ----
    // Entering the step: starts the download (see ARateDownload::Start for `wake`).
    bool StartDownload(std::function<void()> wake = {});
    // Hands notices on; on the all-done notice the step-4 rows are filled first.
    void Deliver(ADownloadObserver& observer);
    bool WaitForNotices(std::chrono::milliseconds timeout);
    bool DownloadDone() const { return done_; }
    bool CanLeaveDownload() const { return done_; }
    ADownloadCounts Counts() const;
    // The status line: "Загружается: answered / requests" while the download runs; once it
    // is done "Данные загружены.", followed by "arrived / requests" when some requests failed,
    // so that a server that answered nothing useful is not passed over in silence.
    std::u16string StatusText() const;
    // Stops a running download; nothing is written.
    void Cancel();

    // ---- step 4 ----
    std::u16string ChooseText() const;
    std::vector<ACurrencyRow>& Rows() { return rows_; }
    const std::vector<ACurrencyRow>& Rows() const { return rows_; }
    bool CrossRatesEnabled() const { return !namesOnly_; }
    bool CrossRates() const { return crossRates_; }
    void SetCrossRates(bool cross) { crossRates_ = cross; }
    // Writes the ticked currencies (and their rates) as one step "Загрузка валют".
    AWriteOutcome Finish();

private:
    class ARowFiller;
    void Rebuild();
    void FillRows();
    ADataSourceItem* Source() const;

    Database::ADatabase& db_;
    const UtilityClasses::Strings::AStrings& strings_;
    std::vector<std::unique_ptr<ADataSourceItem>> sources_;
    ADownloadOptions options_;
    int selected_ = -1;
    bool namesOnly_ = false;
    ADate from_ = 0;
    ADate to_ = 0;
    ASamplingMode mode_ = kDefaultSamplingMode;
    std::uint64_t estimate_ = 0;
    // Made for the selected source; a new selection makes a new one.
    std::unique_ptr<ARateDownload> download_;
    bool done_ = false;
    std::vector<ACurrencyRow> rows_;
    bool crossRates_ = false;
};

}  // namespace Rates
