// The four ticks that choose which kinds of transactions a report or a series counts. Their
// control ids are the ids of their captions.
#pragma once
#include <cstdint>

namespace UserInterface::Reports::KindTick {
constexpr std::int16_t kIncome = 35;    // "Прихода"
constexpr std::int16_t kExpense = 36;   // "Расхода"
constexpr std::int16_t kCredits = 37;   // "Зачисления переводом"
constexpr std::int16_t kDebits = 38;    // "Списания переводом"
}  // namespace UserInterface::Reports::KindTick
