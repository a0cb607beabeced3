// Lists kept in the program settings as a count and one text per entry ("<prefix><n>", from
// 1), so that each entry stays within the store's limit on one text.
#pragma once
#include "core/OptionStore.h"

#include <string>
#include <string_view>
#include <vector>

namespace ExportImport::Statements {

// At most `limit` entries; a missing one is left out.
std::vector<std::string> ReadNumberedEntries(UserInterface::Settings::OptionStorage::AOptionStore& store,
                                             std::string_view countName, std::string_view prefix, std::size_t limit);
// Writes `entries` over the `before` entries kept so far, removing those beyond the new count.
void WriteNumberedEntries(UserInterface::Settings::OptionStorage::AOptionStore& store, std::string_view countName,
                          std::string_view prefix, const std::vector<std::string>& entries, std::size_t before);

}  // namespace ExportImport::Statements
