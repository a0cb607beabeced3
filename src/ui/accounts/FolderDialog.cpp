#include "ui/accounts/FolderDialog.h"

#pragma push_macro("slots")
#undef slots
#include "database/AccountCommands.h"
#include "database/FolderCommands.h"
#pragma pop_macro("slots")

#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/accounts/AccountForms.h"
#include "win32api/DynaForm.h"

#include <QLineEdit>

namespace UserInterface::Accounts {

using namespace Database;
using AFolderTable = Engine::ATableImpl<AAccountFolder>;
using Win32API::VelvixControls::Reports::AReportPicker;
namespace Message = Database::FolderMessage;

namespace {

using AccountText::kPlanName, AccountText::kFolderName, AccountText::kMoveTo;
constexpr std::int16_t kName = -3, kParent = -4, kComment = -16, kParentField = -20, kParentLabel = -21;

std::string Layout(bool plan)
{
    return "{t2xe{bxr[sg#" + std::to_string(plan ? kPlanName : kFolderName) +
           "]}{bl4W180xe[et#-3]}{bt4xr[sg#345]}{bt4l4xe[et#-16]}{bt4xr#-21[sg#737]}{bt4l4xe#-20[rt#-4]}}";
}

int TitleOf(AFolderDialogMode mode, bool plan)
{
    switch (mode) {
    case AFolderDialogMode::AddFolder: return Message::kAddFolder;
    case AFolderDialogMode::AddPlan: return Message::kAddPlan;
    case AFolderDialogMode::Change: break;
    }
    return plan ? Message::kChangePlan : Message::kChangeFolder;
}

class AFolderDialog final : public UtilityForms::AStandardDialog {
public:
    AFolderDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AFolderDialogMode mode,
                  AReference<AAccountFolder> plan, AReference<AAccountFolder> folder, bool isPlan)
        : AStandardDialog(context, TitleOf(mode, isPlan), Layout(isPlan), parent), db_(db), title_(TitleOf(mode, isPlan)),
          changed_(mode == AFolderDialogMode::Change ? db.Folders().Get(folder) : nullptr), isPlan_(isPlan),
          parents_(*Form().ControlAs<AReportPicker>(kParent))
    {
        for (std::int16_t id : {kName, kComment})
            Edit(id)->setMaxLength(kMaxTypedLength);
        Form().ShowElement(kParentField, !isPlan);
        Form().ShowElement(kParentLabel, !isPlan);
        parents_.Fill(FolderRows(db, PlanFolders(db, plan, changed_ ? folder : AReference<AAccountFolder>())));
        AReference<AAccountFolder> start = folder;
        if (changed_) {
            const AAccountFolder& stored = changed_->Record();
            Edit(kName)->setText(ToQString(db.Text(stored.name)));
            Edit(kComment)->setText(ToQString(db.Text(stored.comment)));
            start = stored.parent;
        }
        if (const auto* slot = db.Folders().Get(start ? start : plan))
            parents_.Choose(slot->id);
        Edit(kName)->setFocus();
    }

    bool committed = false;

protected:
    bool Validate() override
    {
        const AFolderInput input{ToU16(Edit(kName)->text()), ToU16(Edit(kComment)->text()),
                                 isPlan_ ? AReference<AAccountFolder>()
                                         : AFolderTable::RefTo(db_.Folders().Find(parents_.Chosen()))};
        if (auto failure = CheckFolder(db_, input, AFolderTable::RefTo(changed_))) {
            ShowTitledMessage(context_, this, title_, *failure);
            Edit(kName)->setFocus();
            return false;
        }
        const std::u16string label(context_.Strings().Text(title_));
        committed = changed_ ? ChangeFolder(db_, *changed_, input, label) : !AddFolder(db_, input, label).IsNull();
        return true;
    }

private:
    QLineEdit* Edit(std::int16_t id) { return Form().ControlAs<QLineEdit>(id); }

    ADatabase& db_;
    int title_;
    Engine::ASlot<AAccountFolder>* changed_;
    bool isPlan_;
    ARecordPicker parents_;
};

class AMoveDialog final : public UtilityForms::AStandardDialog {
public:
    AMoveDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AReference<AAccountFolder> plan,
                Engine::ASlot<AAccount>* account, Engine::ASlot<AAccountFolder>* folder)
        : AStandardDialog(context, account ? AccountMessage::kMove : Message::kMove,
                          "{t2xe{bxr[sg#" + std::to_string(kMoveTo) + "]}{bl4W180xe[rt#-4]}}", parent),
          db_(db), plan_(plan), account_(account), folder_(folder), targets_(*Form().ControlAs<AReportPicker>(kParent))
    {
        const auto self = AFolderTable::RefTo(folder);
        targets_.Fill(FolderRows(db, PlanFolders(db, plan, account ? AReference<AAccountFolder>() : self)));
        const auto start = account ? FolderInPlan(db, Engine::ATableImpl<AAccount>::RefTo(account), plan)
                                   : folder->Record().parent;
        if (const auto* slot = db.Folders().Get(start ? start : plan))
            targets_.Choose(slot->id);
        targets_.Picker().setFocus();
    }

    bool committed = false;

protected:
    bool Validate() override
    {
        const auto target = AFolderTable::RefTo(db_.Folders().Find(targets_.Chosen()));
        if (target.IsNull())
            return true;
        if (account_) {
            committed = MoveAccount(db_, *account_, plan_, target, context_.Strings().Text(AccountMessage::kMove)) ==
                        AChangeOutcome::Changed;
        } else {
            const AAccountFolder& stored = folder_->Record();
            committed = ChangeFolder(db_, *folder_, {db_.Text(stored.name), db_.Text(stored.comment), target},
                                     context_.Strings().Text(Message::kMove));
        }
        return true;
    }

private:
    ADatabase& db_;
    AReference<AAccountFolder> plan_;
    Engine::ASlot<AAccount>* account_;
    Engine::ASlot<AAccountFolder>* folder_;
    ARecordPicker targets_;
};

}  // namespace

bool RunFolderDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AFolderDialogMode mode,
                     AReference<AAccountFolder> plan, AReference<AAccountFolder> folder)
{
    const AAccountFolder* record = db.Folders().Record(folder);
    if (mode == AFolderDialogMode::Change && !record)
        return false;
    const bool isPlan = mode == AFolderDialogMode::AddPlan || (mode == AFolderDialogMode::Change && record->parent.IsNull());
    AFolderDialog dialog(parent, context, db, mode, plan, folder, isPlan);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

bool RunMoveDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AReference<AAccountFolder> plan,
                   AReference<AAccount> account, AReference<AAccountFolder> folder)
{
    auto* accountSlot = db.Accounts().Get(account);
    auto* folderSlot = db.Folders().Get(folder);
    if (accountSlot && !accountSlot->Exists())
        accountSlot = nullptr;
    if (!accountSlot && (!folderSlot || !folderSlot->Exists() || folderSlot->Record().parent.IsNull()))
        return false;  // nothing to move: a plan stays where it is
    AMoveDialog dialog(parent, context, db, plan, accountSlot, accountSlot ? nullptr : folderSlot);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

}  // namespace UserInterface::Accounts
