// Reading the ECB's euro reference-rate documents (eurofxref-daily.xml,
// eurofxref-hist-90d.xml, eurofxref-hist.xml):
//   <Cube><Cube time='2024-03-01'><Cube currency='USD' rate='1.0808'/>...</Cube>...</Cube>
// Each rate says 1 EUR is worth `rate` of the currency.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace Ecb {

struct ADay {
    int year = 0, month = 0, day = 0;
    int Serial() const;  // days since a fixed day, for comparing and distances
};

struct ARate {
    std::string_view currency;  // within the document
    std::int64_t rate = 0;      // 1/10000 units, rounded half up
};

struct ADayRates {
    ADay day;
    std::vector<ARate> rates;
};

// The rates of the latest day of the document that is on or before `wanted`, and at
// most `maxDaysBefore` days before it (a weekend or a holiday has no rates of its own).
// False when the document has no such day. Damaged input gives false or fewer rates,
// never more than the document holds.
bool RatesFor(std::string_view document, ADay wanted, int maxDaysBefore, ADayRates& found);

// "1.0808" as 10808; false for anything that is no positive decimal number that fits.
bool ParseRate(std::string_view text, std::int64_t& rate);

}  // namespace Ecb
