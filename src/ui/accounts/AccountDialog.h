// The account dialog: adding an account or changing one, each committed as one undoable step;
// the checks and the records are the model's (database/AccountCommands.h).
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Accounts {

// Opens the modal dialog over `parent` for the page's account plan `plan`: adding an account
// into `folder` when `account` is null, else changing `account`. True when a step was committed.
bool RunAccountDialog(QWidget* parent, const AProgramContext& context, Database::ADatabase& db,
                      Database::AReference<Database::AAccountFolder> plan,
                      Database::AReference<Database::AAccount> account,
                      Database::AReference<Database::AAccountFolder> folder = {});

}  // namespace UserInterface::Accounts
