// The data file settings dialog: the file's switches (account folders, several account plans,
// budget dates, quantities, times, the four extra comments and their captions). OK writes what
// changed as one undoable step; the pages and dialogs follow the settings record at once.
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Categories {

// True when a step was committed.
bool RunDataFileSettingsDialog(QWidget* parent, const AProgramContext& context, Database::ADatabase& db);

}  // namespace UserInterface::Categories
