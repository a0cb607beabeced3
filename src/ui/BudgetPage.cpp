// The budget page: the tree of budget items with each item's plan for the current year.
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"

#include <climits>
#include <set>

namespace UserInterface {

namespace {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

constexpr int kNoPlan = 682;

// A damaged file's sums may leave the range; they are shown at its end.
AMoney SaturatedProduct(AMoney amount, AMoney factor)
{
    AMoney result = 0;
    if (__builtin_mul_overflow(amount, factor, &result))
        return amount < 0 ? INT64_MIN : INT64_MAX;
    return result;
}

AMoney SaturatedSum(AMoney a, AMoney b)
{
    AMoney result = 0;
    if (__builtin_add_overflow(a, b, &result))
        return a < 0 ? INT64_MIN : INT64_MAX;
    return result;
}

class ABudgetPage final : public ARecordListPage {
public:
    ABudgetPage(const AProgramContext& context, ADatabase& db)
        : ARecordListPage(context, db, true,
                          {ABudgetItem::kTableId, ABudgetLimit::kTableId, ACurrency::kTableId, AString::kTableId})
    {
        Mode().AddTitledColumn(712, 300, false);
        Mode().AddTitledColumn(668, 180);
    }

protected:
    void Fill(AReportItemImpl& root) override
    {
        year_ = Dates::ToYmd(context_.clock().date).year;
        std::set<std::uint32_t> visited;
        for (auto* top : Children({}))
            AddItem(root, *top, visited);
    }

private:
    std::vector<Engine::ASlot<ABudgetItem>*> Children(AReference<ABudgetItem> parent)
    {
        ABudgetItem probe;
        probe.parent = parent;
        auto range = db_.BudgetItems().EqualRange(2, probe);
        return {range.begin(), range.end()};
    }

    void AddItem(AReportItemImpl& parent, Engine::ASlot<ABudgetItem>& slot, std::set<std::uint32_t>& visited)
    {
        if (!visited.insert(slot.id).second)
            return;
        const auto ref = Engine::ATableImpl<ABudgetItem>::RefTo(&slot);
        auto* item = parent.AddChild(std::make_unique<ATextItem>(
            slot.id, std::vector<std::u16string>{db_.Text(slot.Record().name), PlanText(ref)},
            slot.Record().parent.IsNull(), 1u << 1));
        for (auto* child : Children(ref))
            AddItem(*item, *child, visited);
    }

    // The year's plan: a yearly total, twelve months, fifty-two weeks, or the months summed.
    std::u16string PlanText(AReference<ABudgetItem> item)
    {
        ABudgetLimit probe;
        probe.item = item;
        probe.year = static_cast<std::uint32_t>(year_);
        auto range = db_.BudgetLimits().EqualRange(4, probe);
        if (range.empty())
            return std::u16string(context_.Strings().Text(kNoPlan));
        const ABudgetLimit& limit = range.front()->Record();
        AMoney total = 0;
        switch (limit.kind) {
        case ABudgetLimit::kYearTotal: total = limit.amount; break;
        case ABudgetLimit::kPerMonth: total = SaturatedProduct(limit.amount, 12); break;
        case ABudgetLimit::kPerWeek: total = SaturatedProduct(limit.amount, 52); break;
        case ABudgetLimit::kEachMonth:
            for (AMoney month : limit.months)
                total = SaturatedSum(total, month);
            break;
        default: return std::u16string(context_.Strings().Text(kNoPlan));
        }
        const ACurrency* currency = db_.Currencies().Record(limit.currency);
        const int precision = currency ? static_cast<int>(std::min<std::uint32_t>(currency->precision, 4)) : 2;
        std::u16string text = AmountText(context_, total, precision);
        if (currency)
            text += u" " + db_.Text(currency->code);
        return text;
    }

    int year_ = 0;
};

}  // namespace

std::unique_ptr<AAbstractPage> CreateBudgetPage(const AProgramContext& context, ADatabase& db)
{
    return std::make_unique<ABudgetPage>(context, db);
}

}  // namespace UserInterface
