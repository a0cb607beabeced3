// The reports page: a plain list of its records.
#include "ui/PageFactory.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"

namespace UserInterface {

namespace {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

// The reports page lists the series that reports and charts are drawn from.
class AReportsPage final : public ARecordListPage {
public:
    AReportsPage(const AProgramContext& context, ADatabase& db)
        : ARecordListPage(context, db, false, {ASeries::kTableId, AString::kTableId})
    {
        Mode().AddTitledColumn(80, 300, false);
        Mode().AddTitledColumn(66, 90);
        Mode().AddTitledColumn(67, 90);
    }

protected:
    void Fill(AReportItemImpl& root) override
    {
        const auto mark = [](std::uint8_t flag) { return flag ? std::u16string(u"\u2713") : std::u16string(); };
        for (auto* slot : db_.Series().Live()) {
            const ASeries& series = slot->Record();
            root.AddChild(std::make_unique<ATextItem>(
                slot->id, std::vector<std::u16string>{db_.Text(series.name), mark(series.income), mark(series.expense)}));
        }
    }
};

}  // namespace

std::unique_ptr<AAbstractPage> CreateReportsPage(const AProgramContext& context, ADatabase& db)
{
    return std::make_unique<AReportsPage>(context, db);
}

}  // namespace UserInterface
