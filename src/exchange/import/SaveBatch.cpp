#include "exchange/import/SaveBatch.h"

#include "database/DatabaseRules.h"
#include "database/StepView.h"
#include "database/engine/StepGuard.h"
#include "exchange/import/SaveBatchSaver.h"

namespace ExportImport {

namespace Private {

namespace {
using Database::Engine::ASlot;
using Database::Engine::ATableImpl;
}  // namespace

ABatchSaver::ABatchSaver(const AImportEnvironment& environment, AImportBatch& batch)
    : environment_(environment),
      batch_(batch),
      source_(batch.Db()),
      target_(environment.dataFile),
      index_(environment.dataFile),
      currencies_(source_.Currencies().SlotCount()),
      accounts_(source_.Accounts().SlotCount()),
      categories_(source_.Categories().SlotCount()),
      transactions_(source_.Transactions().SlotCount()),
      children_(source_.Categories().SlotCount()),
      progress_(environment.progress, batch.RecordCount())
{
}

void ABatchSaver::Status(int stringId)
{
    if (environment_.progress)
        environment_.progress->SetCaption(environment_.strings.Text(stringId));
}

void ABatchSaver::Advance() { progress_.Advance(); }

AReference<Database::AString> ABatchSaver::CopyText(AReference<Database::AString> text)
{
    return text ? target_.NewText(source_.Text(text)) : AReference<Database::AString>();
}

void ABatchSaver::Run()
{
    // Linking the transactions to their categories, and filing the records into the indexes
    // and recalculating the balances at the end, take about a fifth each of the time of
    // copying the records; those shares of the bar are theirs.
    if (environment_.progress)
        environment_.progress->LoadSteps({5, 1, 1});
    SaveCurrencies();
    SaveRates();
    SaveAccounts();
    SaveClassifiers();
    SaveTransactions();
}

void ABatchSaver::SaveCurrencies()
{
    Status(ImportText::kSavingCurrencies);
    Database::ForEachLive(source_.Currencies(), [&](ASlot<ACurrency>* slot) {
        const ACurrency& imported = slot->Record();
        const std::u16string& code = source_.Text(imported.code);
        AReference<ACurrency> stored = index_.Currency(code);
        if (!stored) {
            stored = ATableImpl<ACurrency>::RefTo(target_.Currencies().Create(
                ACurrency{target_.NewText(source_.Text(imported.name)), target_.NewText(code), imported.precision}));
            index_.NoteCurrency(code, stored);
        }
        currencies_[slot->position] = stored;
        Advance();
    });
}

void ABatchSaver::SaveRates()
{
    Status(ImportText::kSavingCurrencies + 1);
    Database::ForEachLive(source_.RateValues(), [&](ASlot<ARateValue>* slot) {
        const ARateValue& imported = slot->Record();
        const ARateHeader& pair = *source_.RateHeaders().Record(imported.header);
        const AReference<ACurrency> first = currencies_[pair.currency1.SlotPosition()];
        const AReference<ACurrency> second = currencies_[pair.currency2.SlotPosition()];
        // A rate the data file already has for the day stays as it is (the read phase
        // warned when it differed).
        if (!index_.RateOn(first, second, imported.date)) {
            ARateValue value = imported;
            if (const auto header = index_.HeaderFor(first, second)) {
                value.header = header->ref;
                if (header->swapped)
                    std::swap(value.amount1, value.amount2);
            } else {
                value.header = ATableImpl<ARateHeader>::RefTo(target_.RateHeaders().Create(ARateHeader{first, second}));
            }
            target_.RateValues().Create(value);
        }
        Advance();
    });
}

void ABatchSaver::SaveAccounts()
{
    Status(ImportText::kSavingCurrencies + 2);
    std::vector<ASlot<Database::AAccountFolder>*> plans;
    Database::ForEachLive(target_.Folders(), [&](ASlot<Database::AAccountFolder>* folder) {
        if (folder->Record().parent.IsNull())
            plans.push_back(folder);
    });
    Database::ForEachLive(source_.Accounts(), [&](ASlot<AAccount>* slot) {
        const AAccount& imported = slot->Record();
        const std::u16string& name = source_.Text(imported.name);
        const std::u16string& code = batch_.CurrencyCode(imported.currency);
        AReference<AAccount> stored = index_.Account(name, code);
        if (!stored) {
            AAccount account = imported;
            account.name = target_.NewText(name);
            account.comment = CopyText(imported.comment);
            account.currency = currencies_[imported.currency.SlotPosition()];
            stored = ATableImpl<AAccount>::RefTo(target_.Accounts().Create(account));
            index_.NoteAccount(name, code, stored);
            for (ASlot<Database::AAccountFolder>* plan : plans) {
                target_.Placements().Create(
                    Database::AAccountPlacement{stored, ATableImpl<Database::AAccountFolder>::RefTo(plan)});
                // A locked folder holds only locked accounts: an unlocked one opens it.
                if (!account.locked && plan->Record().locked)
                    target_.Folders().Change(plan)->locked = 0;
            }
        }
        accounts_[slot->position] = stored;
        Advance();
    });
}

void ABatchSaver::SaveTransactions()
{
    Status(ImportText::kSavingCurrencies + 4);
    Database::ForEachLive(source_.Transactions(), [&](ASlot<ATransaction>* slot) {
        ATransaction transaction = slot->Record();
        for (AReference<AAccount>* account : {&transaction.account1, &transaction.account2})
            if (*account)
                *account = accounts_[account->SlotPosition()];
        transaction.comment = CopyText(transaction.comment);
        for (auto& extra : transaction.extraComment)
            extra = CopyText(extra);
        transactions_[slot->position] = ATableImpl<ATransaction>::RefTo(target_.Transactions().Create(transaction));
        Advance();
    });
    if (environment_.progress)
        environment_.progress->NextStep();
    Private::AItemProgress linked(environment_.progress, source_.Relations().LiveCount());
    Database::ForEachLive(source_.Relations(), [&](ASlot<Database::ARelation>* slot) {
        linked.Advance();
        const Database::ARelation& imported = slot->Record();
        target_.Relations().Create(Database::ARelation{categories_[imported.category.SlotPosition()],
                                                       transactions_[imported.transaction.SlotPosition()]});
    });
}

}  // namespace Private

HRESULT SaveBatch(const AImportEnvironment& environment, AImportBatch& batch)
{
    Database::ADatabase& db = environment.dataFile;
    Database::Engine::AStepGuard step(db, environment.strings.Text(ImportText::kImportCaption));
    Private::ABatchSaver(environment, batch).Run();
    if (environment.progress)
        environment.progress->NextStep();
    // The rules recalculate the balances of every account the step touched, once.
    if (Database::ApplyRules(db).overflowed) {
        db.RollBack();
        return kImportBalanceOverflow;
    }
    if (environment.progress)
        environment.progress->Notify(10);
    db.CommitStep();
    if (environment.progress)
        environment.progress->Notify(100);
    return Result::kOk;
}

}  // namespace ExportImport
