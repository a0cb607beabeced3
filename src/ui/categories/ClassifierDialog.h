// The classifier dialog: adding a classifier (its names and the layout of its trees) or
// renaming one, committed as one step named by the dialog's caption.
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Categories {

// Adds a classifier when `classifier` is none, else renames it. True when a step was committed.
bool RunClassifierDialog(QWidget* parent, const AProgramContext& context, Database::ADatabase& db,
                         Database::AReference<Database::AClassifier> classifier);

}  // namespace UserInterface::Categories
