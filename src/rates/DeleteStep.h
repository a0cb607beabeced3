// Deleting one record the user chose, with what hangs on it, as one labelled step.
#pragma once

#include "database/DatabaseRules.h"
#include "database/engine/StepGuard.h"

#include <string_view>

namespace Rates {

template <class T>
void DeleteInOneStep(Database::ADatabase& db, Database::AReference<T> ref, std::u16string_view label)
{
    auto* slot = db.Table<T>().Get(ref);
    if (!FD_VERIFY(slot && slot->Exists()))
        return;
    Database::Engine::AStepGuard step(db, label);
    Database::Delete(db, slot);
    Database::CommitWithRules(db);
}

}  // namespace Rates
