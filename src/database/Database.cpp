#include "database/Database.h"

namespace Database {

ADatabase::ADatabase(AClock clock) : ADBEngine(std::move(clock))
{
    AddTable<AString>();
    AddTable<AUser>();
    AddTable<APageInfo>();
    AddTable<ACurrency>();
    AddTable<ARateHeader>();
    AddTable<ARateValue>();
    AddTable<AAccount>();
    AddTable<ACategory>();
    AddTable<AClassifier>();
    AddTable<ATransaction>();
    AddTable<ARelation>();
    AddTable<ADBSettings>();
    AddTable<ASeries>();
    AddTable<ASeriesAccountFilter>();
    AddTable<ASeriesNodeFilter>();
    AddTable<ABudgetItem>();
    AddTable<ABudgetLimit>();
    AddTable<AAccountFolder>();
    AddTable<AAccountPlacement>();
}

const std::u16string& ADatabase::Text(AReference<AString> ref)
{
    static const std::u16string empty;
    const AString* text = Strings().Record(ref);
    return text ? text->text : empty;
}

void ADatabase::AfterTablesRead() { ConvertOlderAccounts(); }

bool ADatabase::SavesAfterEveryChange() const
{
    return afterChangeSave_ && afterChangeSave_->Enabled() && HasStorage() && !ReadOnly();
}

void ADatabase::AfterChange()
{
    // A database without a file (or a read-only one) waits for Save as.
    if (!SavesAfterEveryChange() || !Modified())
        return;
    afterChangeSave_->BeforeSave(FileName().FullPath());
    if (const HRESULT result = Save(); Result::Failed(result))
        afterChangeSave_->SaveFailed(result);
}

void ADatabase::ConvertOlderAccounts()
{
    auto& accounts = Accounts();
    auto& folders = Folders();
    auto& placements = Placements();
    bool converted = false;
    for (std::size_t i = 0; i < accounts.SlotCount(); ++i) {
        auto& slot = accounts.SlotAt(i);
        AAccount& account = slot.Record();
        if (account.currency.IsNull()) {
            AAccountFolder folder;
            folder.name = account.name;
            folder.comment = account.comment;
            folder.parent = AReference<AAccountFolder>::FromWord(account.olderFolder.Word());
            folder.locked = account.locked;
            folders.AddLoaded(folder, slot.id, slot.stamp);
            converted = true;
        } else if (!account.olderFolder.IsNull()) {
            AAccountPlacement placement;
            placement.account = AReference<AAccount>::FromWord(slot.id);
            placement.folder = account.olderFolder;
            placements.AddLoaded(placement, placements.TakeNextId(), slot.stamp);
            account.olderFolder = {};
            converted = true;
        }
    }
    if (!converted)
        return;
    accounts.EraseLoadedIf([](const Engine::ASlot<AAccount>& slot) { return slot.Record().currency.IsNull(); });
    // The older records stay in table 7 of the file until every stream is written anew.
    RequireFullRewrite();
}

}  // namespace Database
