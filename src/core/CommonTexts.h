// Ids of the short words many windows and reports share, so each is named once.
#pragma once

namespace UtilityClasses::Strings::CommonText {
constexpr int kNotGiven = 59;   // "Не указано"
constexpr int kDate = 62;       // "Дата"
constexpr int kName = 80;       // "Название"
constexpr int kExecuted = 420;  // "Выполнена"
}  // namespace UtilityClasses::Strings::CommonText
