// The question asked when a file is opened whose planned transactions are due: "Выполнить
// запланированные операции (#d)?"; Yes executes them all in one step.
#pragma once
#include "ui/DatabaseModel.h"

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Transactions {

// Nothing is asked of a read-only file, which could not keep the result. Answers how many
// were executed.
std::size_t OfferDuePlanned(QWidget* parent, const AProgramContext& context, Database::ADatabase& db);

}  // namespace UserInterface::Transactions
