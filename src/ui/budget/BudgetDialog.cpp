#include "ui/budget/BudgetDialog.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/BudgetEdit.h"
#pragma pop_macro("slots")
#include "ui/ProgramContext.h"
#include "ui/StandardDialog.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/accounts/RecordPicker.h"
#include "ui/categories/CategoryDialog.h"
#include "win32api/DynaForm.h"

#include <QLineEdit>

#include <deque>

namespace UserInterface::Budget {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

enum class ABudgetDialogKind { Folder, Article, Move };

constexpr std::int16_t kName = -10, kSeries = -11, kParent = -12;
using namespace BudgetText;
// No record has an even identifier: the top of the tree is row 2 of the parent picker.
constexpr std::uint32_t kTopRow = 2;

// "Название:" or "Серия данных:" with its field, then "Родительская папка:".
const char* const kFolderLayout =
    "{t2{br4xr[sr#400]}{bW200{bxe[et#-10]}}{bt4r4xr[sr#737]}{bt4W200{bxe[rt#-12]}}}";
const char* const kArticleLayout =
    "{t2{br4xr[sr#690]}{bW200{bxe[rt#-11]}}{bt4r4xr[sr#737]}{bt4W200{bxe[rt#-12]}}}";
const char* const kMoveLayout = "{t2{br4xr[sr#737]}{bW200{bxe[rt#-12]}}}";

const char* LayoutOf(ABudgetDialogKind kind)
{
    switch (kind) {
    case ABudgetDialogKind::Folder: return kFolderLayout;
    case ABudgetDialogKind::Article: return kArticleLayout;
    case ABudgetDialogKind::Move: break;
    }
    return kMoveLayout;
}

int TitleOf(ABudgetDialogKind kind, bool adding)
{
    switch (kind) {
    case ABudgetDialogKind::Folder: return adding ? kAddFolder : kChangeFolder;
    case ABudgetDialogKind::Article: return adding ? kAddArticle : kChangeArticle;
    case ABudgetDialogKind::Move: break;
    }
    return kMoveItem;
}

// The folders of the budget, depth first under the top, without `excluded` and what lies below it.
std::vector<Accounts::ARecordPicker::ARow> FolderRows(const AProgramContext& context, ADatabase& db,
                                                     AReference<ABudgetItem> excluded)
{
    std::vector<Accounts::ARecordPicker::ARow> rows{{kTopRow, std::u16string(context.Strings().Text(kRootFolder)), 0, true}};
    std::vector<bool> visited(db.BudgetItems().SlotCount(), false);
    const auto add = [&](const auto& self, AReference<ABudgetItem> parent, int depth) -> void {
        ABudgetItem probe;
        probe.parent = parent;
        for (const auto* child : db.BudgetItems().EqualRange(2, probe)) {
            const auto ref = Engine::ATableImpl<ABudgetItem>::RefTo(child);
            if (visited[child->position] || !child->Record().series.IsNull() || ref == excluded)
                continue;
            visited[child->position] = true;
            rows.push_back({child->id, db.Text(child->Record().name), depth});
            self(self, ref, depth + 1);
        }
    };
    add(add, {}, 1);
    return rows;
}

class ABudgetDialog final : public UtilityForms::AStandardDialog {
public:
    ABudgetDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, ABudgetDialogKind kind,
                  AReference<ABudgetItem> item, AReference<ABudgetItem> parent)
        : AStandardDialog(context, TitleOf(kind, item.IsNull()), LayoutOf(kind), owner),
          db_(db),
          kind_(kind),
          item_(item),
          parents_(*Form().ControlAs<AReportPicker>(kParent))
    {
        const ABudgetItem* record = db.BudgetItems().Record(item);
        parents_.Fill(FolderRows(context, db, kind == ABudgetDialogKind::Article ? AReference<ABudgetItem>() : item));
        const auto* parentSlot = db.BudgetItems().Get(record ? record->parent : parent);
        parents_.Choose(parentSlot ? parentSlot->id : kTopRow);
        if (kind == ABudgetDialogKind::Folder && record)
            Form().ControlAs<QLineEdit>(kName)->setText(ToQString(db.Text(record->name)));
        if (kind == ABudgetDialogKind::Article) {
            series_ = std::make_unique<Accounts::ARecordPicker>(*Form().ControlAs<AReportPicker>(kSeries));
            std::vector<Accounts::ARecordPicker::ARow> rows;
            for (auto* slot : db.Series().Live())
                rows.push_back({slot->id, db.Text(slot->Record().name)});
            series_->Fill(rows);
            const auto* seriesSlot = record ? db.Series().Get(record->series) : nullptr;
            series_->Choose(seriesSlot ? seriesSlot->id : 0);
        }
        FirstField()->setFocus();
    }

