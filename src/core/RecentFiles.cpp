#include "core/RecentFiles.h"

#include "core/FileSystem.h"
#include "core/IniDocument.h"


namespace UserInterface::Settings {

namespace {

constexpr int kReadSlots = 5;

std::string SlotName(int index) { return "mru" + std::to_string(index); }

}  // namespace

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
            known = known || Files::SamePath(seen, *entry);
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
