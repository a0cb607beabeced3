// The import batch: a second, empty finance database that the read phase fills with
// the records it accepted, with the lookups the readers need while they fill it.
// References inside the batch point to batch records; the save phase maps them to
// records of the data file. The batch keeps its one step open for good: its records
// are reached through their slots and the lookups here, never through the tables'
// indexes, so sorting those at a commit would be wasted (and is most of the cost).
#pragma once

#include "database/Database.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ExportImport {

using Database::AAccount;
using Database::ACategory;
using Database::AClassifier;
using Database::ACurrency;
using Database::AMoney;
using Database::ARateHeader;
using Database::ARateValue;
using Database::ATransaction;
using Database::Engine::AReference;

namespace Private {

// A name under a 32-bit owner word (a parent category, a currency, a rate header).
struct ANamedKey {
    std::uint32_t owner = 0;
    std::u16string name;
    bool operator==(const ANamedKey&) const = default;
};
struct ANamedKeyHash {
    std::size_t operator()(const ANamedKey& key) const
    {
        return std::hash<std::u16string>{}(key.name) ^ (std::hash<std::uint32_t>{}(key.owner) * 0x9E3779B97F4A7C15ull);
    }
};

}  // namespace Private

class AImportBatch {
public:
    AImportBatch();
    AImportBatch(const AImportBatch&) = delete;
    AImportBatch& operator=(const AImportBatch&) = delete;

    Database::ADatabase& Db() { return *db_; }

    // Forgets everything added: the batch is empty again.
    void Reset();

    // ---- currencies ----
    AReference<ACurrency> CurrencyByCode(std::u16string_view code) const;
    AReference<ACurrency> AddCurrency(std::u16string_view name, std::u16string_view code, std::uint32_t precision);
    const std::u16string& CurrencyCode(AReference<ACurrency> currency);

    // ---- rates: one header per pair, whichever way round it was first named ----
    struct AKnownRate {
        AMoney amount1 = 0;  // of the header's currency 1 ...
        AMoney amount2 = 0;  // ... equals this much of its currency 2
    };
    // The rate of the pair on the date, in the order (first, second) asked for; null when none.
    std::optional<AKnownRate> RateOn(AReference<ACurrency> first, AReference<ACurrency> second, ADate date);
    void AddRate(AReference<ACurrency> first, AReference<ACurrency> second, ADate date, AMoney amount1,
                 AMoney amount2);

    // ---- accounts: by name and currency ----
    AReference<AAccount> FindAccount(std::u16string_view name, AReference<ACurrency> currency) const;
    AReference<AAccount> AddAccount(std::u16string_view name, AReference<ACurrency> currency, AMoney initialBalance,
                                    bool locked, std::u16string_view comment);

    // ---- classifiers and categories ----
    // The first classifier with this singular name.
    AReference<AClassifier> ClassifierBySingular(std::u16string_view singular);
    bool HasClassifier(std::u16string_view singular, std::u16string_view plural);
    AReference<AClassifier> AddClassifier(const AClassifier& classifier);
    AReference<ACategory> AddCategory(AReference<ACategory> parent, std::u16string_view name,
                                      std::u16string_view comment);
    // The first child of parent with this name.
    AReference<ACategory> ChildNamed(AReference<ACategory> parent, std::u16string_view name) const;

    // ---- transactions ----
    AReference<ATransaction> AddTransaction(const ATransaction& transaction);
    void Classify(AReference<ATransaction> transaction, AReference<ACategory> category);

    // A text record for a non-empty text; none for an empty one.
    AReference<Database::AString> OptionalText(std::u16string_view text);

    // Records of each kind, for progress.
    std::size_t RecordCount();

private:
    std::unique_ptr<Database::ADatabase> db_;
    std::unordered_map<std::u16string, AReference<ACurrency>> currencies_;
    std::unordered_map<std::uint64_t, AReference<ARateHeader>> headers_;  // (currency 1, currency 2) words
    std::unordered_map<std::uint64_t, AReference<ARateValue>> rates_;  // (header, date)
    std::unordered_map<Private::ANamedKey, AReference<AAccount>, Private::ANamedKeyHash> accounts_;
    std::unordered_map<Private::ANamedKey, AReference<ACategory>, Private::ANamedKeyHash> children_;
    std::vector<AReference<AClassifier>> classifiers_;
};

}  // namespace ExportImport
