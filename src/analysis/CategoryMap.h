// Which classifier each category belongs to, worked out once for a whole computation,
// and the category a transaction has in a classifier.
#pragma once

#include "database/Database.h"

#include <vector>

namespace UserInterface {

using Database::AReference;

class ACategoryMap {
public:
    explicit ACategoryMap(Database::ADatabase& db);

    // None for a missing category, one outside every classifier, or a parent chain that
    // loops (a damaged file).
    AReference<Database::AClassifier> ClassifierOf(AReference<Database::ACategory> category) const;
    // The root of the tree the category lies in; none as above.
    AReference<Database::ACategory> RootOf(AReference<Database::ACategory> category) const;
    // The first category (in relation order) that links the transaction into the classifier.
    AReference<Database::ACategory> NodeOf(AReference<Database::ATransaction> transaction,
                                           AReference<Database::AClassifier> classifier) const;

private:
    struct AEntry {
        AReference<Database::ACategory> root;
        AReference<Database::AClassifier> classifier;
    };
    const AEntry* EntryOf(AReference<Database::ACategory> category) const;

    Database::ADatabase& db_;
    std::vector<AEntry> entries_;  // by slot position of the category
};

}  // namespace UserInterface
