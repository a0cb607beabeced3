// The finance database: the nineteen record tables over the engine.
#pragma once

#include "database/Records.h"
#include "database/engine/dbEngine.h"

namespace Database {

struct ANewDatabaseOptions {
    // A genuinely new database also gets the default classifier, currency and account.
    bool genuine = true;
    std::u16string password;
    bool times = false;
    // A converted file adds its own classifiers first and the pages after them.
    bool withPages = true;
};

class ADatabase : public Engine::ADBEngine {
public:
    explicit ADatabase(AClock clock = SystemLocalTime);

    Engine::ATableImpl<AString>& Strings() { return Table<AString>(); }
    Engine::ATableImpl<AUser>& Users() { return Table<AUser>(); }
    Engine::ATableImpl<APageInfo>& Pages() { return Table<APageInfo>(); }
    Engine::ATableImpl<ACurrency>& Currencies() { return Table<ACurrency>(); }
    Engine::ATableImpl<ARateHeader>& RateHeaders() { return Table<ARateHeader>(); }
    Engine::ATableImpl<ARateValue>& RateValues() { return Table<ARateValue>(); }
    Engine::ATableImpl<AAccount>& Accounts() { return Table<AAccount>(); }
    Engine::ATableImpl<ACategory>& Categories() { return Table<ACategory>(); }
    Engine::ATableImpl<AClassifier>& Classifiers() { return Table<AClassifier>(); }
    Engine::ATableImpl<ATransaction>& Transactions() { return Table<ATransaction>(); }
    Engine::ATableImpl<ARelation>& Relations() { return Table<ARelation>(); }
    Engine::ATableImpl<ADBSettings>& Settings() { return Table<ADBSettings>(); }
    Engine::ATableImpl<ASeries>& Series() { return Table<ASeries>(); }
    Engine::ATableImpl<ASeriesAccountFilter>& SeriesAccounts() { return Table<ASeriesAccountFilter>(); }
    Engine::ATableImpl<ASeriesNodeFilter>& SeriesNodes() { return Table<ASeriesNodeFilter>(); }
    Engine::ATableImpl<ABudgetItem>& BudgetItems() { return Table<ABudgetItem>(); }
    Engine::ATableImpl<ABudgetLimit>& BudgetLimits() { return Table<ABudgetLimit>(); }
    Engine::ATableImpl<AAccountFolder>& Folders() { return Table<AAccountFolder>(); }
    Engine::ATableImpl<AAccountPlacement>& Placements() { return Table<AAccountPlacement>(); }

    // Fills an empty database with the records every database starts with; the
    // result counts as unmodified and has nothing to undo.
    void CreateDefaults(const ANewDatabaseOptions& options = {});
    // The pages of user 0: the fixed ones, then one per classifier. Needs an open step.
    void CreateDefaultPages();
    // A new text record inside the open step.
    AReference<AString> NewText(std::u16string_view text);

    // The text of a string reference; empty for none.
    const std::u16string& Text(AReference<AString> ref);

protected:
    void AfterTablesRead() override;

private:
    // Account records of the older layout: folders and placements kept in table 7.
    void ConvertOlderAccounts();
};

}  // namespace Database
