// The classifiers page's commands: adding a classifier with its root categories, renaming it,
// and deleting it with everything that hangs on it, each one step named by its command.
#pragma once

#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace Database {

struct AClassifierInput {
    std::u16string singular, plural;  // as typed; the commands normalise them
    bool separateTrees = true;
    bool useInTransfers = false;
};

// The first failing check: a name missing, a backslash in one, a name another classifier has.
std::optional<int> CheckClassifierInput(ADatabase& db, const AClassifierInput& input, AReference<AClassifier> self = {});

// One step named `label`: the classifier and its roots, named after its plural name: one root,
// or with separate trees the income and expense roots (and the transfer root when it is used
// in transfers), the plural name followed by `treeNames` (income, expense, transfer).
AReference<AClassifier> AddClassifier(ADatabase& db, const AClassifierInput& input,
                                      const std::array<std::u16string, 3>& treeNames, std::u16string_view label);

// One step named `label` that renames the classifier and, when asked, takes it into use in
// transfers (with separate trees it gets its transfer root, named as AddClassifier names it);
// false, and no step, when nothing changes. Its trees keep their layout, and a classifier in
// use in transfers stays so: leaving it would take its transfer tree from the transfers. Its
// categories pages named by the old plural name take the new one.
bool ChangeClassifier(ADatabase& db, AReference<AClassifier> classifier, const AClassifierInput& input,
                      const std::array<std::u16string, 3>& treeNames, std::u16string_view label);

// What goes with a classifier besides itself.
struct AClassifierContents {
    std::size_t categories = 0;    // below its roots
    std::size_t transactions = 0;  // classified by it, each once
    std::size_t seriesFilters = 0;
};
AClassifierContents ContentsOf(ADatabase& db, AReference<AClassifier> classifier);

// One step named `label`: the classifier, its trees, their relations and series node filters,
// and its categories pages.
bool DeleteClassifier(ADatabase& db, AReference<AClassifier> classifier, std::u16string_view label);

}  // namespace Database
