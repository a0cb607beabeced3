// Ids of the short words many windows and reports share, so each is named once.
#pragma once

namespace UtilityClasses::Strings::CommonText {
constexpr int kNotGiven = 59;   // "Не указано"
constexpr int kDate = 62;       // "Дата"
constexpr int kName = 80;       // "Название"
constexpr int kDifferentValues = 179;  // a field over several records that differ
constexpr int kExecuted = 420;  // "Выполнена"
constexpr int kPlanned = 422;   // "Запланирована"
constexpr int kLooseAccounts = 650;  // the accounts outside every folder
}  // namespace UtilityClasses::Strings::CommonText
