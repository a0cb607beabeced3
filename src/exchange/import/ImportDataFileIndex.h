// Lookups into the open data file that an import needs: currencies by code, accounts
// by name and currency code, and rates by pair and date. Built once per phase; the
// save phase notes the records it adds so later lookups find them.
#pragma once

#include "exchange/import/ImportBatch.h"

#include <optional>
#include <utility>

namespace ExportImport::Private {

struct AStringPairHash {
    std::size_t operator()(const std::pair<std::u16string, std::u16string>& key) const
    {
        return std::hash<std::u16string>{}(key.first) * 31 + std::hash<std::u16string>{}(key.second);
    }
};

class ADataFileIndex {
public:
    explicit ADataFileIndex(Database::ADatabase& db);

    AReference<ACurrency> Currency(std::u16string_view code) const;
    AReference<AAccount> Account(std::u16string_view name, std::u16string_view code) const;
    void NoteCurrency(std::u16string_view code, AReference<ACurrency> currency);
    void NoteAccount(std::u16string_view name, std::u16string_view code, AReference<AAccount> account);

    // The header of the pair in either order, with whether it names them the other way round.
    struct AHeader {
        AReference<ARateHeader> ref;
        bool swapped = false;
    };
    std::optional<AHeader> HeaderFor(AReference<ACurrency> first, AReference<ACurrency> second);
    // A committed rate of the pair on the date, as amounts of (first, second).
    std::optional<AImportBatch::AKnownRate> RateOn(AReference<ACurrency> first, AReference<ACurrency> second,
                                                   ADate date);

private:
    Database::ADatabase& db_;
    std::unordered_map<std::u16string, AReference<ACurrency>> currencies_;
    std::unordered_map<std::pair<std::u16string, std::u16string>, AReference<AAccount>, AStringPairHash> accounts_;
};

// Whether two rates state the same price: a1 of the first currency for a2 of the
// second against b1 for b2 (exact, in 128 bits).
bool SameRate(AMoney a1, AMoney a2, AMoney b1, AMoney b2);

}  // namespace ExportImport::Private
