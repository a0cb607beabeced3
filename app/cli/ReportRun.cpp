#include "ReportRun.h"

#include "CliMessages.h"
#include "DataFileAccess.h"

namespace Cli {

namespace {

// Prints the messages to standard error; answers the JSON list of their texts.
AJson ReportMessages(const ACliContext& context, const std::vector<UserInterface::AReportMessage>& messages)
{
    AJson list = AJson::array();
    for (const auto& message : messages) {
        const std::string text = Utf8(message.Format(context.strings));
        context.err << text << '\n';
        list.push_back(text);
    }
    return list;
}

}  // namespace

bool AReportRun::Prepare(std::initializer_list<std::string_view> required, UserInterface::Filters::ADatePeriod& period,
                         const AReadOptions& readOptions, const AValidate& validate)
{
    if (!RequireOptions(context_, arguments_, required)) {
        exitCode_ = kUsageError;
        return false;
    }
    const AOpenOutcome opened = OpenDataFile(context_, db_, arguments_.positionals[0]);
    exitCode_ = opened.exitCode;
    if (!opened.open)
        return false;
    AReportOptionReader read(context_, db_, arguments_);
    if (!read.Period(period) || !readOptions(read)) {
        exitCode_ = read.Failure();
        return false;
    }
    if (const auto refusal = validate()) {
        PrintMessage(context_, context_.err, *refusal);
        exitCode_ = kFailed;
        return false;
    }
    return true;
}

bool AReportRun::PrepareReport(std::initializer_list<std::string_view> required,
                               UserInterface::Reports::AReportParameters& parameters, const AReadOptions& readOptions)
{
    return Prepare(required, parameters.period, readOptions,
                   [&] { return UserInterface::Reports::ValidateReport(db_, parameters); });
}

AExitCode AReportRun::Finish(const AReportHead& head, const std::function<void(AJson&)>& addFields,
                             const std::function<void()>& printTable)
{
    const bool hadMessages = head.messages && !head.messages->empty();
    const AJson messages = head.messages ? ReportMessages(context_, *head.messages) : AJson();
    if (arguments_.Flag("--json")) {
        AJson json = {{"report", head.report}, {"from", JsonDate(head.period.Start())},
                      {"to", JsonDate(head.period.End())}};
        if (head.currency)
            json["currency"] = Utf8(*head.currency);
        addFields(json);
        if (head.messages)
            json["messages"] = messages;
        context_.out << json.dump(2) << '\n';
    } else {
        printTable();
    }
    return exitCode_ == kDone && hadMessages ? kDoneWithMessages : exitCode_;
}

}  // namespace Cli
