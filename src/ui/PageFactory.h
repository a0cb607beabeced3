// The page object for each page type of the page records.
#pragma once
#include "ui/DatabaseModel.h"
#include "ui/AbstractPage.h"

#include <memory>

namespace UserInterface {

struct AProgramContext;

// A page for `type`: the six fixed types and categories pages (205 + the classifier's
// identifier). A type the program does not know gets an empty page, so its tab still works.
std::unique_ptr<AAbstractPage> CreatePage(const AProgramContext& context, Database::ADatabase& db,
                                          std::uint32_t type);

std::unique_ptr<AAbstractPage> CreateAccountsPage(const AProgramContext& context, Database::ADatabase& db);
std::unique_ptr<AAbstractPage> CreateTransactionsPage(const AProgramContext& context, Database::ADatabase& db);
std::unique_ptr<AAbstractPage> CreateCategoriesPage(const AProgramContext& context, Database::ADatabase& db,
                                                    std::uint32_t classifierId);
std::unique_ptr<AAbstractPage> CreateClassifiersPage(const AProgramContext& context, Database::ADatabase& db);
std::unique_ptr<AAbstractPage> CreateCurrenciesPage(const AProgramContext& context, Database::ADatabase& db);
std::unique_ptr<AAbstractPage> CreateBudgetPage(const AProgramContext& context, Database::ADatabase& db);
std::unique_ptr<AAbstractPage> CreateReportsPage(const AProgramContext& context, Database::ADatabase& db);

}  // namespace UserInterface
