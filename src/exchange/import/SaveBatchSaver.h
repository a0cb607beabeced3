// The state of one save phase: where each batch record went in the data file.
#pragma once

#include "exchange/import/ImportDataFileIndex.h"
#include "exchange/import/ImportProgress.h"
#include "exchange/import/ReadDocument.h"

#include <vector>

namespace ExportImport::Private {

class ABatchSaver {
public:
    ABatchSaver(const AImportEnvironment& environment, AImportBatch& batch);

    // Inside the open step of the data file.
    void Run();

private:
    void Status(int stringId);
    void Advance();
    void SaveCurrencies();
    void SaveRates();
    void SaveAccounts();
    void SaveClassifiers();
    void SaveTransactions();
    // A copy in the data file of a batch text; none for none.
    AReference<Database::AString> CopyText(AReference<Database::AString> text);

    // Classifiers (SaveBatchClassifiers.cpp).
    AReference<AClassifier> MatchingClassifier(const AClassifier& imported);
    AReference<AClassifier> AddClassifier(const AClassifier& imported);
    // Puts the imported node's subtree under the stored node, reusing children by name.
    void MergeChildren(AReference<ACategory> imported, AReference<ACategory> stored);
    void TakeComment(AReference<ACategory> imported, AReference<ACategory> stored);
    AReference<ACategory> AddCategory(AReference<ACategory> imported, AReference<ACategory> storedParent);

    const AImportEnvironment& environment_;
    AImportBatch& batch_;
    Database::ADatabase& source_;  // the batch's records
    Database::ADatabase& target_;  // the data file
    ADataFileIndex index_;

    // Data-file records by the slot position of the batch record.
    std::vector<AReference<ACurrency>> currencies_;
    std::vector<AReference<AAccount>> accounts_;
    std::vector<AReference<ACategory>> categories_;
    std::vector<AReference<ATransaction>> transactions_;
    // Children of each batch category, by its slot position, in identifier order.
    std::vector<std::vector<AReference<ACategory>>> children_;
    // Data-file categories by parent and name (the first of equal names).
    std::unordered_map<ANamedKey, AReference<ACategory>, ANamedKeyHash> storedChildren_;

    AItemProgress progress_;
};

}  // namespace ExportImport::Private
