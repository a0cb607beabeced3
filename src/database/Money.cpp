#include "database/Money.h"

#include <limits>

namespace Database::Money {

namespace {
// Every compiler we build with has it; __extension__ keeps -Wpedantic quiet about it.
__extension__ typedef __int128 AWide;
}  // namespace

std::optional<AMoney> MulDiv(AMoney value, AMoney numerator, AMoney denominator)
{
    if (denominator == 0)
        return std::nullopt;
    // |value × numerator| < 2^126, so the product always fits the 128-bit word.
    const AWide product = static_cast<AWide>(value) * numerator;
    const AWide quotient = product / denominator;  // truncates toward zero
    if (quotient < std::numeric_limits<AMoney>::min() || quotient > std::numeric_limits<AMoney>::max())
        return std::nullopt;
    return static_cast<AMoney>(quotient);
}

bool Add(AMoney a, AMoney b, AMoney& result)
{
    AMoney sum;
    if (__builtin_add_overflow(a, b, &sum))
        return false;
    result = sum;
    return true;
}

bool Subtract(AMoney a, AMoney b, AMoney& result)
{
    AMoney difference;
    if (__builtin_sub_overflow(a, b, &difference))
        return false;
    result = difference;
    return true;
}

}  // namespace Database::Money
