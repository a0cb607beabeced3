#include "RateCommands.h"

#include "CliMessages.h"
#include "DataFileAccess.h"
#include "DataFileSave.h"
#include "TerminalProgress.h"

#include "rates/DownloadWizard.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace Cli {

namespace {

using Rates::ARateDownloadWizard;

constexpr int kDownloading = Rates::WizardText::kLoading;

std::string Utf8(std::u16string_view text) { return TerminalText(text); }

std::optional<ADate> ParseDate(const std::string& text)
{
    int year = 0, month = 0, day = 0;
    char rest = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3 ||
        year < 100 || month < 1 || month > 12 || day < 1 || day > Dates::DaysInMonth(year, month))
        return std::nullopt;
    return Dates::FromYmd(year, month, day);
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        items.push_back(text.substr(start, comma - start));
    items.push_back(text.substr(start));
    std::erase_if(items, [](const std::string& item) { return item.empty(); });
    return items;
}

// A source by its file name, with or without ".so", or by its shown name.
int FindSource(const std::vector<std::unique_ptr<Rates::ADataSourceItem>>& sources, const std::string& wanted)
{
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::string& file = sources[i]->FileName();
        if (file == wanted || file == wanted + ".so" || Utf8(sources[i]->Name()) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

// The download's progress as a bar on a terminal.
class ADownloadBar : public Rates::ADownloadObserver {
public:
    ADownloadBar(const ACliContext& context, std::uint64_t total, std::u16string_view title)
        : context_(context), total_(total), shown_(context.errIsTerminal)
    {
        if (shown_)
            context_.err << TerminalText(title) << '\n' << ATerminalProgress::Bar(0) << std::flush;
    }
    void OnProgress(std::uint64_t bytes) override
    {
        received_ += bytes;
        if (shown_ && total_ > 0)
            context_.err << '\r' << ATerminalProgress::Bar(static_cast<int>(received_ * 100 / total_)) << std::flush;
    }
    void OnResourceReady() override {}
    void OnAllDone() override
    {
        if (shown_)
            context_.err << '\r' << ATerminalProgress::Bar(100) << '\n' << std::flush;
    }

private:
    const ACliContext& context_;
    std::uint64_t total_;
    std::uint64_t received_ = 0;
    bool shown_;
};

struct ADownloadChoice {
    std::string source;
    bool namesOnly;
    bool cross;
    std::optional<ADate> from, to;
    Rates::ASamplingMode mode = Rates::kDefaultSamplingMode;
    std::optional<std::vector<std::string>> currencies;
};

// The options as the wizard's choices; an error text for a usage error.
std::string ReadOptions(const AParsedArguments& arguments, ADownloadChoice& request)
{
    request.source = arguments.Option("--source").value_or("");
    request.namesOnly = arguments.Flag("--names-only");
    request.cross = arguments.Flag("--cross");
    if (request.source.empty())
        return "rates download needs --source NAME (see 'fendral-cli rates sources')";
    if (request.namesOnly && request.cross)
        return "--cross needs rates: it can't go with --names-only";
    for (const auto& [name, date] : {std::pair{"--from", &request.from}, std::pair{"--to", &request.to}}) {
        if (const auto text = arguments.Option(name)) {
            *date = ParseDate(*text);
            if (!*date)
                return std::string(name) + " needs a date as YYYY-MM-DD, not '" + *text + "'";
        }
    }
    if (const auto sample = arguments.Option("--sample")) {
        const int index = sample->size() == 1 ? (*sample)[0] - '0' : -1;
        const auto mode = Rates::SamplingModeFromIndex(index);
        if (!mode)
            return "--sample needs a number from 0 to 4, not '" + *sample + "'";
        request.mode = *mode;
    }
    if (const auto codes = arguments.Option("--currencies"))
        request.currencies = SplitList(*codes);
    return {};
}

// Ticks the listed codes only, or leaves the wizard's pre-ticks; answers the listed
// codes that were not downloaded.
std::vector<std::string> TickCurrencies(ARateDownloadWizard& wizard, const ADownloadChoice& request)
{
    if (!request.currencies)
        return {};
    const std::set<std::string> wanted(request.currencies->begin(), request.currencies->end());
    std::set<std::string> missing = wanted;
    for (Rates::ACurrencyRow& row : wizard.Rows()) {
        const std::string code = Utf8(row.code);
        row.checked = wanted.contains(code);
        missing.erase(code);
    }
    return {missing.begin(), missing.end()};
}

void PrintOutcome(const ACliContext& context, const ARateDownloadWizard& wizard, const Rates::AWriteOutcome& written)
{
    const Rates::ADownloadCounts counts = wizard.Counts();
    const std::size_t ticked =
        std::count_if(wizard.Rows().begin(), wizard.Rows().end(), [](const auto& row) { return row.checked; });
    context.out << "Resources: " << counts.requests << " requested, " << counts.parsed << " received, "
                << counts.failed << " failed\n"
                << "Currencies: " << wizard.Rows().size() << " downloaded, " << ticked << " chosen, "
                << written.currenciesCreated << " added\n"
                << "Rates: " << written.ratesAdded << " added, " << written.crossRatesAdded << " cross rates added, "
                << written.ratesKept << " already in the file\n";
}

}  // namespace

AExitCode RunRatesSources(const ACliContext& context, const AParsedArguments&)
{
    const std::string pluginFolder = ProgramLayout().pluginFolder;
    const auto sources = Rates::FindRateSources(pluginFolder, context.strings.CodePage());
    if (sources.empty())
        context.out << "No rate-source plug-ins in " << pluginFolder << '\n';
    for (const auto& source : sources) {
        const Rates::ASourceDetails details = source->Details();
        context.out << source->FileName() << ": " << Utf8(details.name) << '\n'
                    << "  host: " << source->Host() << '\n'
                    << "  base currency: " << Utf8(details.baseCode) << " (" << Utf8(details.baseName) << ")\n"
                    << "  author: " << Utf8(details.author) << " <" << Utf8(details.email) << ">\n"
                    << "  site: " << Utf8(details.site) << '\n';
    }
    return kDone;
}

AExitCode RunRatesDownload(const ACliContext& context, const AParsedArguments& arguments)
{
    ADownloadChoice request;
    if (const std::string error = ReadOptions(arguments, request); !error.empty()) {
        context.err << "fendral-cli: " << error << '\n';
        return kUsageError;
    }
    auto sources = Rates::FindRateSources(ProgramLayout().pluginFolder, context.strings.CodePage());
    const int index = FindSource(sources, request.source);
    if (index < 0) {
        context.err << "fendral-cli: there is no rate source \"" << request.source
                    << "\" among the plug-ins (see 'fendral-cli rates sources')\n";
        return kUsageError;
    }

    Database::ADatabase db;
    const AOpenOutcome opened = OpenDataFileToChange(context, db, arguments.positionals[0]);
    if (!opened.open)
        return opened.exitCode;

    ARateDownloadWizard wizard(db, context.strings, std::move(sources), SystemLocalTime);
    wizard.Select(index);
    wizard.SetNamesOnly(request.namesOnly);
    wizard.SetPeriod(request.from.value_or(wizard.From()), request.to.value_or(wizard.To()));
    wizard.SetMode(request.mode);
    if (!wizard.CanLeaveChoice()) {
        context.err << "fendral-cli: no date of the period is sampled: there are no rates to download\n";
        return kFailed;
    }
    {
        ADownloadBar bar(context, wizard.Estimate(),
                         context.strings.Format(kDownloading, {wizard.Sources()[index]->Name()}));
        if (!wizard.StartDownload())
            return kFailed;
        while (!wizard.DownloadDone()) {
            wizard.WaitForNotices(std::chrono::milliseconds(100));
            wizard.Deliver(bar);
        }
    }

    const std::vector<std::string> missing = TickCurrencies(wizard, request);
    for (const std::string& code : missing)
        context.err << "fendral-cli: the source gave no currency " << code << '\n';
    wizard.SetCrossRates(request.cross);
    const Rates::AWriteOutcome written = wizard.Finish();
    if (written.written && !SaveDataFileInPlace(context, db))
        return kFailed;
    PrintOutcome(context, wizard, written);
    if (wizard.Counts().failed > 0) {
        context.err << "fendral-cli: " << wizard.Counts().failed << " of " << wizard.Counts().requests
                    << " resources could not be downloaded\n";
        return kDoneWithMessages;
    }
    return missing.empty() ? opened.exitCode : kDoneWithMessages;
}

}  // namespace Cli
