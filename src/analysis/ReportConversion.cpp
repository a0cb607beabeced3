#include "analysis/ReportConversion.h"

#include "analysis/AnalysisTexts.h"

namespace UserInterface {

using namespace Database;

AReportConverter::AReportConverter(ADatabase& db, AReference<ACurrency> target)
    : db_(db), target_(target), converters_(db.Currencies().SlotCount())
{
}

const ARateConverter* AReportConverter::ConverterFor(AReference<ACurrency> from)
{
    if (!from.IsResolved() || from.SlotPosition() >= converters_.size() || !db_.Currencies().Record(from) ||
        !db_.Currencies().Record(target_))
        return nullptr;
    auto& converter = converters_[from.SlotPosition()];
    if (!converter)
        converter = std::make_unique<ARateConverter>(db_, from, target_);
    return converter.get();
}

bool AReportConverter::CanConvert(AReference<ACurrency> from)
{
    const ARateConverter* converter = ConverterFor(from);
    return converter && (from == target_ || converter->HasRates());
}

bool AReportConverter::Convert(AReference<ACurrency> from, ADate date, AMoney& amount)
{
    const ARateConverter* converter = ConverterFor(from);
    return converter && converter->Convert(target_, date, amount);
}

AReference<ACurrency> AReportConverter::CurrencyOf(AReference<AAccount> account) const
{
    const AAccount* record = db_.Accounts().Record(account);
    return record ? record->currency : AReference<ACurrency>();
}

std::u16string CurrencyCode(ADatabase& db, AReference<ACurrency> currency)
{
    const ACurrency* record = db.Currencies().Record(currency);
    if (!record)
        return {};
    const std::u16string& code = db.Text(record->code);
    return code.empty() ? db.Text(record->name) : code;
}

AReportMessage UnconvertibleAccountMessage(ADatabase& db, AReference<AAccount> account,
                                           AReference<ACurrency> target)
{
    const AAccount* record = db.Accounts().Record(account);
    const AReference<ACurrency> currency = record ? record->currency : AReference<ACurrency>();
    const std::u16string code = CurrencyCode(db, currency);
    return {Reports::ReportMessage::kUnconvertibleAccount,
            {record ? db.Text(record->name) : std::u16string(), code, code, CurrencyCode(db, target)}};
}

}  // namespace UserInterface
