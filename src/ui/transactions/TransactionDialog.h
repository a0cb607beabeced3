// The transaction dialog: entering a new transaction, changing the ones selected on the
// transactions page, or duplicating one, each committed as one undoable step.
#pragma once
#include "ui/DatabaseModel.h"

#include <vector>

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Filters {
struct ATransactionPageFilter;
}

namespace UserInterface::Transactions {

enum class ATransactionDialogMode { Add, Change, Duplicate };

// Opens the modal transaction dialog over `parent`; `selection` are the transactions to change
// or the one to duplicate (empty when adding); `pageFilter` is the page's filter when it
// narrows the list (for the filter warning), else null. True when a step was committed.
bool RunTransactionDialog(QWidget* parent, const AProgramContext& context, Database::ADatabase& db,
                          ATransactionDialogMode mode, std::vector<Database::Engine::ARecordId> selection,
                          const Filters::ATransactionPageFilter* pageFilter);

}  // namespace UserInterface::Transactions
