// The budget page's dialogs: the folder dialog ("Добавить папку", "Изменить папку"), the
// article dialog ("Добавить статью", "Изменить статью"), moving a row ("Переместить статью
// бюджета") and the plans of one article. Each commits one step through the budget model;
// true when it did.
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Budget {

// `folder` is the one changed, none to add one under `parent`; `created` receives the new row.
bool RunFolderDialog(QWidget* owner, const AProgramContext& context, Database::ADatabase& db,
                     Database::AReference<Database::ABudgetItem> folder, Database::AReference<Database::ABudgetItem> parent,
                     Database::AReference<Database::ABudgetItem>* created);
bool RunArticleDialog(QWidget* owner, const AProgramContext& context, Database::ADatabase& db,
                      Database::AReference<Database::ABudgetItem> article,
                      Database::AReference<Database::ABudgetItem> parent,
                      Database::AReference<Database::ABudgetItem>* created);
bool RunMoveDialog(QWidget* owner, const AProgramContext& context, Database::ADatabase& db,
                   Database::AReference<Database::ABudgetItem> item);
// Opens on `year` with `currency` preselected for a year without plans.
bool RunPlansDialog(QWidget* owner, const AProgramContext& context, Database::ADatabase& db,
                    Database::AReference<Database::ABudgetItem> article, int year,
                    Database::AReference<Database::ACurrency> currency);

}  // namespace UserInterface::Budget
