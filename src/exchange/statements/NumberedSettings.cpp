#include "exchange/statements/NumberedSettings.h"

namespace ExportImport::Statements {

namespace {

std::string EntryName(std::string_view prefix, std::size_t index)
{
    return std::string(prefix) + std::to_string(index + 1);
}

}  // namespace

std::vector<std::string> ReadNumberedEntries(UserInterface::Settings::OptionStorage::AOptionStore& store,
                                             std::string_view countName, std::string_view prefix, std::size_t limit)
{
    std::int32_t count = 0;
    store.ReadInt(countName, count);
    std::vector<std::string> entries;
    for (std::int32_t i = 0; i < count && static_cast<std::size_t>(i) < limit; ++i) {
        std::string entry;
        if (store.ReadString(EntryName(prefix, static_cast<std::size_t>(i)), entry))
            entries.push_back(std::move(entry));
    }
    return entries;
}

void WriteNumberedEntries(UserInterface::Settings::OptionStorage::AOptionStore& store, std::string_view countName,
                          std::string_view prefix, const std::vector<std::string>& entries, std::size_t before)
{
    for (std::size_t i = entries.size(); i < before; ++i)
        store.WriteString(EntryName(prefix, i), std::nullopt);
    for (std::size_t i = 0; i < entries.size(); ++i)
        store.WriteString(EntryName(prefix, i), entries[i]);
    store.WriteInt(countName, static_cast<std::int32_t>(entries.size()));
}

}  // namespace ExportImport::Statements
