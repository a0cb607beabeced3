#include "ui/transactions/TransactionItem.h"

#include "analysis/AnalysisTexts.h"
#include "core/CommonTexts.h"
#include "core/FormatDate.h"
#include "core/FormatText.h"
#include "database/Recurrence.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"

namespace UserInterface::Transactions {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

namespace {

using namespace TransactionText;
constexpr int kExecuted = UtilityClasses::Strings::CommonText::kExecuted,
              kPlanned = UtilityClasses::Strings::CommonText::kPlanned;

int RepeatWordId(Recurrence::AKind kind)
{
    switch (kind) {
    case Recurrence::AKind::Daily: return kDaily;
    case Recurrence::AKind::Weekly: return kWeekly;
    case Recurrence::AKind::Monthly:
    case Recurrence::AKind::MonthNth: return kMonthly;
    default: return kYearly;
    }
}

bool IsAmountColumn(int column)
{
    return column == kAmountColumn || column == kAmount2Column || column == kBalanceColumn ||
           column == kQuantityColumn;
}

}  // namespace

int ClassifierOfColumn(int column)
{
    if (column == kCategoriesColumn)
        return 0;
    return column >= kColumnCount ? column - kColumnCount + 1 : -1;
}

int ColumnOfClassifier(int n)
{
    return n == 0 ? kCategoriesColumn : kColumnCount + n - 1;
}

void ATransactionRows::Refresh(ADate date)
{
    today = date;
    classifiers.clear();
    for (const auto* slot : db.Classifiers().Live())
        classifiers.push_back(Engine::ATableImpl<AClassifier>::RefTo(slot));
    categories = std::make_unique<ACategoryMap>(db);
}

int TransactionColumnTitleId(int column)
{
    static constexpr int kTitles[kExtraCommentColumn] = {UtilityClasses::Strings::CommonText::kDate,
                                                         64,
                                                         Filters::GroupingText::kBudgetDateName,
                                                         72,
                                                         65,
                                                         SharedText::kAmount,
                                                         SharedText::kCurrency,
                                                         76,
                                                         78,
                                                         SharedText::kCurrency,
                                                         Reports::ColumnText::kBalance,
                                                         69,
                                                         SharedText::kCategory,
                                                         SharedText::kNote};
    return column >= 0 && column < kExtraCommentColumn ? kTitles[column] : SharedText::kNote;
}

std::u16string ATransactionItem::Text(int column) const
{
    const ATransaction& t = slot_.Record();
    ADatabase& db = rows_.db;
    const auto& locale = rows_.context.Strings().Locale();
    switch (column) {
    case kDateColumn: return DateText(rows_.context, t.date);
    case kTimeColumn: return UtilityClasses::Strings::FormatDateTime(t.date, t.time, locale.timePicture, locale);
    case kBudgetDateColumn: return t.budgetDate ? DateText(rows_.context, t.budgetDate) : std::u16string();
    case kStateColumn: return StateText();
    case kAccountColumn: return AccountName(t.account1);
    case kAmountColumn: return t.balance ? std::u16string() : Amount(t.amount1, t.account1);
    case kAccount2Column: return AccountName(t.account2);
    case kAmount2Column: return t.account2 ? Amount(t.amount2, t.account2) : std::u16string();
    case kCurrencyColumn:
    case kCurrency2Column: {
        const AAccount* account = db.Accounts().Record(column == kCurrencyColumn ? t.account1 : t.account2);
        return account ? CurrencyCode(db, account->currency) : std::u16string();
    }
    case kBalanceColumn: return t.executed ? Amount(t.balance1, t.account1) : std::u16string();
    case kQuantityColumn: return AmountText(rows_.context, t.quantity, 4);
    case kCommentColumn: return db.Text(t.comment);
    default:
        if (column >= kExtraCommentColumn && column < kColumnCount)
            return db.Text(t.extraComment[column - kExtraCommentColumn]);
        return Category(ClassifierOfColumn(column));
    }
}

unsigned ATransactionItem::CellProperty(int column) const
{
    unsigned property = IsAmountColumn(column) ? kCellRightAligned : kCellPlain;
    // A planned transaction whose day has passed stands out.
    if (column == kStateColumn && Overdue())
        property |= kCellBold;
    return property;
}

bool ATransactionItem::SortKey(int column, ASortKey& key) const
{
    const ATransaction& t = slot_.Record();
    switch (column) {
    case kDateColumn: key.number = order_; return true;  // the order of the day, as the file keeps it
    case kTimeColumn: key.number = std::int64_t{t.date} * 86'400'000 + t.time; return true;
    case kBudgetDateColumn: key.number = t.budgetDate; return true;
    case kAmountColumn: key.number = t.amount1; return true;
    case kAmount2Column: key.number = t.amount2; return true;
    case kBalanceColumn: key.number = t.balance1; return true;
    case kQuantityColumn: key.number = t.quantity; return true;
    default: return false;
    }
}

int ATransactionItem::Compare(const AReportItemImpl& other, int column) const
{
    ASortKey mine, theirs;
    if (SortKey(column, mine) && other.SortKey(column, theirs))
        return mine.number < theirs.number ? -1 : mine.number > theirs.number;
    return AReportItemImpl::Compare(other, column);
}

std::u16string ATransactionItem::AccountName(AReference<AAccount> ref) const
{
    const AAccount* account = rows_.db.Accounts().Record(ref);
    return account ? rows_.db.Text(account->name) : std::u16string();
}

std::u16string ATransactionItem::Amount(AMoney amount, AReference<AAccount> account) const
{
    return AmountText(rows_.context, amount, AccountPrecision(rows_.db, account));
}

bool ATransactionItem::Overdue() const
{
    return !slot_.Record().executed && slot_.Record().date < rows_.today;
}

std::u16string ATransactionItem::StateText() const
{
    const ATransaction& t = slot_.Record();
    const auto& strings = rows_.context.Strings();
    if (t.executed)
        return std::u16string(strings.Text(t.locked ? kExecutedLocked : kExecuted));
    if (Overdue())
        return std::u16string(strings.Text(kOverdue));
    const auto rule = Recurrence::ARule::FromWords(t.recurrence, t.recurrenceCount, t.recurrenceEnd);
    if (rule.active)
        return UtilityClasses::Strings::FormatText(strings.Locale(), strings.Text(kRepeats),
                                                   {strings.Text(RepeatWordId(rule.Kind()))});
    return std::u16string(strings.Text(kPlanned));
}

std::u16string ATransactionItem::Category(int classifier) const
{
    if (classifier < 0 || static_cast<std::size_t>(classifier) >= rows_.classifiers.size() || !rows_.categories)
        return {};
    const auto node = rows_.categories->NodeOf(Engine::ATableImpl<ATransaction>::RefTo(&slot_),
                                               rows_.classifiers[static_cast<std::size_t>(classifier)]);
    const ACategory* category = rows_.db.Categories().Record(node);
    return category ? rows_.db.Text(category->name) : std::u16string();
}

}  // namespace UserInterface::Transactions
