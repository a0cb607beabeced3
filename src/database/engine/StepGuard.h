// A step opened for one operation. Whatever way the operation leaves (an early return, a
// refusal, an exception), a step it did not commit is rolled back, so no half-made change
// stays open for the next one to commit by accident.
#pragma once

#include "database/engine/dbEngine.h"

#include <string_view>

namespace Database::Engine {

class AStepGuard {
public:
    AStepGuard(ADBEngine& db, std::u16string_view label) : db_(db)
    {
        db_.BeginStep();
        if (!label.empty())
            db_.LabelStep(label);
    }
    ~AStepGuard()
    {
        if (db_.StepOpen())
            db_.RollBack();
    }
    AStepGuard(const AStepGuard&) = delete;
    AStepGuard& operator=(const AStepGuard&) = delete;

private:
    ADBEngine& db_;
};

}  // namespace Database::Engine
