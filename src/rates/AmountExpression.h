// The amount expressions every amount field accepts: numbers with "," or "." as the
// decimal separator and blanks between groups of three digits, the operators + − × ÷
// (also - * /), unary signs and parentheses. For example "1 250,50 + 3 × (2 - 0.25)".
//
// Values are money amounts (1/10000 units). Each product and quotient is rounded
// half away from zero to four decimals; a number with more decimals is rounded the
// same way. The result is none ("can't be computed") for an empty or malformed
// expression, a division by zero, or any value beyond the range of an amount.
#pragma once

#include "database/CurrencyRecords.h"

#include <optional>
#include <string_view>

namespace Rates {

std::optional<Database::AMoney> EvaluateAmountExpression(std::u16string_view text);

}  // namespace Rates
