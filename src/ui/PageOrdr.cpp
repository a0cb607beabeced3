#include "ui/PageOrdr.h"

#include "database/engine/StepGuard.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageList.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QLineEdit>

#include <algorithm>
#include <set>

namespace UserInterface::PageOrder {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

namespace {

using namespace PageOrderText;
constexpr int kAdd = 326, kRename = 327, kDelete = 328, kUp = 717, kDown = 718;
constexpr std::int16_t kNameId = -10, kTypeBoxId = -11, kTypeComboId = -12, kListBoxId = -1, kListId = -2;

const char* const kOrderLayout =
    "{t3xe{bW190Her8#-1}{t1l8yt(:l){b[bgt#326]}{bt8[bt#327]}{bt8[bt#328]}{bt8{bWe(:t)}}{bt8[bt#717]}{bt8[bt#718]}}}";
const char* const kEditLayout = "{b{t2{br4xr[sr#329]}{bW140{bxe[et#-10]}}{bt4xr[sr#330]}{bW140#-11}}}";

std::u16string Trimmed(std::u16string text)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    return std::u16string(first, text.end());
}

// A row of the page list: its check box is the page's visibility.
class APageRowItem final : public ARecordItem {
public:
    APageRowItem(std::uint32_t index, std::u16string name, std::u16string type, bool* visible)
        : ARecordItem(index), name_(std::move(name)), type_(std::move(type)), visible_(visible)
    {
    }
    std::u16string Text(int column) const override { return column == 0 ? name_ : type_; }
    ACheckState CheckState() const override { return *visible_ ? ACheckState::Checked : ACheckState::Unchecked; }
    void SetChecked(bool checked) override { *visible_ = checked; }

private:
    std::u16string name_, type_;
    bool* visible_;
};

}  // namespace

class APageOrderDialog::AOrderMode final : public AReportMode {
public:
    explicit AOrderMode(const AProgramContext& context) : context_(context)
    {
        AddColumn(u"", 190, false);
        AddColumn(u"", 120);
    }
    std::u16string ColumnTitle(int n) const override
    {
        std::u16string title(context_.Strings().Text(n == 0 ? 80 : 330));
        std::erase(title, u'&');
        std::erase(title, u':');
        return title;
    }

private:
    const AProgramContext& context_;
};

class APageEditDialog::ATypeMode final : public AReportMode {
public:
    ATypeMode() { AddColumn(u"", 200, false); }
};

std::optional<int> CheckPageRows(const std::vector<APageRow>& rows)
{
    if (std::none_of(rows.begin(), rows.end(), [](const APageRow& row) { return row.visible; }))
        return kNoPageVisible;
    return std::nullopt;
}

void WritePageRows(ADatabase& db, const std::vector<APageRow>& rows, std::u16string_view label)
{
    if (!FD_VERIFY(!db.StepOpen()))
        return;
    Database::Engine::AStepGuard step(db, label);
    std::set<std::uint32_t> kept;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const APageRow& row = rows[i];
        const auto position = static_cast<std::int16_t>(i);
        const std::uint8_t visible = row.visible ? 1 : 0;
        if (auto* slot = row.recordId ? db.Pages().Find(row.recordId) : nullptr; slot && slot->Exists()) {
            kept.insert(slot->id);
            const APageInfo& record = slot->Record();
            const bool renamed = db.Text(record.name) != row.name;
            if (record.position == position && record.visible == visible && record.type == row.type && !renamed)
                continue;
            APageInfo* page = db.Pages().Change(slot);
            page->position = position;
            page->visible = visible;
            page->type = row.type;
            if (renamed) {
                if (auto* text = db.Strings().Get(page->name); text && text->Exists())
                    db.Strings().Change(text)->text = row.name;
                else
                    page->name = db.NewText(row.name);
            }
            continue;
        }
        APageInfo page;
        page.type = row.type;
        page.name = db.NewText(row.name);
        page.position = position;
        page.user = static_cast<std::int8_t>(db.currentUser);
        page.visible = visible;
        db.Pages().Create(page);
    }
    std::vector<Engine::ASlot<APageInfo>*> removed;
    for (auto* slot : db.Pages().Live())
        if (static_cast<std::uint8_t>(slot->Record().user) == db.currentUser && !kept.contains(slot->id))
            removed.push_back(slot);
    for (auto* slot : removed)
        Database::Delete(db, slot);
    // Nothing changed: no step for the history.
    if (db.StepChanged().empty() && db.StepInserted().empty() && db.StepDeleted().empty())
        db.RollBack();
    else
        db.CommitStep();
}

std::vector<APageType> PageTypes(ADatabase& db, const UtilityClasses::Strings::AStrings& strings)
{
    std::vector<APageType> types;
    for (std::uint32_t type : {APageInfo::kAccounts, APageInfo::kTransactions, APageInfo::kReports,
                               APageInfo::kClassifiers, APageInfo::kCurrencies, APageInfo::kBudget})
        types.push_back({type, PageTypeCaption(db, strings, type)});
    for (auto* classifier : db.Classifiers().Live())
        types.push_back({APageInfo::kCategoriesBase + classifier->id, db.Text(classifier->Record().plural)});
    return types;
}

// ---- the edit dialog

