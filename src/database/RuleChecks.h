// The checks the editing dialogs make before they call the model. Each answers the
// string id of the message to show, or nothing when the input is acceptable. Names are
// compared exactly (case-sensitive, whole text); the record being edited (self) does
// not clash with itself.
#pragma once

#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <optional>
#include <string_view>

namespace Database {

// Currency codes are unique.
std::optional<int> CheckCurrencyCode(ADatabase& db, std::u16string_view code, AReference<ACurrency> self = {});
// A classifier's singular name, then its plural name, are unique.
std::optional<int> CheckClassifierNames(ADatabase& db, std::u16string_view singular, std::u16string_view plural,
                                        AReference<AClassifier> self = {});
// Account plans (folders without parent) have unique names.
std::optional<int> CheckAccountPlanName(ADatabase& db, std::u16string_view name,
                                        AReference<AAccountFolder> self = {});
// A name may not contain a backslash.
std::optional<int> CheckNoBackslash(std::u16string_view name);
// A currency has no rate to itself.
std::optional<int> CheckRatePair(AReference<ACurrency> currency1, AReference<ACurrency> currency2);

}  // namespace Database
