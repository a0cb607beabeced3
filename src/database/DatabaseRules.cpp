#include "database/DatabaseRules.h"

namespace Database {

ARecalculation ApplyRules(ADatabase& db)
{
    if (!FD_VERIFY(db.StepOpen()))
        return {};
    CleanUpAfterDeletions(db);
    return RecalculateTouchedAccounts(db);
}

ARecalculation CommitWithRules(ADatabase& db)
{
    const ARecalculation result = ApplyRules(db);
    if (db.StepOpen())
        db.CommitStep();
    return result;
}

}  // namespace Database
