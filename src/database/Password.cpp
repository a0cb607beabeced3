// The password check when a data file is opened, and the change of the password.
#include "database/Password.h"

#include "database/engine/StepGuard.h"

namespace Database {

namespace {

// While the file is read the references are still identifiers and the text table
// is not sorted yet, so an unresolved reference is looked up slot by slot.
const AString* FindText(ADatabase& db, AReference<AString> ref)
{
    if (ref.IsResolved())
        return db.Strings().Record(ref);
    if (!ref.IsUnresolved())
        return nullptr;
    auto& strings = db.Strings();
    for (std::size_t i = 0; i < strings.SlotCount(); ++i) {
        const auto& slot = strings.SlotAt(i);
        if (slot.id == ref.UnresolvedId() && slot.Exists())
            return &slot.Record();
    }
    return nullptr;
}

}  // namespace

Engine::ASlot<AUser>* PasswordUser(ADatabase& db)
{
    auto& users = db.Users();
    for (std::size_t i = users.SlotCount(); i-- > 0;) {
        auto& slot = users.SlotAt(i);
        if (slot.Exists() && slot.Record().number == db.currentUser)
            return &slot;
    }
    return nullptr;
}

std::u16string PasswordOf(ADatabase& db)
{
    const Engine::ASlot<AUser>* user = PasswordUser(db);
    const AString* text = user ? FindText(db, user->Record().password) : nullptr;
    return text ? text->text : std::u16string();
}

std::optional<std::u16string> AskPassword(const APasswordPrompt& prompt, const std::string& fileName,
                                          const std::function<bool(const std::u16string&)>& accept)
{
    if (!prompt)
        return std::nullopt;
    std::optional<std::u16string> accepted;
    const bool confirmed = prompt(fileName, [&](const std::u16string& typed) {
        if (!accept(typed))
            return false;
        accepted = typed;
        return true;
    });
    // A prompt that says yes without a text that passed is not let through.
    return confirmed ? accepted : std::nullopt;
}

std::uint16_t PasswordCheckValue(std::u16string_view typed)
{
    std::uint32_t sum = 0;
    for (char16_t unit : typed)
        sum += unit;
    if (sum == 0)
        return 0;
    return static_cast<std::uint16_t>(((sum * 214013u + 2531011u) >> 16) & 0x7FFFu);
}

APasswordChange ChangePassword(ADatabase& db, std::u16string_view current, std::u16string_view newPassword,
                               std::u16string_view repeated, std::u16string_view label)
{
    // The change is a step of its own; nothing is changed inside someone else's step.
    if (!FD_VERIFY(!db.StepOpen()))
        return APasswordChange::StepOpen;
    if (!PasswordMatches(PasswordOf(db), current))
        return APasswordChange::WrongCurrent;
    if (newPassword != repeated)
        return APasswordChange::NewDiffers;
    Engine::AStepGuard step(db, label);
    Engine::ASlot<AUser>* user = PasswordUser(db);
    if (!user) {
        AUser created;
        created.name = db.NewText(u"Admin");
        created.number = db.currentUser;
        user = db.Users().Create(created);
    }
    auto& strings = db.Strings();
    if (auto* text = strings.Get(user->Record().password); text && text->Exists())
        strings.Change(text)->text = std::u16string(newPassword);
    else
        db.Users().Change(user)->password = db.NewText(newPassword);
    db.CommitStep();
    return APasswordChange::Changed;
}

HRESULT ADatabase::AfterTableLoaded(Engine::ATableId table)
{
    if (table != kUserTable)
        return Result::kOk;
    const std::u16string stored = PasswordOf(*this);
    if (stored.empty())
        return Result::kOk;
    const auto accepted = AskPassword(PasswordPrompt(), FileName().FullPath(),
                                      [&](const std::u16string& typed) { return PasswordMatches(stored, typed); });
    return accepted ? Result::kOk : Result::kPasswordCancelled;
}

}  // namespace Database
