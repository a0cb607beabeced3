// The rows of a classifier's category trees, for the categories page and the parent chooser
// of the category dialog: each category under its parent, the roots in bold.
#pragma once
#include "ui/DatabaseModel.h"
#include "win32api/ReportItem.h"

#include <functional>

namespace UserInterface::Categories {

// Adds the classifier's trees below `root`, one column (the name) or two (name and comment).
// A category that `offered` refuses is left out with everything below it.
void AddCategoryItems(Win32API::VelvixControls::Reports::AReportItemImpl& root, Database::ADatabase& db,
                      Database::AReference<Database::AClassifier> classifier, bool withComment,
                      const std::function<bool(Database::AReference<Database::ACategory>)>& offered = {});

}  // namespace UserInterface::Categories
