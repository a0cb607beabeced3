// Writing the user's selection of downloaded currencies and rates into the data
// file, as one undoable step.
#pragma once

#include "database/Database.h"
#include "rates/DownloadedCurrencies.h"

#include <string>
#include <vector>

namespace Rates {

struct ADownloadSelection {
    // The source's base currency, found by code or made with this name.
    std::u16string baseCode;
    std::u16string baseName;

    struct AItem {
        std::u16string code;
        std::u16string name;
        const std::map<ADate, ADownloadedRate>* rates = nullptr;
        bool checked = false;
    };
    std::vector<AItem> items;

    bool withRates = true;    // "Загрузить названия и курсы валют"; false: names only
    bool crossRates = false;  // "Расчитать кросс-курсы валют"
};

struct AWriteOutcome {
    std::size_t currenciesCreated = 0;
    std::size_t ratesAdded = 0;       // against the base currency
    std::size_t crossRatesAdded = 0;
    std::size_t ratesKept = 0;        // dates that already had a rate for the pair
    bool written = false;             // false: nothing to change, no step was recorded
};

// The step is labelled `label` (the string "Загрузка валют"). A selection with no base
// code writes no rates, as they could not be tied to a currency.
AWriteOutcome WriteDownloadedRates(Database::ADatabase& db, const ADownloadSelection& selection,
                                   std::u16string_view label);

}  // namespace Rates
