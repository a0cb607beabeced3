#include "database/FolderCommands.h"

#include "database/AccountCommands.h"
#include "database/CategoryCommands.h"
#include "database/DatabaseRules.h"
#include "database/StepView.h"
#include "database/engine/StepGuard.h"

namespace Database {

namespace {

using AFolderSlot = Engine::ASlot<AAccountFolder>;
using AFolderTable = Engine::ATableImpl<AAccountFolder>;

// The texts of 743-751 are C-style formats: "%s" a text, "%d" a number, "%%" a percent sign.
// A format from a language file may ask for more than is given: a missing one writes nothing.
std::u16string Printf(std::u16string_view format, std::u16string_view text, std::size_t number)
{
    std::u16string out;
    bool textUsed = false, numberUsed = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        const char16_t kind = format[++i];
        if (kind == u's' && !textUsed) {
            out += text;
            textUsed = true;
        } else if (kind == u'd' && !numberUsed) {
            for (char c : std::to_string(number))
                out += static_cast<char16_t>(c);
            numberUsed = true;
        } else if (kind == u'%') {
            out += u'%';
        }
    }
    return out;
}

std::vector<AFolderSlot*> ChildrenOf(ADatabase& db, AReference<AAccountFolder> parent)
{
    return CurrentPrefixRange(db, db.Folders(), 2,
                              [&](const AAccountFolder& f) { return Compare3(f.parent, parent); });
}

// The folder and every folder below it, each once (a damaged file's loop ends where one repeats).
std::vector<AFolderSlot*> FolderAndBelow(ADatabase& db, AFolderSlot* top)
{
    std::vector<AFolderSlot*> found{top};
    std::vector<bool> seen(db.Folders().SlotCount());
    seen[top->position] = true;
    for (std::size_t i = 0; i < found.size(); ++i)
        for (AFolderSlot* child : ChildrenOf(db, AFolderTable::RefTo(found[i])))
            if (!seen[child->position]) {
                seen[child->position] = true;
                found.push_back(child);
            }
    return found;
}

}  // namespace

std::optional<int> CheckFolder(ADatabase& db, const AFolderInput& input, AReference<AAccountFolder> self)
{
    const std::u16string name = TypedText(input.name);
    if (name.empty())
        return FolderMessage::kNameMissing;
    AReference<AAccountFolder> parent = input.parent;
    if (const AAccountFolder* stored = db.Folders().Record(self); stored && parent.IsNull())
        parent = stored->parent;
    if (parent.IsNull())
        return CheckAccountPlanName(db, name, self);
    for (AFolderSlot* sibling : ChildrenOf(db, parent))
        if (AFolderTable::RefTo(sibling) != self && db.Text(sibling->Record().name) == name)
            return FolderMessage::kNameTaken;
    return std::nullopt;
}

AReference<AAccountFolder> AddFolder(ADatabase& db, const AFolderInput& input, std::u16string_view label)
{
    Engine::AStepGuard step(db, label);
    AAccountFolder record;
    record.name = db.NewText(TypedText(input.name));
    if (!input.comment.empty())
        record.comment = db.NewText(input.comment);
    record.parent = input.parent;
    const auto folder = AFolderTable::RefTo(db.Folders().Create(record));
    if (input.parent.IsNull()) {
        std::vector<AReference<AAccount>> accounts;
        ForEachLive(db.Accounts(), [&](Engine::ASlot<AAccount>* slot) {
            accounts.push_back(Engine::ATableImpl<AAccount>::RefTo(slot));
        });
        for (auto account : accounts)
            db.Placements().Create(AAccountPlacement{account, folder});
    }
    CommitWithRules(db);
    return folder;
}

bool IsWithin(ADatabase& db, AReference<AAccountFolder> folder, AReference<AAccountFolder> top)
{
    auto& folders = db.Folders();
    for (std::size_t steps = 0; !folder.IsNull() && steps <= folders.SlotCount(); ++steps) {
        if (folder == top)
            return true;
        const AAccountFolder* record = folders.Record(folder);
        if (!record)
            return false;
        folder = record->parent;
    }
    return false;
}

