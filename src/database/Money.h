// Overflow-aware arithmetic on money amounts (1/10000 units in a signed 64-bit word).
//
// Every "multiply, then divide" of amounts (conversion by a rate, cross rates, plan
// shares) goes through MulDiv: the product is kept in 128 bits, so it can't wrap, and
// the quotient truncates toward zero as plain integer division does. Failure cases:
//   - the divisor is 0;
//   - the quotient does not fit 64 bits (for example INT64_MIN × -1 ÷ 1).
// A failure is reported, never turned into a wrapped or clamped number.
#pragma once

#include <cstdint>
#include <optional>

namespace Database {

using AMoney = std::int64_t;

namespace Money {

[[nodiscard]] std::optional<AMoney> MulDiv(AMoney value, AMoney numerator, AMoney denominator);

// a + b and a - b; false (and the sum untouched) when the result does not fit.
[[nodiscard]] bool Add(AMoney a, AMoney b, AMoney& result);
[[nodiscard]] bool Subtract(AMoney a, AMoney b, AMoney& result);

}  // namespace Money
}  // namespace Database
