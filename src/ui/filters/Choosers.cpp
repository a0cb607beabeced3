#include "ui/filters/Choosers.h"

#pragma push_macro("slots")
#undef slots
#include "analysis/ChooserTrees.h"
#pragma pop_macro("slots")

#include "core/CommonTexts.h"
#include "core/Settings.h"
#include "ui/InterfaceTexts.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <algorithm>
#include <functional>
#include <set>

namespace UserInterface::Filters {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;

namespace {

constexpr int kNameTitle = UtilityClasses::Strings::CommonText::kName, kCurrencyTitle = SharedText::kCurrency,
              kDifferentValues = UtilityClasses::Strings::CommonText::kDifferentValues, kLooseAccounts = UtilityClasses::Strings::CommonText::kLooseAccounts;

enum AItemKind : int { kNone = 100, kDifferent, kFolder, kAccount, kLoose, kCategory };

}  // namespace

// The accounts ticked in a tick tree, shared by its rows.
struct AAccountTicks::ATicked {
    std::set<std::uint32_t> ids;
    std::function<void()> changed;
};

// One row of a chooser: a record (folder, account, category), the none item or the mark. In
// a tick tree its check box stands for the account, or for every account below a folder.
class AChooserItem final : public ARecordItem {
public:
    AChooserItem(int kind, std::uint32_t id, std::u16string name, std::u16string currency = {},
                 AAccountTicks::ATicked* ticked = nullptr)
        : ARecordItem(id), kind_(kind), name_(std::move(name)), currency_(std::move(currency)), ticked_(ticked)
    {
    }
    int Kind() const { return kind_; }
    std::u16string Text(int column) const override { return column == 0 ? name_ : currency_; }
    unsigned CellProperty(int column) const override
    {
        return column == 0 && (kind_ == kFolder || kind_ == kLoose) ? kCellBold : kCellPlain;
    }
    ACheckState CheckState() const override
    {
        if (!ticked_)
            return ACheckState::None;
        const auto accounts = AccountsBelow();
        const bool all = !accounts.empty() && std::all_of(accounts.begin(), accounts.end(), [this](std::uint32_t id) {
            return ticked_->ids.contains(id);
        });
        return all ? ACheckState::Checked : ACheckState::Unchecked;
    }
    void SetChecked(bool checked) override
    {
        for (std::uint32_t id : AccountsBelow())
            checked ? (void)ticked_->ids.insert(id) : (void)ticked_->ids.erase(id);
        if (ticked_->changed)
            ticked_->changed();
    }
    // The account of this row, or those of every row below it.
    std::vector<std::uint32_t> AccountsBelow() const
    {
        std::vector<std::uint32_t> ids;
        const auto collect = [&](const auto& self, const AReportItemImpl& item) -> void {
            const auto& row = static_cast<const AChooserItem&>(item);
            if (row.Kind() == kAccount)
                ids.push_back(row.RecordId());
            for (const auto& child : item.Children())
                self(self, *child);
        };
        collect(collect, *this);
        return ids;
    }

private:
    int kind_;
    std::u16string name_, currency_;
    AAccountTicks::ATicked* ticked_;
};

// Adds the flattened tree below `root`, each node under the last node one level up.
template <typename MakeItem>
void AddTree(AReportItemImpl& root, const std::vector<ATreeNode>& nodes, MakeItem make)
{
    std::vector<AReportItemImpl*> parents{&root};
    for (const ATreeNode& node : nodes) {
        const auto depth = static_cast<std::size_t>(node.depth);
        if (depth >= parents.size())
            continue;  // parents always come first; a gap is not ours to draw
        parents.resize(depth + 1);
        parents.push_back(parents[depth]->AddChild(make(node)));
    }
}

// The account plans' tree, every row with the check box of `ticked` when given.
void AddAccountItems(AReportItemImpl& root, const AProgramContext& context, ADatabase& db,
                     AAccountTicks::ATicked* ticked = nullptr)
{
    const bool hideClosed = context.Options().Flag(UserInterface::Settings::kHideClosedAccounts);
    AddTree(root, AccountTree(db, hideClosed), [&](const ATreeNode& node) -> std::unique_ptr<AReportItemImpl> {
        if (node.kind == ATreeNode::AKind::LooseAccounts)
            return std::make_unique<AChooserItem>(kLoose, 0, std::u16string(context.Strings().Text(kLooseAccounts)),
                                                  std::u16string(), ticked);
        if (node.kind == ATreeNode::AKind::Folder)
            return std::make_unique<AChooserItem>(kFolder, node.id, db.Text(db.Folders().Find(node.id)->Record().name),
                                                  std::u16string(), ticked);
        const AAccount& account = db.Accounts().Find(node.id)->Record();
        return std::make_unique<AChooserItem>(kAccount, node.id, db.Text(account.name),
                                              CurrencyCode(db, account.currency), ticked);
    });
}

AChooser::AChooser(AReportPicker& picker, const AProgramContext& context, ADatabase& db, int noneTextId,
                   bool currencyColumn)
    : context_(context), db_(db), picker_(&picker), noneTextId_(noneTextId)
{
    mode_.AddColumn(std::u16string(context.Strings().Text(kNameTitle)), 220, false);
    if (currencyColumn)
        mode_.AddColumn(std::u16string(context.Strings().Text(kCurrencyTitle)), 60);
    picker_->SetMode(&mode_);
    connect(picker_, &AReportPicker::Notify, this, [this](int code, bool*) {
        if (code != kNotifySelectionChanged)
            return;
        const AChooserItem* item = Chosen();
        if (differentValues_ && !(item && item->Kind() == kDifferent))
            ShowDifferentValues(false);
        emit Changed();
    });
}

AChooser::~AChooser()
{
    // The picker may outlive us; its items and its mode are ours.
    if (picker_) {
        picker_->Model().DeleteAllItems();
        picker_->SetMode(nullptr);
    }
}

void AChooser::Fill()
{
    const AChooserItem* chosen = Chosen();
    const int kind = chosen ? chosen->Kind() : kNone;
    const std::uint32_t id = chosen ? chosen->RecordId() : 0;
    picker_->Model().DeleteAllItems();
    AReportItemImpl& root = picker_->Root();
    if (differentValues_)
        root.AddChild(std::make_unique<AChooserItem>(kDifferent, 0, std::u16string(context_.Strings().Text(kDifferentValues))));
    if (noneTextId_)
        root.AddChild(std::make_unique<AChooserItem>(kNone, 0, std::u16string(context_.Strings().Text(noneTextId_))));
    AddItems(root);
    picker_->RebuildRows();
    if (chosen || (!differentValues_ && noneTextId_))
        ChooseItem(kind, id);
}

const AChooserItem* AChooser::Chosen() const
{
    return static_cast<const AChooserItem*>(picker_->Model().IsStale() ? nullptr : picker_->Model().FocusedItem());
}

void AChooser::ChooseItem(int kind, std::uint32_t id)
{
    picker_->Model().RebuildIfStale();
    AReportItemImpl* found = nullptr;
    for (int row = 0; row < picker_->Model().RowCount() && !found; ++row) {
        auto* item = static_cast<AChooserItem*>(picker_->Model().Row(row));
        if (item->Kind() == kind && item->RecordId() == id)
            found = item;
    }
    if (!found && noneTextId_)
        found = picker_->Model().Row(differentValues_ ? 1 : 0);
    picker_->Select(found);
}

void AChooser::ShowDifferentValues(bool show)
{
    if (show == differentValues_)
        return;
    differentValues_ = show;
    Fill();
    if (show)
        ChooseItem(kDifferent, 0);
}

bool AChooser::ShowsDifferentValues() const
{
    const AChooserItem* item = Chosen();
    return item && item->Kind() == kDifferent;
}

bool AChooser::NoneChosen() const
{
    const AChooserItem* item = Chosen();
    return !item || item->Kind() == kNone;
}

void AChooser::ChooseNone()
{
    ChooseItem(kNone, 0);
    if (!noneTextId_)
        picker_->Select(nullptr);
}

std::u16string AChooser::ChosenText() const
{
    const AChooserItem* item = Chosen();
    return item ? item->SingleText() : std::u16string();
}

// ---- accounts

AAccountChooser::AAccountChooser(AReportPicker& picker, const AProgramContext& context, ADatabase& db, int noneTextId)
    : AChooser(picker, context, db, noneTextId, true)
{
    Fill();
}

void AAccountChooser::AddItems(AReportItemImpl& root)
{
    AddAccountItems(root, context_, db_);
}

AReference<AAccount> AAccountChooser::Account() const
{
    const AChooserItem* item = Chosen();
    if (!item || item->Kind() != kAccount)
        return {};
    return Engine::ATableImpl<AAccount>::RefTo(db_.Accounts().Find(item->RecordId()));
}

AReference<AAccountFolder> AAccountChooser::Folder() const
{
    const AChooserItem* item = Chosen();
    if (!item || item->Kind() != kFolder)
        return {};
    return Engine::ATableImpl<AAccountFolder>::RefTo(db_.Folders().Find(item->RecordId()));
}

std::vector<AReference<AAccount>> AAccountChooser::Accounts() const
{
    std::vector<AReference<AAccount>> accounts;
    const AChooserItem* chosen = Chosen();
    if (!chosen)
        return accounts;
    const auto collect = [&](const auto& self, const AReportItemImpl& item) -> void {
        const auto& row = static_cast<const AChooserItem&>(item);
        if (row.Kind() == kAccount) {
            auto ref = Engine::ATableImpl<AAccount>::RefTo(db_.Accounts().Find(row.RecordId()));
            if (std::find(accounts.begin(), accounts.end(), ref) == accounts.end())
                accounts.push_back(ref);
        }
        for (const auto& child : item.Children())
            self(self, *child);
    };
    collect(collect, *chosen);
    return accounts;
}

void AAccountChooser::Choose(AReference<AAccount> account)
{
    auto* slot = db_.Accounts().Get(account);
    if (slot && slot->Exists())
        ChooseItem(kAccount, slot->id);
    else
        ChooseNone();
}

void AAccountChooser::ChooseFolder(AReference<AAccountFolder> folder)
{
    auto* slot = db_.Folders().Get(folder);
    if (slot && slot->Exists())
        ChooseItem(kFolder, slot->id);
    else
        ChooseNone();
}

// ---- the tick tree

AAccountTicks::AAccountTicks(AReportWindow& list, const AProgramContext& context, ADatabase& db)
    : context_(context),
      db_(db),
      list_(&list),
      mode_(std::make_unique<APageMode>(context, true)),
      ticked_(std::make_unique<ATicked>())
{
    mode_->AddTitledColumn(kNameTitle, 200, false);
    mode_->AddTitledColumn(kCurrencyTitle, 64);
    list_->SetMode(mode_.get());
    ticked_->changed = [this] { emit Changed(); };
    Fill();
}

AAccountTicks::~AAccountTicks()
{
    if (list_) {
        list_->Model().DeleteAllItems();
        list_->SetMode(nullptr);
    }
}

void AAccountTicks::Fill()
{
    list_->Model().DeleteAllItems();
    AddAccountItems(list_->Root(), context_, db_, ticked_.get());
    // A tick on an account that is gone would narrow the list to nothing anyone can see.
    std::erase_if(ticked_->ids, [this](std::uint32_t id) {
        auto* slot = db_.Accounts().Find(id);
        return !slot || !slot->Exists();
    });
    list_->RebuildRows();
}

std::vector<AReference<AAccount>> AAccountTicks::Ticked() const
{
    std::vector<AReference<AAccount>> accounts;
    for (std::uint32_t id : ticked_->ids)
        if (auto* slot = db_.Accounts().Find(id); slot && slot->Exists())
            accounts.push_back(Engine::ATableImpl<AAccount>::RefTo(slot));
    return accounts;
}

void AAccountTicks::SetTicked(const std::vector<AReference<AAccount>>& accounts)
{
    std::set<std::uint32_t> ids;
    for (auto account : accounts)
        if (auto* slot = db_.Accounts().Get(account); slot && slot->Exists())
            ids.insert(slot->id);
    if (ids == ticked_->ids)
        return;
    ticked_->ids = std::move(ids);
    list_->Refresh();
}

// ---- categories

namespace {
constexpr int kNotGiven = UtilityClasses::Strings::CommonText::kNotGiven;
}

ACategoryChooser::ACategoryChooser(AReportPicker& picker, const AProgramContext& context, ADatabase& db,
                                   AReference<AClassifier> classifier)
    : AChooser(picker, context, db, kNotGiven, false), classifier_(classifier)
{
    Fill();
}

void ACategoryChooser::AddItems(AReportItemImpl& root)
{
    AddTree(root, CategoryTree(db_, classifier_), [this](const ATreeNode& node) {
        return std::make_unique<AChooserItem>(kCategory, node.id, db_.Text(db_.Categories().Find(node.id)->Record().name));
    });
}

AReference<ACategory> ACategoryChooser::Category() const
{
    const AChooserItem* item = Chosen();
    if (!item || item->Kind() != kCategory)
        return {};
    return Engine::ATableImpl<ACategory>::RefTo(db_.Categories().Find(item->RecordId()));
}

void ACategoryChooser::Choose(AReference<ACategory> category)
{
    auto* slot = db_.Categories().Get(category);
    if (slot && slot->Exists())
        ChooseItem(kCategory, slot->id);
    else
        ChooseNone();
}

}  // namespace UserInterface::Filters
