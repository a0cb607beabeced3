#include "ui/categories/CategoryDialog.h"

#include "database/CategoryCommands.h"
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/categories/CategoryItems.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportMode.h"
#include "win32api/ReportPicker.h"

#include <QLineEdit>

namespace UserInterface::Categories {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportPicker;
namespace Message = CategoryMessage;

namespace {

constexpr std::int16_t kName = -10, kComment = -11, kParent = -12;
constexpr std::int16_t kNameRow[2] = {-20, -21}, kCommentRow[2] = {-22, -23}, kParentRow[2] = {-24, -25};

const char* const kLayout =
    "{t2{br4xr#-20[sr#400]}{bW180#-21{bxe[et#-10]}}{bt4r4xr#-22[sr#401]}{bt4W180#-23{bxe[et#-11]}}"
    "{bt4r4xr#-24[sr#402]}{bt4W180#-25{bxe[rt#-12]}}}";

int TitleId(ACategoryDialogMode mode)
{
    switch (mode) {
    case ACategoryDialogMode::Add: return Message::kAddTitle;
    case ACategoryDialogMode::Change: return Message::kChangeTitle;
    case ACategoryDialogMode::Move: break;
    }
    return Message::kMoveTitle;
}

class ACategoryDialog final : public UtilityForms::AStandardDialog {
public:
    ACategoryDialog(QWidget* parent, const AProgramContext& context, ADatabase& db, AReference<AClassifier> classifier,
                    ACategoryDialogMode mode, AReference<ACategory> category)
        : AStandardDialog(context, TitleId(mode), kLayout, parent), db_(db), mode_(mode), category_(category),
          title_(context.Strings().Format(TitleId(mode), {ClassifierName(db, classifier)}))
    {
        setWindowTitle(ToQString(title_));
        const ACategory* record = db.Categories().Record(category);
        const bool root = mode != ACategoryDialogMode::Add && record && record->parent.IsNull();
        // A move shows what it moves and changes nothing but the parent.
        for (std::int16_t id : kCommentRow)
            Form().ShowElement(id, mode != ACategoryDialogMode::Move);
        Edit(kName)->setReadOnly(mode == ACategoryDialogMode::Move);
        for (std::int16_t id : kParentRow)
            Form().ShowElement(id, !root);
        offersParent_ = !root;
        pickerMode_.AddColumn(u"", 220, false);
        Picker().SetMode(&pickerMode_);
        AddCategoryItems(Picker().Root(), db, classifier, false, [&](AReference<ACategory> candidate) {
            return mode == ACategoryDialogMode::Add || CanBeParentOf(db, candidate, category);
        });
        Picker().RebuildRows();
        if (record && mode != ACategoryDialogMode::Add) {
            Edit(kName)->setText(ToQString(db.Text(record->name)));
            Edit(kComment)->setText(ToQString(db.Text(record->comment)));
        }
        Choose(mode == ACategoryDialogMode::Add ? category : record ? record->parent : AReference<ACategory>());
        FieldInFocus()->setFocus();
    }

    ~ACategoryDialog() override
    {
        Picker().Model().DeleteAllItems();
        Picker().SetMode(nullptr);
    }

    bool committed = false;

protected:
    bool Validate() override
    {
        const std::optional<int> failure = CheckCategoryName(db_, Name(), Parent(), Self());
        return !failure || Refuse(*failure, FieldInFocus());
    }

    void Apply() override
    {
        const std::u16string name = Name(), comment = Comment();
        if (mode_ == ACategoryDialogMode::Add)
            committed = !AddCategory(db_, Parent(), name, comment, title_).IsNull();
        else
            committed = ChangeCategory(db_, category_, name, comment,
                                       offersParent_ ? std::optional(Parent()) : std::nullopt, title_);
    }

private:
    QLineEdit* Edit(std::int16_t id) { return Form().ControlAs<QLineEdit>(id); }
    AReportPicker& Picker() { return *Form().ControlAs<AReportPicker>(kParent); }
    QWidget* FieldInFocus()
    {
        return mode_ == ACategoryDialogMode::Move ? static_cast<QWidget*>(&Picker()) : Edit(kName);
    }
    AReference<ACategory> Self() const { return mode_ == ACategoryDialogMode::Add ? AReference<ACategory>() : category_; }

    // A move keeps the name and the comment as they are stored.
    std::u16string Name()
    {
        if (mode_ == ACategoryDialogMode::Move)
            return db_.Text(db_.Categories().Record(category_)->name);
        return TypedText(ToU16(Edit(kName)->text()));
    }
    std::u16string Comment()
    {
        if (mode_ == ACategoryDialogMode::Move)
            return db_.Text(db_.Categories().Record(category_)->comment);
        return TypedText(ToU16(Edit(kComment)->text()));
    }

    // The chosen parent; a category whose parent is not offered (a root) keeps its own.
    AReference<ACategory> Parent()
    {
        const ACategory* record = db_.Categories().Record(category_);
        if (!offersParent_)
            return record ? record->parent : AReference<ACategory>();
        const auto* item = Picker().SelectedItem();
        return Engine::ATableImpl<ACategory>::RefTo(item ? db_.Categories().Find(item->RecordId()) : nullptr);
    }
    void Choose(AReference<ACategory> category)
    {
        AReportPicker& picker = Picker();
        picker.Model().RebuildIfStale();
        const auto* slot = db_.Categories().Get(category);
        for (int row = 0; row < picker.Model().RowCount(); ++row)
            if (slot && picker.Model().Row(row)->RecordId() == slot->id) {
                picker.Select(picker.Model().Row(row));
                return;
            }
        if (picker.Model().RowCount() > 0)
            picker.Select(picker.Model().Row(0));
    }

    ADatabase& db_;
    ACategoryDialogMode mode_;
    AReference<ACategory> category_;
    std::u16string title_;
    bool offersParent_ = true;
    Win32API::VelvixControls::Reports::AReportMode pickerMode_;
};

}  // namespace

std::u16string ClassifierName(ADatabase& db, AReference<AClassifier> classifier)
{
    const AClassifier* record = db.Classifiers().Record(classifier);
    return record ? db.Text(record->singular) : std::u16string();
}

bool RunCategoryDialog(QWidget* parent, const AProgramContext& context, ADatabase& db,
                       AReference<AClassifier> classifier, ACategoryDialogMode mode, AReference<ACategory> category)
{
    ACategoryDialog dialog(parent, context, db, classifier, mode, category);
    context.Dialogs().RunModal(dialog);
    return dialog.committed;
}

}  // namespace UserInterface::Categories
