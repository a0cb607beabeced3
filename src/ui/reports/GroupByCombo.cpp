#include "ui/reports/GroupByCombo.h"

#include "analysis/Grouping.h"
#include "core/AStrings.h"
#include "ui/RecordListPage.h"
#include "win32api/ReportPicker.h"

namespace UserInterface::Reports {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

namespace {

class AGroupByComboItem final : public ARecordItem {
public:
    AGroupByComboItem(std::uint32_t id, std::u16string name, std::u16string caption)
        : ARecordItem(id), name_(std::move(name)), caption_(std::move(caption))
    {
    }
    std::u16string Text(int column) const override { return column == 0 ? name_ : std::u16string(); }
    std::u16string SingleText() const override { return caption_; }

private:
    std::u16string name_;
    std::u16string caption_;
};

}  // namespace

AGroupByCombo::AGroupByCombo(AReportPicker& picker, const UtilityClasses::Strings::AStrings& strings, ADatabase& db)
    : picker_(&picker), strings_(strings), db_(db)
{
    mode_.AddColumn(u"", 200, false);
    picker.SetMode(&mode_);
    connect(&picker, &AReportPicker::Notify, this, [this](int code, bool*) {
        if (code == kNotifySelectionChanged)
            emit Changed();
    });
    Fill();
}

AGroupByCombo::~AGroupByCombo()
{
    if (picker_) {
        picker_->Model().DeleteAllItems();
        picker_->SetMode(nullptr);
    }
}

void AGroupByCombo::Fill()
{
    const AReference<AClassifier> chosen = Chosen();
    picker_->Model().DeleteAllItems();
    for (Filters::AGroupByChoice& choice : Filters::GroupByChoices(db_, strings_, true))
        picker_->Root().AddChild(std::make_unique<AGroupByComboItem>(db_.Classifiers().Get(choice.classifier)->id,
                                                                     std::move(choice.name), std::move(choice.caption)));
    picker_->RebuildRows();
    Choose(chosen);
}

AReference<AClassifier> AGroupByCombo::Chosen() const
{
    AReportListModel& model = picker_->Model();
    const AReportItemImpl* item = model.IsStale() ? nullptr : model.FocusedItem();
    auto* slot = item ? db_.Classifiers().Find(item->RecordId()) : nullptr;
    return slot && slot->Exists() ? Engine::ATableImpl<AClassifier>::RefTo(slot) : AReference<AClassifier>();
}

void AGroupByCombo::Choose(AReference<AClassifier> classifier)
{
    AReportListModel& model = picker_->Model();
    model.RebuildIfStale();
    const auto* slot = db_.Classifiers().Get(classifier);
    AReportItemImpl* found = nullptr;
    for (int row = 0; row < model.RowCount() && slot && !found; ++row)
        if (model.Row(row)->RecordId() == slot->id)
            found = model.Row(row);
    picker_->Select(found);
}

}  // namespace UserInterface::Reports
