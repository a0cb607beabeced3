#include "database/engine/CompoundFileFormat.h"

namespace Database::Engine::Implementation {

namespace {

// Simple upper-casing of the scripts a data file's names may use (Latin, Latin-1,
// Cyrillic); other units compare as they are.
char16_t UpperUnit(char16_t c)
{
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
    if (c == 0x00FF) return 0x0178;
    if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 0x50);
    return c;
}

}  // namespace

int CompareEntryNames(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char16_t ua = UpperUnit(a[i]);
        const char16_t ub = UpperUnit(b[i]);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    return 0;
}

bool IsValidEntryName(const std::u16string& name)
{
    if (name.empty() || name.size() > kMaxNameChars) return false;
    for (char16_t c : name) {
        if (c == 0 || c == u'/' || c == u'\\' || c == u':' || c == u'!') return false;
    }
    return true;
}

}  // namespace Database::Engine::Implementation
