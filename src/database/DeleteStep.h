// Deleting one record the user chose, with what hangs on it, as one labelled step.
#pragma once

#include "database/DatabaseRules.h"
#include "database/engine/StepGuard.h"

#include <string_view>

namespace Database {

// False, with nothing done, when the record is gone or a step is open already.
template <class T>
bool DeleteInOneStep(ADatabase& db, AReference<T> ref, std::u16string_view label)
{
    auto* slot = db.Table<T>().Get(ref);
    if (!FD_VERIFY(slot && slot->Exists() && !db.StepOpen()))
        return false;
    Engine::AStepGuard step(db, label);
    Delete(db, slot);
    CommitWithRules(db);
    return true;
}

}  // namespace Database
