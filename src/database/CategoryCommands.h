// The categories page's commands: adding, changing, moving and deleting a category, each one
// step named by the dialog's title, with the checks the dialog makes before it calls them.
#pragma once

#include "database/Database.h"
#include "database/DatabaseTexts.h"
#include "database/TypedText.h"

#include <optional>
#include <string>
#include <string_view>

namespace Database {

// The first failing check of a (normalised) name under `parent`: empty, a backslash, the name
// of another live child of the same parent. `self` is the category being changed.
std::optional<int> CheckCategoryName(ADatabase& db, std::u16string_view name, AReference<ACategory> parent,
                                     AReference<ACategory> self = {});

// Whether `candidate` may become the parent of `category`: a live category of the same tree
// that is neither the category itself nor below it. Moving to another tree would put the
// category's transactions under the wrong kind (an expense under income items).
bool CanBeParentOf(ADatabase& db, AReference<ACategory> candidate, AReference<ACategory> category);

// One step named `label`: a new category under `parent` (a new category always has one).
AReference<ACategory> AddCategory(ADatabase& db, AReference<ACategory> parent, std::u16string_view name,
                                  std::u16string_view comment, std::u16string_view label);

// One step named `label` writing the name, the comment and, when given and allowed, the parent.
// False, and no step, when nothing differs.
bool ChangeCategory(ADatabase& db, AReference<ACategory> category, std::u16string_view name,
                    std::u16string_view comment, std::optional<AReference<ACategory>> parent,
                    std::u16string_view label);

// The transactions that lose a category when it is deleted: those related to it or to a
// category below it (they go with it), each counted once.
std::size_t TransactionsLosing(ADatabase& db, AReference<ACategory> category);

// One step named `label`: the category with the categories below it; the clean-up removes their
// relations and series node filters. A tree's root is never deleted (its classifier keeps
// pointing to it): false.
bool DeleteCategory(ADatabase& db, AReference<ACategory> category, std::u16string_view label);

}  // namespace Database
