#include "ui/categories/ClassifierDialog.h"

#include "database/ClassifierCommands.h"
#include "database/RuleChecks.h"
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"

#include <QCheckBox>
#include <QLineEdit>

namespace UserInterface::Categories {

using namespace Database;
namespace Message = ClassifierMessage;

namespace {

constexpr std::int16_t kSingular = -10, kPlural = -11, kSeparate = 389, kTransfers = 390;
constexpr int kTreeNames[3] = {66, 67, 414};  // "Приход", "Расход", "Перевод"

const char* const kLayout =
    "{t1{t2{br4xr[sr#387]}{bW160{bxe[et#-10]}}{bt4r4xr[sr#388]}{bt4W160{bxe[et#-11]}}}"
    "{bt8xl[bCgt#389]}{bt4xl[bCgt#390]}}";

class AClassifierDialog final : public UtilityForms::AStandardDialog {
public:
    AClassifierDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AReference<AClassifier> classifier)
        : AStandardDialog(context, classifier ? Message::kChangeTitle : Message::kAddTitle, kLayout, parent), db_(db),
          classifier_(classifier)
    {
        const AClassifier* record = db.Classifiers().Record(classifier);
        if (record) {
            Edit(kSingular)->setText(ToQString(db.Text(record->singular)));
            Edit(kPlural)->setText(ToQString(db.Text(record->plural)));
        }
        // The trees of a classifier in use keep their layout; it may only be taken into transfers.
        Check(kSeparate)->setChecked(record ? record->separateTrees != 0 : true);
        Check(kTransfers)->setChecked(record && record->useInTransfers);
        Check(kSeparate)->setEnabled(!record);
        Check(kTransfers)->setEnabled(!record || !record->useInTransfers);
        Edit(kSingular)->setFocus();
    }

    bool committed = false;

protected:
    bool Validate() override
    {
        const std::optional<int> failure = CheckClassifierInput(db_, Input(), classifier_);
        if (!failure)
            return true;
        // The plural name is the one in the way only when it is the one missing or taken.
        const bool plural = *failure == RuleMessage::kClassifierPluralTaken ||
                            (*failure == Message::kNamesMissing && !Edit(kSingular)->text().trimmed().isEmpty());
        return Refuse(*failure, Edit(plural ? kPlural : kSingular));
    }

    void Apply() override
    {
        const std::u16string label = ToU16(windowTitle());
        std::array<std::u16string, 3> trees;
        for (std::size_t i = 0; i < trees.size(); ++i)
            trees[i] = context_.Strings().Text(kTreeNames[i]);
        committed = classifier_ ? ChangeClassifier(db_, classifier_, Input(), trees, label)
                                : !AddClassifier(db_, Input(), trees, label).IsNull();
    }

private:
    QLineEdit* Edit(std::int16_t id) { return Form().ControlAs<QLineEdit>(id); }
    QCheckBox* Check(std::int16_t id) { return Form().ControlAs<QCheckBox>(id); }
    AClassifierInput Input()
    {
        return {ToU16(Edit(kSingular)->text()), ToU16(Edit(kPlural)->text()), Check(kSeparate)->isChecked(),
                Check(kTransfers)->isChecked()};
    }

    ADatabase& db_;
    AReference<AClassifier> classifier_;
};

}  // namespace

bool RunClassifierDialog(QWidget* parent, const AProgramContext& context, ADatabase& db,
                         AReference<AClassifier> classifier)
{
    AClassifierDialog dialog(parent, context, db, classifier);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

}  // namespace UserInterface::Categories
