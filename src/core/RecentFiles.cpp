#include "core/RecentFiles.h"

#include "core/CodePage.h"
#include "core/IniDocument.h"

#include <algorithm>

namespace UserInterface::Settings {

namespace {

constexpr int kReadSlots = 5;

std::string SlotName(int index) { return "mru" + std::to_string(index); }

// The lower-case partner of a capital letter in the alphabets users name their files in.
char16_t FoldCase(char16_t c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<char16_t>(c + 0x20);
    if (c < 0x80)
        return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    if (c == 0x178)
        return 0xFF;
    // Latin Extended-A and Cyrillic supplements pair capitals with the next code point.
    const bool evenCapital = (c >= 0x100 && c <= 0x137 && c != 0x130) || (c >= 0x14A && c <= 0x177) ||
                             (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F);
    if (evenCapital && c % 2 == 0)
        return static_cast<char16_t>(c + 1);
    const bool oddCapital = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE);
    if (oddCapital && c % 2 == 1)
        return static_cast<char16_t>(c + 1);
    return c;
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    using UtilityClasses::Strings::Utf16ToUtf8;
    using UtilityClasses::Strings::Utf8ToUtf16;
    const std::u16string x = Utf8ToUtf16(a), y = Utf8ToUtf16(b);
    // Names that are not valid UTF-8 would all decode to U+FFFD: only their bytes can tell.
    if (Utf16ToUtf8(x) != a || Utf16ToUtf8(y) != b)
        return a == b;
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(),
                                              [](char16_t l, char16_t r) { return FoldCase(l) == FoldCase(r); });
}

std::optional<std::string> ReadRecentFile(OptionStorage::AOptionStore& store, int index)
{
    std::string path;
    if (index < 0 || index >= kReadSlots || !store.ReadString(SlotName(index), path))
        return std::nullopt;
    return path;
}

std::vector<std::string> RecentFiles(OptionStorage::AOptionStore& store)
{
    std::vector<std::string> files;
    for (int i = 0; i < kRecentFileSlots; ++i) {
        auto path = ReadRecentFile(store, i);
        if (!path || path->empty())
            break;
        files.push_back(std::move(*path));
    }
    return files;
}

void AddRecentFile(OptionStorage::AOptionStore& store, std::string_view path)
{
    // A path the store cannot hold would leave the list shifted around a gap.
    if (path.empty() || !OptionStorage::IsStorableValue(path))
        return;
    std::vector<std::string> list{std::string(path)};
    for (int i = 0; i < kReadSlots && list.size() < kReadSlots; ++i) {
        auto entry = ReadRecentFile(store, i);
        if (!entry || entry->empty())
            continue;
        bool known = false;
        for (const std::string& seen : list)
            known = known || EqualIgnoringCase(seen, *entry);
        if (!known)
            list.push_back(std::move(*entry));
    }
    for (int i = 0; i < kRecentFileSlots; ++i) {
        if (static_cast<std::size_t>(i) < list.size())
            store.WriteString(SlotName(i), list[static_cast<std::size_t>(i)]);
        else
            store.WriteString(SlotName(i), std::nullopt);
    }
}

void RemoveRecentFile(OptionStorage::AOptionStore& store, int index)
{
    if (index < 0 || index >= kReadSlots)
        return;
    int last = index;
    for (; last < kRecentFileSlots; ++last) {
        auto next = ReadRecentFile(store, last + 1);
        if (!next)
            break;
        store.WriteString(SlotName(last), *next);
    }
    store.WriteString(SlotName(last), std::nullopt);
}

}  // namespace UserInterface::Settings
