// A row of the transactions page. Texts are made when the row is drawn, so that a file with a
// hundred thousand transactions fills fast; what every row needs is looked up once per fill.
#pragma once
#include "analysis/CategoryMap.h"
#include "ui/DatabaseModel.h"
#include "ui/RecordListPage.h"

#include <memory>
#include <string>
#include <vector>

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Transactions {

enum ATransactionColumn : int {
    kDateColumn,
    kTimeColumn,
    kBudgetDateColumn,
    kStateColumn,
    kAccountColumn,
    kAmountColumn,
    kCurrencyColumn,
    kAccount2Column,
    kAmount2Column,
    kCurrency2Column,
    kBalanceColumn,
    kQuantityColumn,
    kCategoriesColumn,  // the first classifier's; the others' follow the extra comments
    kCommentColumn,
    kExtraCommentColumn,  // four of them, one per extra comment
    kColumnCount = kExtraCommentColumn + 4,
};

// The classifier whose categories a column shows (its place in the classifier table), -1 for
// a column of another kind; and back.
int ClassifierOfColumn(int column);
int ColumnOfClassifier(int n);

// What the rows of one fill share.
struct ATransactionRows {
    const AProgramContext& context;
    Database::ADatabase& db;
    ADate today = 0;
    std::vector<Database::AReference<Database::AClassifier>> classifiers;  // in table order
    std::unique_ptr<ACategoryMap> categories;

    // Takes the date and the classifiers and their trees as they are now.
    void Refresh(ADate date);
};

class ATransactionItem final : public ARecordItem {
public:
    using ASlot = Database::Engine::ASlot<Database::ATransaction>;
    // `order` is the row's place in the list as the filter gave it (by day, or by budget date).
    ATransactionItem(const ATransactionRows& rows, const ASlot& slot, std::int64_t order)
        : ARecordItem(slot.id), rows_(rows), slot_(slot), order_(order)
    {
    }

    const ASlot& Slot() const { return slot_; }
    std::u16string Text(int column) const override;
    unsigned CellProperty(int column) const override;
    bool SortKey(int column, Win32API::VelvixControls::Reports::ASortKey& key) const override;
    int Compare(const AReportItemImpl& other, int column) const override;

private:
    std::u16string AccountName(Database::AReference<Database::AAccount> ref) const;
    std::u16string Amount(Database::AMoney amount, Database::AReference<Database::AAccount> account) const;
    std::u16string StateText() const;
    std::u16string Category(int classifier) const;
    bool Overdue() const;

    const ATransactionRows& rows_;
    const ASlot& slot_;
    std::int64_t order_;
};

// The column titles: string ids, the extra comments' captions from the data file's settings.
int TransactionColumnTitleId(int column);

}  // namespace UserInterface::Transactions
