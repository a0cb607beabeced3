// The `transaction` element: its date, kind element with sides, quantity and categories,
// then comments and recurrence.
#pragma once
#include "database/engine/SampledIndex.h"
#include "exchange/export/ExportRecordWriters.h"

#include <vector>

namespace ExportImport::Private {

class ATransactionWriter {
public:
    ATransactionWriter(ADatabase& db, ANodeMaker& maker, ARecordWriters& writers, const ADBSettings& features);

    void Write(ANodeContainer& section, const ASlot<ATransaction>& transaction);

private:
    void Categories(AElement& kind, const ASlot<ATransaction>& transaction);
    // The place of the category's classifier in identifier order; -1 for none.
    int ClassifierIndexOf(AReference<ACategory> category);

    ADatabase& db_;
    ANodeMaker& maker_;
    ARecordWriters& writers_;
    const ADBSettings& features_;
    std::vector<const ASlot<AClassifier>*> classifiers_;  // every classifier, identifier order
    std::vector<int> classifierOfCategory_;               // by category slot; kUnknown until asked
    std::vector<AReference<ACategory>> found_;            // per classifier, for one transaction
    Engine::ASampledIndex<ARelation> relationsByTransaction_;
};

}  // namespace ExportImport::Private
