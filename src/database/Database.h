// The finance database: the nineteen record tables over the engine.
#pragma once

#include "database/AfterChangeSave.h"
#include "database/Records.h"
#include "database/engine/dbEngine.h"

#include <functional>

namespace Database {

struct ANewDatabaseOptions {
    // A genuinely new database also gets the default classifier, currency and account.
    bool genuine = true;
    std::u16string password;
    bool times = false;
    // A converted file adds its own classifiers first and the pages after them.
    bool withPages = true;
};

// Asks for the password of a data file. The prompt calls accept(typed) for each
// text the user confirms, until accept answers true; it answers false when the
// user cancels. The GUI shows its dialog, the command-line program reads the
// password from its options, tests give their answers.
using APasswordPrompt =
    std::function<bool(const std::string& fileName, const std::function<bool(const std::u16string& typed)>& accept)>;

class ADatabase : public Engine::ADBEngine {
public:
    explicit ADatabase(AClock clock = SystemLocalTime);

    // Without a prompt, a file with a password can't be opened (as if cancelled).
    void SetPasswordPrompt(APasswordPrompt prompt) { passwordPrompt_ = std::move(prompt); }
    const APasswordPrompt& PasswordPrompt() const { return passwordPrompt_; }
    // Saving after every change: the program's saver, or none (never saved by itself).
    void SetAfterChangeSave(AAfterChangeSave* saver) { afterChangeSave_ = saver; }
    // The file is written after every change, so unsaved changes are never shown.
    bool SavesAfterEveryChange() const;

    // The code page of the 8-bit texts of previous-generation files: the current language's.
    void SetTextCodePage(std::uint32_t codePage) { textCodePage_ = codePage; }

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
    void AfterChange() override;
    // After the user table: the password check.
    HRESULT AfterTableLoaded(Engine::ATableId table) override;
    // A file that is not a compound file: a data file of the previous generation.
    HRESULT OpenPreviousGeneration(const std::string& path) override;

private:
    APasswordPrompt passwordPrompt_;
    AAfterChangeSave* afterChangeSave_ = nullptr;
    std::uint32_t textCodePage_ = 1251;

    // Account records of the older layout: folders and placements kept in table 7.
    void ConvertOlderAccounts();
};

}  // namespace Database
