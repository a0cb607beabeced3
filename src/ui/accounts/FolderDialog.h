// The folder dialog: adding a folder or an account plan, or changing one, each committed as
// one undoable step; and the move dialog that puts an account or a folder into another folder
// of the plan. The checks and the records are the model's (database/FolderCommands.h).
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Accounts {

enum class AFolderDialogMode { AddFolder, AddPlan, Change };

// Adding: `folder` is the parent the new folder starts in (ignored for a plan). Changing:
// `folder` is the folder or plan changed. True when a step was committed.
bool RunFolderDialog(QWidget* parent, const AProgramContext& context, Database::ADatabase& db,
                     AFolderDialogMode mode, Database::AReference<Database::AAccountFolder> plan,
                     Database::AReference<Database::AAccountFolder> folder);

// "Переместить в папку:" over the plan's folders; the account, or else the folder, moves there.
bool RunMoveDialog(QWidget* parent, const AProgramContext& context, Database::ADatabase& db,
                   Database::AReference<Database::AAccountFolder> plan, Database::AReference<Database::AAccount> account,
                   Database::AReference<Database::AAccountFolder> folder);

}  // namespace UserInterface::Accounts
