#include "ui/PageFactory.h"

namespace UserInterface {

using Database::APageInfo;

std::unique_ptr<AAbstractPage> CreatePage(const AProgramContext& context, Database::ADatabase& db, std::uint32_t type)
{
    switch (type) {
    case APageInfo::kAccounts: return CreateAccountsPage(context, db);
    case APageInfo::kTransactions: return CreateTransactionsPage(context, db);
    case APageInfo::kReports: return CreateReportsPage(context, db);
    case APageInfo::kClassifiers: return CreateClassifiersPage(context, db);
    case APageInfo::kCurrencies: return CreateCurrenciesPage(context, db);
    case APageInfo::kBudget: return CreateBudgetPage(context, db);
    default: break;
    }
    // Categories pages, and pages of types unknown here: a classifier that does not exist
    // shows an empty tree.
    return CreateCategoriesPage(context, db, type >= APageInfo::kCategoriesBase ? type - APageInfo::kCategoriesBase : 0);
}

}  // namespace UserInterface
