#include "ReportOptions.h"

#include "AccountArgument.h"

#include "CliMessages.h"

#include "database/Lookups.h"
#include "database/StepView.h"

#include <charconv>

namespace Cli {

using namespace Database;
namespace Filters = UserInterface::Filters;

std::optional<ADate> ParseCliDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int parts[3] = {};
    const std::string_view pieces[3] = {text.substr(0, 4), text.substr(5, 2), text.substr(8, 2)};
    for (int i = 0; i < 3; ++i) {
        for (char c : pieces[i])
            if (c < '0' || c > '9')
                return std::nullopt;
        std::from_chars(pieces[i].data(), pieces[i].data() + pieces[i].size(), parts[i]);
    }
    const auto [year, month, day] = parts;
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > Dates::DaysInMonth(year, month))
        return std::nullopt;
    return Dates::FromYmd(year, month, day);
}

std::vector<std::string> SplitList(std::string_view text)
{
    std::vector<std::string> pieces;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view piece = text.substr(0, comma);
        if (!piece.empty())
            pieces.emplace_back(piece);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return pieces;
}

bool RequireOptions(const ACliContext& context, const AParsedArguments& arguments,
                    std::initializer_list<std::string_view> options)
{
    auto fail = [&](const std::string& text) {
        context.err << "fendral-cli: " << text << "\nTry 'fendral-cli " << arguments.command << " --help'.\n";
        return false;
    };
    for (std::string_view option : options) {
        const auto value = arguments.Option(option);
        if (!value)
            return fail("'" + arguments.command + "' needs " + std::string(option));
        if ((option == "--from" || option == "--to") && !ParseCliDate(*value))
            return fail("a date is written YYYY-MM-DD: '" + *value + "'");
    }
    return true;
}

bool AReportOptionReader::UsageError(const std::string& text)
{
    context_.err << "fendral-cli: " << text << "\nTry 'fendral-cli " << arguments_.command << " --help'.\n";
    failure_ = kUsageError;
    return false;
}

bool AReportOptionReader::NotInFile(const std::string& text)
{
    context_.err << "fendral-cli: " << text << '\n';
    failure_ = kFailed;
    return false;
}

std::optional<std::string> AReportOptionReader::Required(std::string_view option)
{
    auto value = arguments_.Option(option);
    if (!value)
        UsageError("'" + arguments_.command + "' needs " + std::string(option));
    return value;
}

bool AReportOptionReader::Period(Filters::ADatePeriod& period)
{
    const auto from = Required("--from");
    if (!from)
        return false;
    const auto to = Required("--to");
    if (!to)
        return false;
    const auto start = ParseCliDate(*from), end = ParseCliDate(*to);
    if (!start || !end)
        return UsageError("a date is written YYYY-MM-DD: '" + (start ? *to : *from) + "'");
    period.SetDates(*start, *end, Filters::TransactionDateRange(db_, false));
    return true;
}

bool AReportOptionReader::Currency(std::string_view option, AReference<ACurrency>& currency)
{
    const auto code = Required(option);
    if (!code)
        return false;
    const auto* slot = CurrencyByCode(db_, FromUtf8(*code));
    if (!slot)
        return NotInFile("the file has no currency with the code \"" + *code + "\"");
    currency = Engine::ATableImpl<ACurrency>::RefTo(slot);
    return true;
}

bool AReportOptionReader::Accounts(Filters::AAccountSelection& accounts)
{
    std::vector<AReference<AAccount>> chosen;
    const auto list = arguments_.Option("--accounts");
    if (!list) {
        for (const auto* account : db_.Accounts().Live())
            chosen.push_back(Engine::ATableImpl<AAccount>::RefTo(account));
        accounts = Filters::AAccountSelection(std::move(chosen));
        return true;
    }
    for (const std::string& item : SplitList(*list)) {
        switch (FindAccounts(db_, item, chosen)) {
        case AAccountLookup::Found: break;
        case AAccountLookup::Malformed: return UsageError("an account is written NAME@CODE: '" + item + "'");
        case AAccountLookup::NotInFile: return NotInFile("the file has no account \"" + item + "\"");
        }
    }
    accounts = Filters::AAccountSelection(std::move(chosen));
    return true;
}

bool AReportOptionReader::Kinds(Filters::ATransactionKindFlags& kinds)
{
    const auto list = arguments_.Option("--kinds");
    if (!list) {
        kinds = {};
        return true;
    }
    Filters::ATransactionKindFlags read{false, false, false, false};
    for (const std::string& word : SplitList(*list)) {
        bool* flag = word == "income"    ? &read.income
                     : word == "expense" ? &read.expense
                     : word == "credits" ? &read.transferCredits
                     : word == "debits"  ? &read.transferDebits
                                         : nullptr;
        if (!flag)
            return UsageError("--kinds takes income, expense, credits and debits, not '" + word + "'");
        *flag = true;
    }
    kinds = read;
    return true;
}

bool AReportOptionReader::Grouping(AReference<AClassifier>& classifier)
{
    const auto name = Required("--group-by");
    if (!name)
        return false;
    const std::u16string wanted = FromUtf8(*name);
    const auto* slot = FirstLive(db_.Classifiers(), [&](const AClassifier& c) {
        return db_.Text(c.singular) == wanted || db_.Text(c.plural) == wanted;
    });
    if (!slot)
        return NotInFile("the file has no classifier \"" + *name + "\"");
    classifier = Engine::ATableImpl<AClassifier>::RefTo(slot);
    return true;
}

bool AReportOptionReader::Bucket(Filters::APeriodKind& bucket)
{
    const auto value = Required("--bucket");
    if (!value)
        return false;
    int index = -1;
    const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), index);
    if (error != std::errc() || end != value->data() + value->size())
        index = -1;
    for (int k = 0; index < 0 && k < Filters::kPeriodKindCount; ++k)
        if (context_.strings.Text(Filters::PeriodKindLabel(static_cast<Filters::APeriodKind>(k))) == FromUtf8(*value))
            index = k;
    const auto kind = Filters::PeriodKindFromIndex(index);
    if (!kind)
        return UsageError("--bucket takes a period kind's index 0..13 or its label, not '" + *value + "'");
    bucket = *kind;
    return true;
}

bool AReportOptionReader::SeriesList(std::vector<AReference<ASeries>>& series)
{
    const auto list = Required("--series");
    if (!list)
        return false;
    series.clear();
    for (const std::string& name : SplitList(*list)) {
        const std::u16string wanted = FromUtf8(name);
        const auto* slot = FirstLive(db_.Series(), [&](const ASeries& s) { return db_.Text(s.name) == wanted; });
        if (!slot)
            return NotInFile("the file has no data series \"" + name + "\"");
        series.push_back(Engine::ATableImpl<ASeries>::RefTo(slot));
    }
    return true;
}

}  // namespace Cli
