#include "database/DataFileSettings.h"

#include "database/CategoryCommands.h"
#include "database/engine/StepGuard.h"

namespace Database {

namespace {

ADataFileSwitches Normalised(ADataFileSwitches switches)
{
    for (auto& caption : switches.captions)
        caption = TypedText(caption);
    return switches;
}

}  // namespace

ADataFileSwitches SwitchesOf(ADatabase& db)
{
    ADataFileSwitches switches;
    const auto& live = db.Settings().Live();
    if (live.empty())
        return switches;
    const ADBSettings& s = live.front()->Record();
    switches.accountFolders = s.accountFolders;
    switches.accountPlans = s.accountPlans;
    switches.budgetDates = s.budgetDates;
    switches.quantities = s.quantities;
    switches.times = s.times;
    for (std::size_t i = 0; i < 4; ++i) {
        switches.extraComments[i] = s.extraCommentInUse[i];
        switches.captions[i] = db.Text(s.extraCommentCaption[i]);
    }
    return switches;
}

bool ChangeDataFileSwitches(ADatabase& db, const ADataFileSwitches& typed, std::u16string_view label)
{
    const auto& live = db.Settings().Live();
    if (!FD_VERIFY(!live.empty() && !db.StepOpen()))
        return false;
    const ADataFileSwitches switches = Normalised(typed);
    if (switches == SwitchesOf(db))
        return false;
    Engine::AStepGuard step(db, label);
    ADBSettings* s = db.Settings().Change(live.front());
    s->accountFolders = switches.accountFolders;
    s->accountPlans = switches.accountPlans;
    s->budgetDates = switches.budgetDates;
    s->quantities = switches.quantities;
    s->times = switches.times;
    for (std::size_t i = 0; i < 4; ++i) {
        s->extraCommentInUse[i] = switches.extraComments[i];
        if (db.Text(s->extraCommentCaption[i]) != switches.captions[i])
            SetText(db, s->extraCommentCaption[i], switches.captions[i]);
    }
    db.CommitStep();
    return true;
}

}  // namespace Database
