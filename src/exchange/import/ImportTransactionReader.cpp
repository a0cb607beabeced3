#include "exchange/import/ImportTransactionReader.h"

#include "exchange/import/ImportItemReaders.h"
#include "exchange/import/ImportValues.h"

namespace ExportImport::Private {

using Database::ATransactionKind;

void ATransactionReader::Read(const XML::AElement& item)
{
    const AChild date = FindChild(item, "date");
    if (date.Absent()) {
        Fail(ImportText::kTransactionDate.absent, &item);
        return;
    }
    if (date.Several()) {
        Fail(ImportText::kTransactionDate.several, date.element);
        return;
    }
    const auto when = ParseDateOrTimestamp(date.element->Text());
    if (!when) {
        Fail(ImportText::kTransactionDate.malformed, date.element);
        return;
    }
    record_.date = when->date;
    // Without times in the data file every transaction is at 0, as its dialog makes them.
    record_.time = times_ ? ATransaction::WholeSeconds(when->milliseconds) : 0;
    if (!ReadKind(item) || !ReadCategories(*kindElement_) || !ReadComments(item) || !ReadRecurrence(item))
        return;
    Add();
}

bool ATransactionReader::ReadKind(const XML::AElement& item)
{
    static constexpr std::pair<std::string_view, ATransactionKind> kKinds[] = {
        {"expense", ATransactionKind::Expense},
        {"income", ATransactionKind::Income},
        {"transfer", ATransactionKind::Transfer},
        {"balance", ATransactionKind::Balance},
    };
    const XML::AElement* kind = nullptr;
    for (const auto& [name, value] : kKinds)
        if ((kind = item.FirstElement(name))) {
            kind_ = value;
            break;
        }
    if (!kind)
        return Fail(ImportText::kUnknownKind, &item);
    kindElement_ = kind;

    ASide first;
    ASide second;
    switch (kind_) {
    case ATransactionKind::Income:
        if (ReadSide(*kind, ASideKind::Income, first) != ASideResult::Read)
            return false;
        break;
    case ATransactionKind::Expense:
        if (ReadSide(*kind, ASideKind::Expense, first) != ASideResult::Read)
            return false;
        break;
    case ATransactionKind::Transfer:
        if (ReadSide(*kind, ASideKind::Expense, first) != ASideResult::Read ||
            ReadSide(*kind, ASideKind::Income, second) != ASideResult::Read)
            return false;
        break;
    case ATransactionKind::Balance: {
        // The expense side when its account is given, else the income side.
        ASideResult result = ReadSide(*kind, ASideKind::Expense, first);
        if (result == ASideResult::Missing)
            result = ReadSide(*kind, ASideKind::Income, first);
        if (result == ASideResult::Missing)
            return Fail(ImportText::kBalanceNothingGiven, kind);
        if (result == ASideResult::Failed)
            return false;
        record_.balance = 1;
        break;
    }
    }
    record_.account1 = first.account;
    record_.amount1 = first.amount.value_or(0);
    record_.balance1 = first.balance.value_or(0);
    record_.account2 = second.account;
    record_.amount2 = second.amount.value_or(0);
    record_.balance2 = second.balance.value_or(0);
    return ReadKindValues(*kind);
}

ATransactionReader::ASideResult ATransactionReader::ReadSide(const XML::AElement& kind, ASideKind side, ASide& out)
{
    const bool balance = kind_ == ATransactionKind::Balance;
    const std::string prefix = side == ASideKind::Income ? "income-" : "expense-";
    const AChild account = FindChild(kind, prefix + "account");
    if (account.Absent()) {
        if (balance)
            return ASideResult::Missing;
        Fail(ImportText::kSideAccount.absent, &kind);
        return ASideResult::Failed;
    }
    if (account.Several()) {
        Fail(ImportText::kSideAccount.several, account.element);
        return ASideResult::Failed;
    }
    out.account = AccountReference(*account.element);
    if (!out.account)
        return ASideResult::Failed;

    const AChild amount = FindChild(kind, prefix + "amount");
    if (amount.Several()) {
        Fail(ImportText::kSideAmount.several, amount.element);
        return ASideResult::Failed;
    }
    if (amount.Present()) {
        out.amount = ParseAmount(amount.element->Text());
        if (!out.amount) {
            Fail(ImportText::kSideAmount.malformed, amount.element);
            return ASideResult::Failed;
        }
        if (side == ASideKind::Expense && *out.amount > 0) {
            Fail(ImportText::kExpenseSidePositive, amount.element);
            return ASideResult::Failed;
        }
        if (side == ASideKind::Income && *out.amount < 0) {
            Fail(ImportText::kIncomeSideNegative, amount.element);
            return ASideResult::Failed;
        }
    } else if (!balance) {
        Fail(ImportText::kSideAmount.absent, &kind);
        return ASideResult::Failed;
    }

    if (!OptionalAmount(kind, prefix + "balance", ImportText::kSideBalance, out.balance))
        return ASideResult::Failed;
    if (!out.balance && balance) {
        Fail(ImportText::kSideBalance.absent, &kind);
        return ASideResult::Failed;
    }
    return ASideResult::Read;
}

bool ATransactionReader::ReadKindValues(const XML::AElement& kind)
{
    record_.executed = HasFlag(kind, "executed") ? 1 : 0;
    record_.locked = HasFlag(kind, "locked") ? 1 : 0;
    if (record_.locked && !record_.executed)
        return Fail(ImportText::kLockedNotExecuted, kind.FirstElement("locked"));
    std::optional<ADate> budgetDate;
    if (!OptionalDate(kind, "budget-date", ImportText::kBudgetDate, budgetDate))
        return false;
    // Without budget dates in the data file a transaction counts on its own date.
    record_.budgetDate = budgetDates_ && budgetDate ? *budgetDate : record_.date;
    std::optional<AMoney> quantity;
    if (!OptionalAmount(kind, "quantity", ImportText::kQuantity, quantity))
        return false;
    record_.quantity = quantity.value_or(0);
    return true;
}

void ATransactionReader::Add()
{
    AImportBatch& batch = context_.batch;
    record_.comment = batch.OptionalText(comment_);
    for (std::size_t n = 0; n < extraComments_.size(); ++n)
        if (extraComments_[n])
            record_.extraComment[n] = batch.OptionalText(*extraComments_[n]);
    const AReference<ATransaction> transaction = batch.AddTransaction(record_);
    for (const APath& path : paths_) {
        AReference<ACategory> category = path.root;
        for (const std::u16string& name : path.names) {
            const AReference<ACategory> child = batch.ChildNamed(category, name);
            category = child ? child : batch.AddCategory(category, name, {});
        }
        batch.Classify(transaction, category);
    }
}

void ReadTransactionItem(AImportReadContext& context, const XML::AElement& item)
{
    const Database::ADBSettings* settings = nullptr;
    if (!context.dataFile.Settings().Live().empty())
        settings = &context.dataFile.Settings().Live().front()->Record();
    ATransactionReader(context, settings && settings->times, settings && settings->budgetDates).Read(item);
}

}  // namespace ExportImport::Private
