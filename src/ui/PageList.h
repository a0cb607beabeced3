// The pages of the open data file: its page records of the current user, which the main
// window shows as tabs and lists in its View menu.
#pragma once
#include "core/AStrings.h"
#include "ui/DatabaseModel.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace UserInterface {

struct APageEntry {
    std::uint32_t recordId = 0;
    std::uint32_t type = 0;
    std::u16string name;
    int recordPosition = 0;  // among all page records of the user, hidden ones included
    bool visible = false;
    bool operator==(const APageEntry&) const = default;
};

// Every page record of the current user in record order (by position).
std::vector<APageEntry> UserPages(Database::ADatabase& db);
// Those of them that are shown.
std::vector<APageEntry> VisiblePages(Database::ADatabase& db);

// The caption of a page type: 331..335 and 666 for the fixed types, the classifier's plural
// name for a categories page; empty for a type the program does not know.
std::u16string PageTypeCaption(Database::ADatabase& db, const UtilityClasses::Strings::AStrings& strings,
                               std::uint32_t type);
// The classifier a categories page shows; null for other types or a classifier that is gone.
Database::Engine::ASlot<Database::AClassifier>* CategoriesPageClassifier(Database::ADatabase& db,
                                                                         std::uint32_t type);

// The id of the element that holds a page in the window's stack: minus the record id. Element
// ids are 16-bit, so a record id beyond their range gets the first even id from -32768 up that
// `taken` does not hold (record ids are odd and never collide with it).
std::int16_t PageElementId(std::uint32_t recordId, const std::set<std::int16_t>& taken);

}  // namespace UserInterface
