// The program's own Russian texts, compiled in. Each id names one text for good: layouts,
// menus, messages and language files all refer to texts by these ids.
#pragma once
#include <string_view>

namespace UtilityClasses::Strings {

constexpr int kStringCount = 791;

// The built-in text of `id` as UTF-8; "" for an id outside 0..790.
std::string_view BuiltInTextUtf8(int id);

// The same text in code page 1251, the bytes plug-ins hand us when they ask for a
// translation of one of our texts; "" for an id outside 0..790.
std::string_view BuiltInText1251(int id);

namespace Implementation {
// The two halves of the table, ids 0..399 and 400..790.
extern const char* const* const kBuiltInTextsFrom0;
extern const char* const* const kBuiltInTextsFrom400;
}  // namespace Implementation

}  // namespace UtilityClasses::Strings
