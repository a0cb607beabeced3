// The series dialog ("Добавить серию", "Изменить серию"): name and colour, the three display
// ticks, the accounts, the four kinds and a node per classifier; its checks come from the
// series model in their order, with the focus on the field concerned.
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Reports {

// `series` is the one changed, none to add one; `created` receives the new series. True
// when a step was committed.
bool RunSeriesDialog(QWidget* owner, const AProgramContext& context, Database::ADatabase& db,
                     Database::AReference<Database::ASeries> series, Database::AReference<Database::ASeries>* created);

// The report page's delete: refused with the budget's message while an article uses the
// series, else asked; true when it was deleted.
bool DeleteSeriesAsked(QWidget* owner, const AProgramContext& context, Database::ADatabase& db,
                       Database::AReference<Database::ASeries> series);

}  // namespace UserInterface::Reports
