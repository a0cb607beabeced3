// The category dialog: adding a category under a parent, changing a category's name, comment
// and parent, or moving it under another parent; each committed as one step named by the
// dialog's title.
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Categories {

enum class ACategoryDialogMode { Add, Change, Move };

// Opens the modal dialog over `parent`. When adding, `category` is the parent proposed;
// otherwise the category changed or moved. True when a step was committed.
bool RunCategoryDialog(QWidget* parent, const AProgramContext& context, Database::ADatabase& db,
                       Database::AReference<Database::AClassifier> classifier, ACategoryDialogMode mode,
                       Database::AReference<Database::ACategory> category);

// The classifier's name as its dialogs' titles and questions show it.
std::u16string ClassifierName(Database::ADatabase& db, Database::AReference<Database::AClassifier> classifier);

}  // namespace UserInterface::Categories
