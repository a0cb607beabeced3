// What the export wizard (or the export command) chose to export, and the transactions
// that choice selects.
#pragma once
#include "exchange/modules/ModuleInterface.h"

#include "database/Database.h"

#include <optional>
#include <vector>

namespace ExportImport {

using Database::AAccount;
using Database::AClassifier;
using Database::ADatabase;
using Database::ATransaction;
using Database::Engine::AReference;

struct AExportPeriod {
    ADate first = 0;  // both ends included
    ADate last = 0;
};

struct AExportSelection {
    bool currencies = true;
    bool rates = true;
    bool accounts = true;
    bool classifiers = true;
    bool transactions = true;
    // The ticked classifiers, in the order of the wizard's list.
    std::vector<AReference<AClassifier>> classifierList;
    // None: "Все операции".
    std::optional<AExportPeriod> period;
    // The accounts whose transactions are exported; none: every account.
    std::optional<std::vector<AReference<AAccount>>> transactionAccounts;
    // The export module that produces the document.
    AModuleGuid module{};
};

// Everything selected, every classifier in identifier order, all transactions.
AExportSelection SelectEverything(ADatabase& db, const AModuleGuid& module);

// The transactions dated in the period (all of them without one), less those none of
// whose sides has a chosen account, in the order of date, time and entry.
std::vector<const Database::Engine::ASlot<ATransaction>*> SelectTransactions(ADatabase& db,
                                                                              const AExportSelection& selection);

}  // namespace ExportImport
