#include "rates/DownloadWizard.h"

#include "core/AStrings.h"
#include "core/CodePage.h"
#include "database/Lookups.h"

namespace Rates {

// Fills the rows before the owner hears that all is done.
class ARateDownloadWizard::ARowFiller : public ADownloadObserver {
public:
    ARowFiller(ARateDownloadWizard& wizard, ADownloadObserver& owner) : wizard_(wizard), owner_(owner) {}
    void OnProgress(std::uint64_t bytes) override { owner_.OnProgress(bytes); }
    void OnResourceReady() override { owner_.OnResourceReady(); }
    void OnAllDone() override
    {
        wizard_.FillRows();
        owner_.OnAllDone();
    }

private:
    ARateDownloadWizard& wizard_;
    ADownloadObserver& owner_;
};

ARateDownloadWizard::ARateDownloadWizard(Database::ADatabase& db, const UtilityClasses::Strings::AStrings& strings,
                                         std::vector<std::unique_ptr<ADataSourceItem>> sources, AClock clock,
                                         ADownloadOptions options)
    : db_(db), strings_(strings), sources_(std::move(sources)), options_(options)
{
    // Presets: rates from the first of this month to today, sampled monthly.
    to_ = clock().date;
    const Dates::AYmd today = Dates::ToYmd(to_);
    from_ = Dates::FromYmd(today.year, today.month, 1);
    Select(sources_.empty() ? -1 : 0);
}

// The download goes first: it refers to its source.
ARateDownloadWizard::~ARateDownloadWizard() { download_.reset(); }

ADataSourceItem* ARateDownloadWizard::Source() const
{
    return selected_ >= 0 ? sources_[static_cast<std::size_t>(selected_)].get() : nullptr;
}

void ARateDownloadWizard::Select(int index)
{
    if (index < -1 || index >= static_cast<int>(sources_.size()) || index == selected_)
        return;
    download_.reset();
    selected_ = index;
    if (ADataSourceItem* source = Source())
        download_ = std::make_unique<ARateDownload>(*source, options_);
    Rebuild();
}

std::u16string ARateDownloadWizard::NoSourcesText(std::string_view folder)
{
    return u"Библиотеки загрузки не найдены. Поместите библиотеку загрузки в папку " +
           UtilityClasses::Strings::Utf8ToUtf16(folder) + u" и откройте мастер снова.";
}

ASourceDetails ARateDownloadWizard::SelectedDetails() const
{
    const ADataSourceItem* source = Source();
    return source ? source->Details() : ASourceDetails{};
}

void ARateDownloadWizard::SetNamesOnly(bool namesOnly)
{
    namesOnly_ = namesOnly;
    Rebuild();
}

void ARateDownloadWizard::SetPeriod(ADate from, ADate to)
{
    from_ = from;
    to_ = to;
    Rebuild();
}

void ARateDownloadWizard::SetMode(ASamplingMode mode)
{
    mode_ = mode;
    Rebuild();
}

// Built from the period as it stands, also when names only leave it disabled.
void ARateDownloadWizard::Rebuild()
{
    estimate_ = download_ && !download_->Running() ? download_->BuildRequests(from_, to_, mode_) : 0;
}

std::u16string ARateDownloadWizard::EstimateText() const { return Rates::EstimateText(estimate_, strings_.Locale()); }

bool ARateDownloadWizard::StartDownload(std::function<void()> wake)
{
    if (!download_ || !CanLeaveChoice())
        return false;
    done_ = false;
    rows_.clear();
    return download_->Start(from_, to_, mode_, std::move(wake));
}

void ARateDownloadWizard::Deliver(ADownloadObserver& observer)
{
    if (!download_)
        return;
    ARowFiller filler(*this, observer);
    download_->Deliver(filler);
}

bool ARateDownloadWizard::WaitForNotices(std::chrono::milliseconds timeout)
{
    return download_ && download_->WaitForNotices(timeout);
}

ADownloadCounts ARateDownloadWizard::Counts() const { return download_ ? download_->Counts() : ADownloadCounts{}; }

std::u16string ARateDownloadWizard::StatusText() const
{
    const auto number = [](std::size_t n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    const ADownloadCounts counts = Counts();
    if (!done_)
        return strings_.Format(WizardText::kLoading,
                               {number(counts.parsed + counts.failed) + u" / " + number(counts.requests)});
    std::u16string text(strings_.Text(WizardText::kDone));
    if (counts.failed > 0)
        text += u" " + number(counts.parsed) + u" / " + number(counts.requests);
    return text;
}

void ARateDownloadWizard::Cancel()
{
    if (download_)
        download_->Cancel();
    done_ = false;
    rows_.clear();
}

void ARateDownloadWizard::FillRows()
{
    const ADataSourceItem* source = Source();
    rows_.clear();
    for (const ADownloadedCurrency& entry : download_->Currencies().Entries()) {
        ACurrencyRow row{source->Text(entry.name.c_str()), source->Text(entry.code.c_str())};
        row.known = Database::CurrencyByCode(db_, row.code) != nullptr;
        row.checked = row.known;
        rows_.push_back(std::move(row));
    }
    done_ = true;
}

std::u16string ARateDownloadWizard::ChooseText() const
{
    return strings_.Format(WizardText::kChooseCurrencies,
                           {namesOnly_ ? std::u16string_view() : strings_.Text(WizardText::kAndRates)});
}

AWriteOutcome ARateDownloadWizard::Finish()
{
    const ADataSourceItem* source = Source();
    if (!done_ || !source)
        return {};
    const ASourceDetails details = source->Details();
    ADownloadSelection selection;
    selection.baseCode = details.baseCode;
    selection.baseName = details.baseName;
    selection.withRates = !namesOnly_;
    selection.crossRates = crossRates_ && !namesOnly_;
    const auto& entries = download_->Currencies().Entries();
    for (std::size_t i = 0; i < rows_.size() && i < entries.size(); ++i)
        selection.items.push_back({rows_[i].code, rows_[i].name, &entries[i].rates, rows_[i].checked});
    return WriteDownloadedRates(db_, selection, strings_.Text(WizardText::kStepLabel));
}

}  // namespace Rates
