#include "ui/transactions/DuePlanned.h"

#include "core/FormatText.h"
#include "database/TransactionCommands.h"
#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"

namespace UserInterface::Transactions {

using namespace Database;
namespace Message = Database::TransactionMessage;

std::size_t OfferDuePlanned(QWidget* parent, const AProgramContext& context, ADatabase& db)
{
    if (db.ReadOnly())
        return 0;
    const ATransactionSlots due = DuePlanned(db, context.clock().date);
    if (due.empty())
        return 0;
    const auto& strings = context.Strings();
    Win32API::VelvixForms::AMessageBoxOptions options;
    options.text = UtilityClasses::Strings::FormatText(strings.Locale(), strings.Text(Message::kExecuteDue),
                                                       {due.size()});
    options.title = std::u16string(strings.Text(Message::kExecute));
    options.buttons = Win32API::VelvixForms::AMessageButtons::YesNo;
    options.icon = Win32API::VelvixForms::AMessageIcon::Question;
    if (context.Dialogs().ShowMessage(parent, options) != Win32API::VelvixForms::kIdYes)
        return 0;
    return ExecutePlanned(db, due, strings.Text(due.size() == 1 ? Message::kExecuteOne : Message::kExecuteSeveral));
}

}  // namespace UserInterface::Transactions
