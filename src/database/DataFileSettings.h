// The data file's switches (the one settings record): account folders, several account plans,
// budget dates, quantities, times of day and the four extra comments with their captions.
#pragma once

#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <array>
#include <string>
#include <string_view>

namespace Database {

struct ADataFileSwitches {
    bool accountFolders = false, accountPlans = false, budgetDates = false, quantities = false, times = false;
    std::array<bool, 4> extraComments{};
    std::array<std::u16string, 4> captions;  // as typed; stored with blanks collapsed

    bool operator==(const ADataFileSwitches&) const = default;
};

ADataFileSwitches SwitchesOf(ADatabase& db);

// One step named `label` that writes what differs from the file's switches; false, and no
// step, when nothing does. The settings record's change notification makes the pages and
// dialogs follow.
bool ChangeDataFileSwitches(ADatabase& db, const ADataFileSwitches& switches, std::u16string_view label);

}  // namespace Database
