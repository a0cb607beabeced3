#include "exchange/import/ImportDataFileIndex.h"

#include "database/Lookups.h"
#include "database/StepView.h"

namespace ExportImport::Private {

namespace {
using Database::Engine::ASlot;
using Database::Engine::ATableImpl;
__extension__ typedef __int128 AWide;
}  // namespace

ADataFileIndex::ADataFileIndex(Database::ADatabase& db) : db_(db)
{
    // The first of equal codes wins, as the model's own lookup by code does.
    Database::ForEachLive(db.Currencies(), [&](ASlot<ACurrency>* slot) {
        currencies_.emplace(db.Text(slot->Record().code), ATableImpl<ACurrency>::RefTo(slot));
    });
    Database::ForEachLive(db.Accounts(), [&](ASlot<AAccount>* slot) {
        const ACurrency* currency = db.Currencies().Record(slot->Record().currency);
        if (currency)
            accounts_.emplace(std::pair(db.Text(slot->Record().name), db.Text(currency->code)),
                              ATableImpl<AAccount>::RefTo(slot));
    });
}

AReference<ACurrency> ADataFileIndex::Currency(std::u16string_view code) const
{
    const auto found = currencies_.find(std::u16string(code));
    return found == currencies_.end() ? AReference<ACurrency>() : found->second;
}

AReference<AAccount> ADataFileIndex::Account(std::u16string_view name, std::u16string_view code) const
{
    const auto found = accounts_.find(std::pair(std::u16string(name), std::u16string(code)));
    return found == accounts_.end() ? AReference<AAccount>() : found->second;
}

void ADataFileIndex::NoteCurrency(std::u16string_view code, AReference<ACurrency> currency)
{
    currencies_.emplace(std::u16string(code), currency);
}

void ADataFileIndex::NoteAccount(std::u16string_view name, std::u16string_view code, AReference<AAccount> account)
{
    accounts_.emplace(std::pair(std::u16string(name), std::u16string(code)), account);
}

std::optional<ADataFileIndex::AHeader> ADataFileIndex::HeaderFor(AReference<ACurrency> first,
                                                                AReference<ACurrency> second)
{
    const ASlot<ARateHeader>* header = Database::RateHeaderFor(db_, first, second);
    if (!header)
        return std::nullopt;
    return AHeader{ATableImpl<ARateHeader>::RefTo(header), header->Record().currency1 != first};
}

std::optional<AImportBatch::AKnownRate> ADataFileIndex::RateOn(AReference<ACurrency> first,
                                                               AReference<ACurrency> second, ADate date)
{
    const auto header = HeaderFor(first, second);
    if (!header)
        return std::nullopt;
    ARateValue probe;
    probe.header = header->ref;
    probe.date = date;
    for (const ASlot<ARateValue>* slot : db_.RateValues().EqualRange(2, probe)) {
        const ARateValue& value = slot->Record();
        return header->swapped ? AImportBatch::AKnownRate{value.amount2, value.amount1}
                               : AImportBatch::AKnownRate{value.amount1, value.amount2};
    }
    return std::nullopt;
}

bool SameRate(AMoney a1, AMoney a2, AMoney b1, AMoney b2)
{
    return static_cast<AWide>(a1) * b2 == static_cast<AWide>(a2) * b1;
}

}  // namespace ExportImport::Private

