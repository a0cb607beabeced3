#include "ui/categories/DataFileSettingsDialog.h"

#include "database/DataFileSettings.h"
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"

#include <QCheckBox>
#include <QLineEdit>

namespace UserInterface::Categories {

using namespace Database;

namespace {

constexpr std::int16_t kFolders = 653, kPlans = 654, kBudgetDates = 655, kQuantities = 656, kTimes = 657;
constexpr std::int16_t kExtraChecks[4] = {658, 659, 660, 661}, kCaptions[4] = {-1, -2, -3, -4};
constexpr int kDefaultCaptions[4] = {662, 663, 664, 665};  // "Примечание 1".."4"

const char* const kLayout =
    "{t1{t1xeb8#275(:t){bl10t6xl[bCgt#653]}{bl10t4xl[bCgt#654]}{bl10t4xl[bCgt#655]}{bl10t4xl[bCgt#656]}"
    "{bl10t4xl[bCgt#657]}}"
    "{t2xet6b8#274(:t){bl10t6xl[bCgt#658]}{bl4t6W160xe[et#-1]}{bl10t4xl[bCgt#659]}{bl4t4W160xe[et#-2]}"
    "{bl10t4xl[bCgt#660]}{bl4t4W160xe[et#-3]}{bl10t4xl[bCgt#661]}{bl4t4W160xe[et#-4]}}}";

class ADataFileSettingsDialog final : public UtilityForms::AStandardDialog {
public:
    ADataFileSettingsDialog(QWidget* parent, const AProgramContext& context, ADatabase& db)
        : AStandardDialog(context, DataFileSettingsMessage::kTitle, kLayout, parent), db_(db)
    {
        const ADataFileSwitches switches = SwitchesOf(db);
        for (auto [id, on] : {std::pair{kFolders, switches.accountFolders}, {kPlans, switches.accountPlans},
                              {kBudgetDates, switches.budgetDates}, {kQuantities, switches.quantities},
                              {kTimes, switches.times}})
            Check(id)->setChecked(on);
        for (std::size_t i = 0; i < 4; ++i) {
            QLineEdit* caption = Caption(i);
            caption->setAccessibleName(TableText(context.Strings(), kDefaultCaptions[i]));
            caption->setText(ToQString(switches.captions[i]));
            Check(kExtraChecks[i])->setChecked(switches.extraComments[i]);
            caption->setEnabled(switches.extraComments[i]);
            // A comment taken into use gets a caption to start from.
            connect(Check(kExtraChecks[i]), &QCheckBox::toggled, this, [this, i](bool on) {
                Caption(i)->setEnabled(on);
                if (on && Caption(i)->text().trimmed().isEmpty())
                    Caption(i)->setText(TableText(context_.Strings(), kDefaultCaptions[i]));
            });
        }
    }

    bool committed = false;

protected:
    void Apply() override
    {
        ADataFileSwitches switches;
        switches.accountFolders = Check(kFolders)->isChecked();
        switches.accountPlans = Check(kPlans)->isChecked();
        switches.budgetDates = Check(kBudgetDates)->isChecked();
        switches.quantities = Check(kQuantities)->isChecked();
        switches.times = Check(kTimes)->isChecked();
        for (std::size_t i = 0; i < 4; ++i) {
            switches.extraComments[i] = Check(kExtraChecks[i])->isChecked();
            switches.captions[i] = ToU16(Caption(i)->text());
        }
        committed = ChangeDataFileSwitches(db_, switches, ToU16(windowTitle()));
    }

private:
    QCheckBox* Check(std::int16_t id) { return Form().ControlAs<QCheckBox>(id); }
    QLineEdit* Caption(std::size_t i) { return Form().ControlAs<QLineEdit>(kCaptions[i]); }

    ADatabase& db_;
};

}  // namespace

bool RunDataFileSettingsDialog(QWidget* parent, const AProgramContext& context, ADatabase& db)
{
    ADataFileSettingsDialog dialog(parent, context, db);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

}  // namespace UserInterface::Categories