bool ChangeFolder(ADatabase& db, AFolderSlot& folder, const AFolderInput& input, std::u16string_view label)
{
    const AAccountFolder& stored = folder.Record();
    const std::u16string name = TypedText(input.name);
    const auto parent = stored.parent.IsNull() || input.parent.IsNull() ? stored.parent : input.parent;
    if (parent != stored.parent && IsWithin(db, parent, AFolderTable::RefTo(&folder)))
        return false;
    if (name == db.Text(stored.name) && input.comment == db.Text(stored.comment) && parent == stored.parent)
        return false;
    Engine::AStepGuard step(db, label);
    AAccountFolder changed = stored;
    WriteNameAndComment(db, changed, name, input.comment);
    changed.parent = parent;
    if (changed.name != stored.name || changed.comment != stored.comment || changed.parent != stored.parent)
        *db.Folders().Change(&folder) = changed;
    CommitWithRules(db);
    return true;
}

AFolderContents ContentsOf(ADatabase& db, AReference<AAccountFolder> folder)
{
    AFolderContents contents;
    AFolderSlot* top = db.Folders().Get(folder);
    if (!top || !top->Exists())
        return contents;
    std::vector<bool> seen(db.Accounts().SlotCount());
    std::vector<AReference<AAccount>> accounts;
    for (AFolderSlot* node : FolderAndBelow(db, top)) {
        if (node != top)
            ++(node->Record().locked ? contents.lockedFolders : contents.folders);
        const auto ref = AFolderTable::RefTo(node);
        for (auto* placement : CurrentPrefixRange(db, db.Placements(), 3, [&](const AAccountPlacement& p) {
                 return Compare3(p.folder, ref);
             })) {
            auto* account = db.Accounts().Get(placement->Record().account);
            if (!account || !account->Exists() || seen[account->position])
                continue;
            seen[account->position] = true;
            accounts.push_back(Engine::ATableImpl<AAccount>::RefTo(account));
            ++(account->Record().locked ? contents.lockedAccounts : contents.accounts);
        }
    }
    contents.transactions = CountTransactionsOf(db, accounts);
    return contents;
}

std::u16string FolderDeleteQuestion(const UtilityClasses::Strings::AStrings& strings, const AFolderContents& contents,
                                    std::u16string_view name, bool severalPlans)
{
    const std::pair<int, std::size_t> items[] = {{FolderMessage::kFolders, contents.folders},
                                                 {FolderMessage::kLockedFolders, contents.lockedFolders},
                                                 {FolderMessage::kAccounts, contents.accounts},
                                                 {FolderMessage::kLockedAccounts, contents.lockedAccounts}};
    std::u16string question;
    bool listed = false;
    for (const auto& [id, count] : items) {
        if (count == 0)
            continue;
        question += listed ? u";\r\n   " : Printf(strings.Text(FolderMessage::kContains), name, 0) + u"\r\n   ";
        question += Printf(strings.Text(id), {}, count);
        listed = true;
    }
    if (listed) {
        question += u".\r\n\r\n" + Printf(strings.Text(FolderMessage::kGoesWith), name, 0);
        if (contents.transactions > 0)
            question += u"\r\n" + Printf(strings.Text(FolderMessage::kTransactionsToo), {}, contents.transactions);
        if (severalPlans && contents.accounts + contents.lockedAccounts > 0)
            question += u"\r\n\r\n" + std::u16string(strings.Text(FolderMessage::kEveryPlan));
        question += u"\r\n\r\n";
    }
    return question + Printf(strings.Text(FolderMessage::kDeleteFolderQuestion), name, 0);
}

std::u16string PlanDeleteQuestion(const UtilityClasses::Strings::AStrings& strings, std::u16string_view name)
{
    return Printf(strings.Text(FolderMessage::kDeletePlanQuestion), name, 0);
}

bool CanDeletePlan(ADatabase& db)
{
    std::size_t plans = 0;
    ForEachLive(db.Folders(), [&](AFolderSlot* folder) { plans += folder->Record().parent.IsNull() ? 1 : 0; });
    return plans > 1;
}

void DeleteFolder(ADatabase& db, AFolderSlot& folder, std::u16string_view label)
{
    const bool plan = folder.Record().parent.IsNull();
    if (plan && !CanDeletePlan(db))
        return;
    Engine::AStepGuard step(db, label);
    if (plan)
        DeleteAccountPlan(db, &folder);
    else
        Delete(db, &folder);
    CommitWithRules(db);
}

}  // namespace Database
