// "Правила категорий для выписок": the user's rules (text contains → categories) in a list,
// the rule being edited with a category chooser for each classifier, and the buttons that
// add it (in place of the rule of the same text) or remove it. OK keeps the list.
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Exchange {

// Whether OK was pressed.
bool RunCategoryRulesDialog(const AProgramContext& context, QWidget* parent, Database::ADatabase& db);

}  // namespace UserInterface::Exchange
