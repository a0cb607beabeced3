// What the currency page lists in its rates view: the pairs the file keeps rates for, and
// the rates of one pair, newest first, each as "so much of the second currency for one of
// the first".
#pragma once

#include "database/Database.h"

#include <vector>

namespace Rates {

using Database::AMoney;
using Database::ARateHeader;
using Database::ARateValue;
using Database::AReference;

// Every live pair whose two currencies exist, in the order of the header table.
std::vector<AReference<ARateHeader>> RatePairs(Database::ADatabase& db);

struct APairRate {
    AReference<ARateValue> rate;
    ADate date = 0;
    AMoney perOne = 0;  // the second currency's amount for one of the first; 0 when not defined
};

// The pair's rates, newest first, read from the header-and-date index.
std::vector<APairRate> RatesOfPair(Database::ADatabase& db, AReference<ARateHeader> header);

}  // namespace Rates
