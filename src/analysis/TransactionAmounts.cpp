#include "analysis/TransactionAmounts.h"

#include "analysis/AnalysisTexts.h"
#include "database/CurrencyConversion.h"
#include "database/Money.h"

#include <algorithm>

namespace UserInterface::Transactions {

using namespace Database;

namespace {

// Label and message of fields 0..3 per mode.
constexpr int kLabels[4][4] = {
    {427, 427, 433, kQuantityLabel}, {428, 428, 433, kQuantityLabel}, {429, 430, 431, 432}, {715, 0, 0, 0}};
constexpr int kMessages[4][4] = {{453, 453, 454, 455}, {456, 456, 454, 455}, {449, 450, 451, 452}, {716, 0, 0, 0}};

// a × b ÷ c, 0 when c is 0 or the quotient leaves the range of an amount.
AMoney MulDivOrZero(AMoney a, AMoney b, AMoney c)
{
    return c == 0 ? 0 : Money::MulDiv(a, b, c).value_or(0);
}

bool Valid(int field)
{
    return field >= 0 && field < 4;
}

}  // namespace

int FieldLabel(AAmountMode mode, int field)
{
    return Valid(field) ? kLabels[static_cast<int>(mode)][field] : 0;
}

int FieldMessage(AAmountMode mode, int field)
{
    return Valid(field) ? kMessages[static_cast<int>(mode)][field] : 0;
}

bool UsesThreeRows(AAmountMode mode, bool quantities, bool sameCurrency)
{
    switch (mode) {
    case AAmountMode::Income:
    case AAmountMode::Expense: return quantities;
    case AAmountMode::Transfer: return !sameCurrency;
    case AAmountMode::Balance: return false;
    }
    return false;
}

AComputed Recompute(AAmountMode mode, int computedField, const AThreeRows& rows)
{
    const bool transfer = mode == AAmountMode::Transfer;
    // The two fields the computed one follows; an invalid one leaves 0, or 1.0000 for a rate.
    const AComputed invalid{computedField == 3 ? kOne : 0, std::nullopt};
    const auto both = [&](const std::optional<AMoney>& x, const std::optional<AMoney>& y) { return x && y; };
    const bool perDebit = rows.item == ARateItem::CreditPerDebit;
    switch (computedField) {
    case 1:
        if (!both(rows.b, rows.r))
            return invalid;
        if (!transfer)
            return {MulDivOrZero(*rows.b, *rows.r, kOne), std::nullopt};
        if (*rows.b == 0 || *rows.r == 0)
            return {0, std::nullopt};
        return {perDebit ? MulDivOrZero(*rows.b, kOne, *rows.r) : MulDivOrZero(*rows.r, *rows.b, kOne), std::nullopt};
    case 2:
        if (!both(rows.a, rows.r))
            return invalid;
        if (!transfer)
            return {MulDivOrZero(*rows.a, kOne, *rows.r), std::nullopt};
        if (*rows.a == 0 || *rows.r == 0)
            return {0, std::nullopt};
        return {perDebit ? MulDivOrZero(*rows.a, *rows.r, kOne) : MulDivOrZero(*rows.a, kOne, *rows.r), std::nullopt};
    case 3:
        if (!both(rows.a, rows.b))
            return invalid;
        if (!transfer)
            return {MulDivOrZero(*rows.a, kOne, *rows.b), std::nullopt};
        if (*rows.a == 0 || *rows.b == 0)
            return {kOne, std::nullopt};
        return {MulDivOrZero(std::max(*rows.a, *rows.b), kOne, std::min(*rows.a, *rows.b)),
                *rows.a < *rows.b ? ARateItem::CreditPerDebit : ARateItem::DebitPerCredit};
    default: return invalid;
    }
}

std::optional<AComputed> RateOfAmounts(AMoney a1, AMoney a2)
{
    // An amount of the full negative range has no positive counterpart.
    if (a1 == 0 || a2 == 0 || a1 == INT64_MIN || a2 == INT64_MIN)
        return std::nullopt;
    a1 = a1 < 0 ? -a1 : a1;
    a2 = a2 < 0 ? -a2 : a2;
    return AComputed{MulDivOrZero(std::max(a1, a2), kOne, std::min(a1, a2)),
                     a1 <= a2 ? ARateItem::CreditPerDebit : ARateItem::DebitPerCredit};
}

std::optional<AMoney> PriceOf(AMoney amount, AMoney quantity)
{
    if (quantity == 0)
        return std::nullopt;
    return Money::MulDiv(amount, kOne, quantity);
}

AComputed StoredRate(ADatabase& db, AReference<ACurrency> debit, AReference<ACurrency> credit, ADate date)
{
    const ARateConverter converter(db, debit, credit);
    AMoney creditPerDebit = kOne;
    if (!converter.HasRates() || !converter.Convert(credit, date, creditPerDebit) || creditPerDebit <= 0)
        return {kOne, ARateItem::CreditPerDebit};
    if (creditPerDebit >= kOne)
        return {creditPerDebit, ARateItem::CreditPerDebit};
    AMoney debitPerCredit = kOne;
    if (!converter.Convert(debit, date, debitPerCredit) || debitPerCredit <= 0)
        return {creditPerDebit, ARateItem::CreditPerDebit};
    return {debitPerCredit, ARateItem::DebitPerCredit};
}

}  // namespace UserInterface::Transactions
