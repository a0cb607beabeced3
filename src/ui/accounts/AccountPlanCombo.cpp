#include "ui/accounts/AccountPlanCombo.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/AccountPageTree.h"
#pragma pop_macro("slots")

namespace UserInterface::Accounts {

using namespace Database;

AAccountPlanCombo::AAccountPlanCombo(Win32API::VelvixControls::Reports::AReportPicker& picker, ADatabase& db)
    : db_(db), picker_(picker)
{
    connect(&picker_, &ARecordPicker::Changed, this, &AAccountPlanCombo::Changed);
    Fill();
}

void AAccountPlanCombo::Fill()
{
    std::vector<ARecordPicker::ARow> rows;
    for (AReference<AAccountFolder> plan : AccountPlans(db_)) {
        const auto* slot = db_.Folders().Get(plan);
        rows.push_back({slot->id, db_.Text(slot->Record().name)});
    }
    picker_.Fill(rows);
    if (picker_.Chosen() == 0 && !rows.empty())
        picker_.Choose(rows.front().id);
}

AReference<AAccountFolder> AAccountPlanCombo::Plan() const
{
    return Engine::ATableImpl<AAccountFolder>::RefTo(db_.Folders().Find(picker_.Chosen()));
}

void AAccountPlanCombo::Choose(AReference<AAccountFolder> plan)
{
    if (const auto* slot = db_.Folders().Get(plan))
        picker_.Choose(slot->id);
}

}  // namespace UserInterface::Accounts