APageEditDialog::APageEditDialog(const AProgramContext& context, std::u16string name, std::vector<APageType> types,
                                 bool adding, QWidget* parent)
    : AStandardDialog(context, adding ? kAddCaption : kRenameCaption, kEditLayout, parent),
      types_(std::move(types)),
      mode_(std::make_unique<ATypeMode>()),
      adding_(adding)
{
    Form().InsertElements(kTypeBoxId, "{bxe[rt#-12]}");
    combo_ = Form().ControlAs<AReportPicker>(kTypeComboId);
    combo_->SetMode(mode_.get());
    for (std::size_t i = 0; i < types_.size(); ++i)
        combo_->Root().AddChild(std::make_unique<ATextItem>(static_cast<std::uint32_t>(i),
                                                            std::vector<std::u16string>{types_[i].caption}));
    combo_->RebuildRows();
    if (!adding_) {
        ChooseType(0);
        combo_->setEnabled(false);
    }
    SetName(name);
    Form().Control(kNameId)->setFocus();
}

APageEditDialog::~APageEditDialog() = default;

std::u16string APageEditDialog::Name() const
{
    return Trimmed(ToU16(const_cast<APageEditDialog*>(this)->Form().ControlAs<QLineEdit>(kNameId)->text()));
}

void APageEditDialog::SetName(std::u16string_view name)
{
    Form().ControlAs<QLineEdit>(kNameId)->setText(ToQString(name));
}

std::optional<std::uint32_t> APageEditDialog::Type() const
{
    const AReportItemImpl* item = combo_->SelectedItem();
    if (!item || item->RecordId() >= types_.size())
        return std::nullopt;
    return types_[item->RecordId()].type;
}

void APageEditDialog::ChooseType(int index)
{
    if (index >= 0 && index < combo_->Model().RowCount())
        combo_->Select(combo_->Model().Row(index));
}

bool APageEditDialog::Validate()
{
    if (Name().empty()) {
        ShowMessage(kNoName);
        Form().Control(kNameId)->setFocus();
        return false;
    }
    if (adding_ && !Type()) {
        ShowMessage(kNoType);
        combo_->setFocus();
        return false;
    }
    return true;
}

// ---- the order dialog

APageOrderDialog::APageOrderDialog(const AProgramContext& context, ADatabase& db, QWidget* parent)
    : AStandardDialog(context, kOrderCaption, kOrderLayout, parent), db_(db), mode_(std::make_unique<AOrderMode>(context))
{
    for (const APageEntry& page : UserPages(db))
        rows_.push_back({page.recordId, page.type, page.name, page.visible});
    Form().InsertElements(kListBoxId, "{bWeH110[Rt#-2]}");
    list_ = Form().ControlAs<AReportWindow>(kListId);
    list_->SetMode(mode_.get());
    connect(&Form(), &Win32API::VelvixForms::ADialogForm::Command, this, [this](int id) {
        switch (id) {
        case kAdd: AddPage(); break;
        case kRename: RenamePage(); break;
        case kDelete: DeletePage(); break;
        case kUp: MoveSelected(-1); break;
        case kDown: MoveSelected(+1); break;
        default: break;
        }
    });
    Refresh(rows_.empty() ? -1 : 0);
}

APageOrderDialog::~APageOrderDialog() = default;

void APageOrderDialog::Refresh(int selected)
{
    list_->Model().DeleteAllItems();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        list_->Root().AddChild(std::make_unique<APageRowItem>(static_cast<std::uint32_t>(i), rows_[i].name,
                                                              PageTypeCaption(db_, context_.Strings(), rows_[i].type),
                                                              &rows_[i].visible));
    list_->RebuildRows();
    if (selected >= 0 && selected < list_->Model().RowCount()) {
        list_->Model().FocusRow(selected);
        list_->EnsureRowVisible(selected);
    }
    list_->Refresh();
}

int APageOrderDialog::SelectedRow() const
{
    const AReportItemImpl* item = list_->Model().FocusedItem();
    return item ? static_cast<int>(item->RecordId()) : -1;
}

void APageOrderDialog::SelectRow(int row)
{
    Refresh(row);
}

void APageOrderDialog::SetVisible(int row, bool visible)
{
    if (row >= 0 && static_cast<std::size_t>(row) < rows_.size()) {
        rows_[static_cast<std::size_t>(row)].visible = visible;
        Refresh(SelectedRow());
    }
}

void APageOrderDialog::AddPage()
{
    APageEditDialog dialog(context_, u"", PageTypes(db_, context_.Strings()), true, this);
    if (context_.Dialogs().RunModal(dialog) != QDialog::Accepted || !dialog.Type())
        return;
    rows_.push_back({0, *dialog.Type(), dialog.Name(), true});
    Refresh(static_cast<int>(rows_.size()) - 1);
}

void APageOrderDialog::RenamePage()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    APageRow& page = rows_[static_cast<std::size_t>(row)];
    APageEditDialog dialog(context_, page.name, {{page.type, PageTypeCaption(db_, context_.Strings(), page.type)}},
                           false, this);
    if (context_.Dialogs().RunModal(dialog) != QDialog::Accepted)
        return;
    page.name = dialog.Name();
    Refresh(row);
}

void APageOrderDialog::DeletePage()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    rows_.erase(rows_.begin() + row);
    Refresh(std::min(row, static_cast<int>(rows_.size()) - 1));
}

void APageOrderDialog::MoveSelected(int direction)
{
    const int row = SelectedRow();
    const int target = row + direction;
    if (row < 0 || target < 0 || target >= static_cast<int>(rows_.size()))
        return;
    std::swap(rows_[static_cast<std::size_t>(row)], rows_[static_cast<std::size_t>(target)]);
    Refresh(target);
}

bool APageOrderDialog::Validate()
{
    if (const auto message = CheckPageRows(rows_)) {
        ShowMessage(*message);
        return false;
    }
    return true;
}

void APageOrderDialog::Apply()
{
    WritePageRows(db_, rows_, context_.Strings().Text(kOrderCaption));
}

}  // namespace UserInterface::PageOrder
