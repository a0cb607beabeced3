// Conversion of amounts between the two currencies of one pair by its stored rates.
#pragma once

#include "database/Database.h"

#include <vector>

namespace Database {

class ARateConverter {
public:
    // Holds the rates of the pair (whichever way round its header names the two),
    // sorted by date. Rates inserted or changed in an open step count.
    ARateConverter(ADatabase& db, AReference<ACurrency> currency1, AReference<ACurrency> currency2);

    AReference<ACurrency> Currency1() const { return currency1_; }
    AReference<ACurrency> Currency2() const { return currency2_; }
    bool HasRates() const { return !rates_.empty(); }

    // Converts amount, held in the pair's other currency, into target on date, in place.
    // With equal currencies nothing is converted and the answer is whether they are set;
    // 0 converts to 0. The rate is the one dated date, else the latest before it, else
    // the earliest. The result truncates toward zero. False (amount untouched) when the
    // pair has no usable rate or the result does not fit 64 bits. target must be one of
    // the pair.
    [[nodiscard]] bool Convert(AReference<ACurrency> target, ADate date, AMoney& amount) const;

private:
    struct ARate {
        ADate date;
        AMoney of1;  // this much of currency 1 ...
        AMoney of2;  // ... is worth this much of currency 2
    };
    const ARate& RateOn(ADate date) const;

    AReference<ACurrency> currency1_;
    AReference<ACurrency> currency2_;
    std::vector<ARate> rates_;
};

}  // namespace Database
