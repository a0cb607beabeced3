#include "ui/accounts/RecordPicker.h"

#include "ui/RecordListPage.h"

namespace UserInterface::Accounts {

using namespace Win32API::VelvixControls::Reports;

ARecordPicker::ARecordPicker(AReportPicker& picker) : picker_(&picker)
{
    mode_.AddColumn(u"", 220, false);
    picker_->SetMode(&mode_);
    connect(picker_, &AReportPicker::Notify, this, [this](int code, bool*) {
        if (code == kNotifySelectionChanged)
            emit Changed();
    });
}

ARecordPicker::~ARecordPicker()
{
    if (picker_) {
        picker_->Model().DeleteAllItems();
        picker_->SetMode(nullptr);
    }
}

void ARecordPicker::Fill(const std::vector<ARow>& rows)
{
    const std::uint32_t chosen = Chosen();
    picker_->Model().DeleteAllItems();
    std::vector<AReportItemImpl*> parents{&picker_->Root()};
    for (const ARow& row : rows) {
        const auto depth = static_cast<std::size_t>(std::max(row.depth, 0));
        if (depth >= parents.size())
            continue;  // parents come first; a gap is not ours to draw
        parents.resize(depth + 1);
        parents.push_back(parents[depth]->AddChild(
            std::make_unique<ATextItem>(row.id, std::vector<std::u16string>{row.text}, row.bold)));
    }
    picker_->RebuildRows();
    Choose(chosen);
}

void ARecordPicker::Choose(std::uint32_t id)
{
    AReportListModel& model = picker_->Model();
    model.RebuildIfStale();
    AReportItemImpl* found = nullptr;
    for (int row = 0; row < model.RowCount() && !found && id != 0; ++row)
        if (model.Row(row)->RecordId() == id)
            found = model.Row(row);
    picker_->Select(found);
}

std::uint32_t ARecordPicker::Chosen() const
{
    const AReportListModel& model = picker_->Model();
    const AReportItemImpl* item = model.IsStale() ? nullptr : model.FocusedItem();
    return item ? item->RecordId() : 0;
}

}  // namespace UserInterface::Accounts
