// The accounts page: account plans and their folders as a tree, each holding the accounts
// placed in it, with currency and balances; accounts in no folder come last.
#include "ui/PageFactory.h"
#include "ui/PageTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"

#include <algorithm>
#include <set>

namespace UserInterface {

namespace {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportItemImpl;
using namespace Win32API::VelvixControls::Reports;

constexpr int kAccountsWithoutFolder = 650;

enum AColumn { kName, kCurrency, kInitial, kCurrent, kComment };

class AFolderItem : public ARecordItem {
public:
    AFolderItem(std::uint32_t id, std::u16string name, std::u16string comment)
        : ARecordItem(id), name_(std::move(name)), comment_(std::move(comment))
    {
    }
    std::u16string Text(int column) const override
    {
        return column == kName ? name_ : column == kComment ? comment_ : std::u16string();
    }
    unsigned CellProperty(int column) const override { return column == kName ? kCellBold : kCellPlain; }

private:
    std::u16string name_, comment_;
};

class AAccountItem : public ARecordItem {
public:
    AAccountItem(std::uint32_t id, std::u16string name, std::u16string currency, std::u16string initial,
                 std::u16string current, std::u16string comment)
        : ARecordItem(id), texts_{std::move(name), std::move(currency), std::move(initial), std::move(current),
                                  std::move(comment)}
    {
    }
    std::u16string Text(int column) const override
    {
        return column >= 0 && column < 5 ? texts_[column] : std::u16string();
    }
    unsigned CellProperty(int column) const override
    {
        return column == kInitial || column == kCurrent ? kCellRightAligned : kCellPlain;
    }

private:
    std::u16string texts_[5];
};

class AAccountsPage final : public ARecordListPage {
public:
    AAccountsPage(const AProgramContext& context, ADatabase& db)
        : ARecordListPage(context, db, true,
                          {AAccount::kTableId, AAccountFolder::kTableId, AAccountPlacement::kTableId,
                           ATransaction::kTableId, ACurrency::kTableId, AString::kTableId})
    {
        Mode().AddTitledColumn(80, 240, false);
        Mode().AddTitledColumn(71, 70);
        Mode().AddTitledColumn(256, 150);
        Mode().AddTitledColumn(257, 150);
        Mode().AddTitledColumn(79, 220);
    }

protected:
    void Fill(AReportItemImpl& root) override
    {
        hideClosed_ = context_.Options().Flag(UserInterface::Settings::kHideClosedAccounts);
        placed_.clear();
        visited_.clear();
        for (auto* plan : Children({}))
            AddFolder(root, *plan);
        std::vector<Engine::ASlot<AAccount>*> loose;
        for (auto* slot : db_.Accounts().Live())
            if (!placed_.contains(slot->id) && Shows(*slot))
                loose.push_back(slot);
        if (loose.empty())
            return;
        auto* group = root.AddChild(std::make_unique<AFolderItem>(
            0, std::u16string(context_.Strings().Text(kAccountsWithoutFolder)), std::u16string()));
        for (auto* slot : loose)
            AddAccount(*group, *slot);
    }

private:
    std::vector<Engine::ASlot<AAccountFolder>*> Children(AReference<AAccountFolder> parent)
    {
        AAccountFolder probe;
        probe.parent = parent;
        auto range = db_.Folders().EqualRange(2, probe);
        return {range.begin(), range.end()};
    }

    bool Shows(const Engine::ASlot<AAccount>& slot) const { return !(hideClosed_ && slot.Record().locked); }

    void AddFolder(AReportItemImpl& parent, Engine::ASlot<AAccountFolder>& folder)
    {
        // A damaged file may hang a folder below itself.
        if (!visited_.insert(folder.id).second)
            return;
        const AAccountFolder& record = folder.Record();
        auto* item = parent.AddChild(
            std::make_unique<AFolderItem>(folder.id, db_.Text(record.name), db_.Text(record.comment)));
        const auto ref = Engine::ATableImpl<AAccountFolder>::RefTo(&folder);
        for (auto* child : Children(ref))
            AddFolder(*item, *child);
        AAccountPlacement probe;
        probe.folder = ref;
        for (auto* placement : db_.Placements().EqualRange(3, probe))
            if (auto* account = db_.Accounts().Get(placement->Record().account); account && account->Exists()) {
                placed_.insert(account->id);
                if (Shows(*account))
                    AddAccount(*item, *account);
            }
    }

    void AddAccount(AReportItemImpl& parent, Engine::ASlot<AAccount>& slot)
    {
        const AAccount& account = slot.Record();
        const auto ref = Engine::ATableImpl<AAccount>::RefTo(&slot);
        const int precision = AccountPrecision(db_, ref);
        parent.AddChild(std::make_unique<AAccountItem>(
            slot.id, db_.Text(account.name), CurrencyCode(db_, account.currency),
            AmountText(context_, account.initialBalance, precision),
            AmountText(context_, CurrentBalance(db_, ref), precision), db_.Text(account.comment)));
    }

    bool hideClosed_ = false;
    std::set<std::uint32_t> placed_;
    std::set<std::uint32_t> visited_;
};

}  // namespace

std::unique_ptr<AAbstractPage> CreateAccountsPage(const AProgramContext& context, ADatabase& db)
{
    return std::make_unique<AAccountsPage>(context, db);
}

}  // namespace UserInterface
