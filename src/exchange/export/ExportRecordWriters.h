// One writer per record kind: each appends its elements under a given parent, in the
// order of the interchange document.
#pragma once
#include "exchange/export/ExportValues.h"

#include "database/Database.h"

#include <string_view>

namespace ExportImport::Private {

using namespace Database;
using Engine::ASlot;

// Trees deeper than this are cut: a chain of that many levels only comes from a damaged
// file, and the document's readers refuse deeper nesting.
constexpr int kMaxTreeDepth = 256;

class ARecordWriters {
public:
    ARecordWriters(ADatabase& db, ANodeMaker& maker) : db_(db), maker_(maker) {}

    // The code of a currency; empty when the currency is missing.
    std::u16string_view CurrencyCode(AReference<ACurrency> currency);

    void Currency(ANodeContainer& section, const ACurrency& currency);
    // False, writing nothing, when a currency of the pair is missing.
    bool Rate(ANodeContainer& section, const ARateValue& rate);
    // The full form: an `account` element with every field.
    void Account(ANodeContainer& section, const AAccount& account);
    // The reference form: `name` and `currency` inside an element the caller made.
    // False, writing nothing, when the account is missing.
    bool AccountReference(AElement& target, AReference<AAccount> account);
    // A folder with its accounts and sub-folders; elementName is "account-plan" at the top.
    void Folder(ANodeContainer& parent, const ASlot<AAccountFolder>& folder, std::string_view elementName,
                int depth = 1);
    void Classifier(ANodeContainer& section, const AClassifier& classifier);
    // A category with its comment and children.
    void Category(ANodeContainer& parent, const ASlot<ACategory>& category, int depth = 1);
    // `category` with the classifier's singular name, then the names from the tree's root
    // down to the category, each level nested in the one above.
    void CategoryPath(ANodeContainer& parent, AReference<ACategory> category, const AClassifier& classifier);
    // One side of a transaction: the account, then the amount and the balance when asked.
    void Side(ANodeContainer& kind, AReference<AAccount> account, AMoney amount, AMoney balance, bool withAmount,
              bool withBalance);
    // `recurrence` for a transaction with an active rule of a known kind.
    void Recurrence(ANodeContainer& transaction, const ATransaction& record);

private:
    void Tree(AElement& classifierElement, std::string_view name, AReference<ACategory> root);

    ADatabase& db_;
    ANodeMaker& maker_;
};

}  // namespace ExportImport::Private
