#include "ui/accounts/AccountDialog.h"

#pragma push_macro("slots")
#undef slots
#include "database/AccountCommands.h"
#include "rates/AmountExpression.h"
#pragma pop_macro("slots")

#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/accounts/AccountForms.h"
#include "win32api/DynaForm.h"

#include <QLineEdit>

namespace UserInterface::Accounts {

using namespace Database;
namespace Message = Database::AccountMessage;

namespace {

constexpr std::int16_t kName = -11, kCurrency = -12, kInitialBalance = -13, kFolder = -14, kComment = -16;
constexpr std::int16_t kFolderRow = -20;

const char* const kLayout =
    "{t2xe{bxr[sg#343]}{bl4W180xe[et#-11]}{bt4xr[sg#346]}{bt4l4xe[rt#-12]}{bt4xr[sg#347]}{bt4l4xe[e=t#-13]}"
    "{bt4xr[sg#345]}{bt4l4xe[et#-16]}{bt4xr#-21[sg#348]}{bt4l4xe#-20[rt#-14]}}";

class AAccountDialog final : public UtilityForms::AStandardDialog {
public:
    AAccountDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AReference<AAccountFolder> plan,
                   Engine::ASlot<AAccount>* account, AReference<AAccountFolder> folder)
        : AStandardDialog(context, account ? Message::kChange : Message::kAdd, kLayout, parent), db_(db),
          plan_(plan), account_(account), currencies_(*Form().ControlAs<Win32API::VelvixControls::Reports::AReportPicker>(kCurrency)),
          folders_(*Form().ControlAs<Win32API::VelvixControls::Reports::AReportPicker>(kFolder))
    {
        for (std::int16_t id : {kName, kComment})
            Edit(id)->setMaxLength(kMaxTypedLength);
        std::vector<ARecordPicker::ARow> currencyRows;
        for (const auto* slot : db.Currencies().Live())
            currencyRows.push_back({slot->id, db.Text(slot->Record().name) + u" (" + db.Text(slot->Record().code) + u")"});
        currencies_.Fill(currencyRows);
        folders_.Fill(FolderRows(db, PlanFolders(db, plan)));
        const bool keepsFolders = !db.Settings().Live().empty() && db.Settings().Live().front()->Record().accountFolders;
        Form().ShowElement(kFolderRow, keepsFolders);
        Form().ShowElement(-21, keepsFolders);
        if (account_) {
            const AAccount& stored = account_->Record();
            Edit(kName)->setText(ToQString(db.Text(stored.name)));
            Edit(kComment)->setText(ToQString(db.Text(stored.comment)));
            Edit(kInitialBalance)->setText(ToQString(
                AmountText(context, stored.initialBalance, AccountPrecision(db, Engine::ATableImpl<AAccount>::RefTo(account_)))));
            if (const auto* currency = db.Currencies().Get(stored.currency))
                currencies_.Choose(currency->id);
            currencies_.Picker().setEnabled(false);  // an account keeps its currency
            folder = FolderInPlan(db, Engine::ATableImpl<AAccount>::RefTo(account_), plan);
        } else {
            Edit(kInitialBalance)->setText(ToQString(AmountText(context, 0, 2)));
            if (db.Currencies().LiveCount() == 1)
                currencies_.Choose(db.Currencies().Live().front()->id);
        }
        // An account placed nowhere in the plan shows no folder, so OK alone places it nowhere.
        if (const auto* chosenFolder = db.Folders().Get(folder || account_ ? folder : plan))
            folders_.Choose(chosenFolder->id);
        Edit(kName)->setFocus();
    }

    bool committed = false;

protected:
    bool Validate() override
    {
        const auto* folder = db_.Folders().Find(folders_.Chosen());
        const auto* currency = db_.Currencies().Find(currencies_.Chosen());
        const AAccountInput input{ToU16(Edit(kName)->text()), Engine::ATableImpl<ACurrency>::RefTo(currency),
                                  Rates::EvaluateAmountExpression(ToU16(Edit(kInitialBalance)->text())),
                                  ToU16(Edit(kComment)->text()),
                                  Form().IsElementShown(kFolderRow) ? Engine::ATableImpl<AAccountFolder>::RefTo(folder)
                                                                    : AReference<AAccountFolder>()};
        const int title = account_ ? Message::kChange : Message::kAdd;
        const std::u16string label(context_.Strings().Text(title));
        auto failure = account_ ? CheckChangedAccount(db_, *account_, input) : CheckNewAccount(db_, input);
        if (!failure && account_) {
            const AChangeOutcome outcome = ChangeAccount(db_, *account_, plan_, input, label);
            if (outcome == AChangeOutcome::BalanceOutOfRange)
                failure = AAccountFailure{Message::kInitialBalanceInvalid, AAccountField::InitialBalance};
            committed = outcome == AChangeOutcome::Changed;
        } else if (!failure) {
            committed = !AddAccount(db_, input, label).IsNull();
        }
        if (!failure)
            return true;
        ShowTitledMessage(context_, this, title, failure->message);
        QWidget* field = FocusOf(failure->focus);
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();  // for typing over
        return false;
    }

private:
    QLineEdit* Edit(std::int16_t id) { return Form().ControlAs<QLineEdit>(id); }
    QWidget* FocusOf(AAccountField field)
    {
        switch (field) {
        case AAccountField::Currency: return &currencies_.Picker();
        case AAccountField::InitialBalance: return Edit(kInitialBalance);
        case AAccountField::Name: break;
        }
        return Edit(kName);
    }

    ADatabase& db_;
    AReference<AAccountFolder> plan_;
    Engine::ASlot<AAccount>* account_;
    ARecordPicker currencies_, folders_;
};

}  // namespace

bool RunAccountDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AReference<AAccountFolder> plan,
                      AReference<AAccount> account, AReference<AAccountFolder> folder)
{
    Engine::ASlot<AAccount>* slot = db.Accounts().Get(account);
    if (slot && !slot->Exists())
        return false;
    AAccountDialog dialog(parent, context, db, plan, slot, folder);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

}  // namespace UserInterface::Accounts
