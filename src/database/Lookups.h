// The lookups the other parts of the program use. Each answers a live record or
// nullptr; records inserted in the open step count, records deleted in it do not.
#pragma once

#include "database/Database.h"

#include <string_view>
#include <vector>

namespace Database {

// Follows the parents up to the node without parent; nullptr for a missing category
// or a parent chain that loops (a damaged file).
Engine::ASlot<ACategory>* RootOf(ADatabase& db, AReference<ACategory> category);
// The classifier one of whose three roots is the category's root.
Engine::ASlot<AClassifier>* ClassifierOf(ADatabase& db, AReference<ACategory> category);
// Whether the category lies in the transfer tree (root 3) of its classifier.
bool InTransferTree(ADatabase& db, AReference<ACategory> category);
// The first currency whose code equals the text exactly.
Engine::ASlot<ACurrency>* CurrencyByCode(ADatabase& db, std::u16string_view code);
// Every live account called `name` in the currency coded `code`.
std::vector<AReference<AAccount>> AccountsNamed(ADatabase& db, std::u16string_view name, std::u16string_view code);
// The header of the pair in either order.
Engine::ASlot<ARateHeader>* RateHeaderFor(ADatabase& db, AReference<ACurrency> c1, AReference<ACurrency> c2);
// The first classifier whose singular and plural names equal the texts.
Engine::ASlot<AClassifier>* ClassifierByNames(ADatabase& db, std::u16string_view singular,
                                              std::u16string_view plural);
// The first folder without parent. Every database has one: none is an assertion failure.
Engine::ASlot<AAccountFolder>* FirstAccountPlan(ADatabase& db);

}  // namespace Database
