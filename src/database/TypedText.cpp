#include "database/TypedText.h"

#include "core/TextUtilities.h"

namespace Database {

namespace {
constexpr std::size_t kMaxTypedLength = 1024;
}

std::u16string TypedText(std::u16string_view typed)
{
    std::u16string text(typed.substr(0, kMaxTypedLength));
    UtilityClasses::Strings::CollapseSpaces(text);
    return text;
}

bool SetText(ADatabase& db, AReference<AString>& ref, std::u16string_view text)
{
    if (Engine::ASlot<AString>* slot = db.Strings().Get(ref); slot && slot->Exists()) {
        if (slot->Record().text == text)
            return false;
        db.Strings().Change(slot)->text = text;
        return true;
    }
    ref = db.NewText(text);
    return true;
}

}  // namespace Database
