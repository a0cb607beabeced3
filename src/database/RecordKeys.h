// Three-way comparison helpers for the index keys of the record types.
#pragma once

#include "database/engine/Reference.h"

namespace Database {

template <class I>
constexpr int Compare3(I a, I b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Resolved references compare by slot position, which follows identifier order.
template <class T>
constexpr int Compare3(Engine::AReference<T> a, Engine::AReference<T> b)
{
    return Compare3(a.Word(), b.Word());
}

// The first non-zero comparison of the given keys, in order.
template <class... C>
constexpr int CompareKeys(C... results)
{
    int result = 0;
    ((result = result != 0 ? result : results), ...);
    return result;
}

}  // namespace Database