    AReference<ABudgetItem> result;
    bool committed = false;

protected:
    bool Validate() override
    {
        std::optional<int> refusal;
        if (kind_ == ABudgetDialogKind::Folder) {
            std::u16string name = ToU16(Form().ControlAs<QLineEdit>(kName)->text());
            refusal = CheckFolder(db_, name, Parent(), item_);
        } else if (kind_ == ABudgetDialogKind::Article) {
            refusal = CheckArticle(db_, Series());
        }
        return !refusal || Refuse(*refusal, FirstField());
    }

    void Apply() override
    {
        const auto& strings = context_.Strings();
        const std::u16string name = kind_ == ABudgetDialogKind::Folder ? ToU16(Form().ControlAs<QLineEdit>(kName)->text())
                                                                        : std::u16string();
        AEditOutcome outcome;
        switch (kind_) {
        case ABudgetDialogKind::Folder:
            outcome = item_.IsNull() ? AddFolder(db_, strings, name, Parent())
                                     : ChangeFolder(db_, strings, item_, name, Parent());
            break;
        case ABudgetDialogKind::Article:
            outcome = item_.IsNull() ? AddArticle(db_, strings, Series(), Parent())
                                     : ChangeArticle(db_, strings, item_, Series(), Parent());
            break;
        case ABudgetDialogKind::Move:
            committed = MoveItem(db_, strings, item_, Parent());
            return;
        }
        committed = !outcome.refusal && !outcome.item.IsNull();
        result = outcome.item;
    }

private:
    QWidget* FirstField()
    {
        switch (kind_) {
        case ABudgetDialogKind::Folder: return Form().Control(kName);
        case ABudgetDialogKind::Article: return Form().Control(kSeries);
        case ABudgetDialogKind::Move: break;
        }
        return Form().Control(kParent);
    }
    AReference<ABudgetItem> Parent() const
    {
        const std::uint32_t id = parents_.Chosen();
        return id == kTopRow ? AReference<ABudgetItem>() : Engine::ATableImpl<ABudgetItem>::RefTo(db_.BudgetItems().Find(id));
    }
    AReference<ASeries> Series() const
    {
        return Engine::ATableImpl<ASeries>::RefTo(series_ ? db_.Series().Find(series_->Chosen()) : nullptr);
    }

    ADatabase& db_;
    ABudgetDialogKind kind_;
    AReference<ABudgetItem> item_;
    Accounts::ARecordPicker parents_;
    std::unique_ptr<Accounts::ARecordPicker> series_;
};

bool Run(QWidget* owner, const AProgramContext& context, ADatabase& db, ABudgetDialogKind kind,
         AReference<ABudgetItem> item, AReference<ABudgetItem> parent, AReference<ABudgetItem>* created)
{
    ABudgetDialog dialog(owner, context, db, kind, item, parent);
    context.Dialogs().RunModal(dialog);
    if (created)
        *created = dialog.result;
    return dialog.committed;
}

}  // namespace

bool RunFolderDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ABudgetItem> folder,
                     AReference<ABudgetItem> parent, AReference<ABudgetItem>* created)
{
    return Run(owner, context, db, ABudgetDialogKind::Folder, folder, parent, created);
}

bool RunArticleDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ABudgetItem> article,
                      AReference<ABudgetItem> parent, AReference<ABudgetItem>* created)
{
    return Run(owner, context, db, ABudgetDialogKind::Article, article, parent, created);
}

bool RunMoveDialog(QWidget* owner, const AProgramContext& context, ADatabase& db, AReference<ABudgetItem> item)
{
    return Run(owner, context, db, ABudgetDialogKind::Move, item, {}, nullptr);
}

}  // namespace UserInterface::Budget
