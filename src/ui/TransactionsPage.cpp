// The transactions page: every transaction in the order of its day, newest last. Texts are
// made when a row is drawn, so that a file with a hundred thousand transactions fills fast.
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"

namespace UserInterface {

namespace {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

enum AColumn { kDate, kAccount, kAmount, kCurrency, kBalance, kCategory, kComment, kColumnCount };

// What the rows share: the database and the texts' context.
struct ATransactionSource {
    const AProgramContext& context;
    ADatabase& db;
};

class ATransactionItem final : public ARecordItem {
public:
    ATransactionItem(const ATransactionSource& source, const Engine::ASlot<ATransaction>& slot, std::int64_t order)
        : ARecordItem(slot.id), source_(source), slot_(slot), order_(order)
    {
    }

    std::u16string Text(int column) const override
    {
        const ATransaction& t = slot_.Record();
        ADatabase& db = source_.db;
        switch (column) {
        case kDate: return DateText(source_.context, t.date);
        case kAccount: {
            std::u16string text = AccountName(t.account1);
            if (t.account2)
                text += u" \u2192 " + AccountName(t.account2);
            return text;
        }
        case kAmount: return AmountText(source_.context, t.amount1, AccountPrecision(db, t.account1));
        case kCurrency: {
            const AAccount* account = db.Accounts().Record(t.account1);
            return account ? CurrencyCode(db, account->currency) : std::u16string();
        }
        case kBalance:
            return t.executed ? AmountText(source_.context, t.balance1, AccountPrecision(db, t.account1))
                              : std::u16string();
        case kCategory: return Categories();
        case kComment: return db.Text(t.comment);
        default: return {};
        }
    }
    unsigned CellProperty(int column) const override
    {
        return column == kAmount || column == kBalance ? kCellRightAligned : kCellPlain;
    }
    bool SortKey(int column, ASortKey& key) const override
    {
        if (column == kDate) {
            key.number = order_;  // the order of the day, as the file keeps it
            return true;
        }
        if (column == kAmount || column == kBalance) {
            key.number = column == kAmount ? slot_.Record().amount1 : slot_.Record().balance1;
            return true;
        }
        return false;
    }
    int Compare(const AReportItemImpl& other, int column) const override
    {
        ASortKey mine, theirs;
        if (SortKey(column, mine) && other.SortKey(column, theirs))
            return mine.number < theirs.number ? -1 : mine.number > theirs.number;
        return AReportItemImpl::Compare(other, column);
    }

private:
    std::u16string AccountName(AReference<AAccount> ref) const
    {
        const AAccount* account = source_.db.Accounts().Record(ref);
        return account ? source_.db.Text(account->name) : std::u16string();
    }

    std::u16string Categories() const
    {
        ADatabase& db = source_.db;
        ARelation probe;
        probe.transaction = Engine::ATableImpl<ATransaction>::RefTo(&slot_);
        std::u16string text;
        for (const auto* relation : db.Relations().EqualRange(3, probe))
            if (const ACategory* category = db.Categories().Record(relation->Record().category)) {
                if (!text.empty())
                    text += u", ";
                text += db.Text(category->name);
            }
        return text;
    }

    const ATransactionSource& source_;
    const Engine::ASlot<ATransaction>& slot_;
    std::int64_t order_;
};

class ATransactionsPage final : public ARecordListPage {
public:
    ATransactionsPage(const AProgramContext& context, ADatabase& db)
        : ARecordListPage(context, db, false,
                          {ATransaction::kTableId, ARelation::kTableId, AAccount::kTableId, ACategory::kTableId,
                           ACurrency::kTableId, AString::kTableId}),
          source_{context, db}
    {
        Mode().AddTitledColumn(62, 90, false);
        Mode().AddTitledColumn(65, 190);
        Mode().AddTitledColumn(74, 110);
        Mode().AddTitledColumn(71, 60);
        Mode().AddTitledColumn(68, 110);
        Mode().AddTitledColumn(73, 230);
        Mode().AddTitledColumn(79, 260);
        Mode().SetSortColumn(kDate + 1);
    }

protected:
    void Fill(AReportItemImpl& root) override
    {
        std::int64_t order = 0;
        for (const auto* slot : db_.Transactions().IndexAt(3))
            root.AddChild(std::make_unique<ATransactionItem>(source_, *slot, order++));
    }
    // The newest transaction is the one a user looks for first.
    int InitialFocusRow(int rowCount) const override { return rowCount - 1; }

private:
    ATransactionSource source_;
};

}  // namespace

std::unique_ptr<AAbstractPage> CreateTransactionsPage(const AProgramContext& context, ADatabase& db)
{
    return std::make_unique<ATransactionsPage>(context, db);
}

}  // namespace UserInterface
