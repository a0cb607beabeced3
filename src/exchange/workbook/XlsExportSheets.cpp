#include "exchange/workbook/XlsPackage.h"
#include "exchange/workbook/XlsInterchangeSections.h"
#include "exchange/workbook/XlsSheetWriter.h"
#include "exchange/xml/xmlNodes.h"

#include "core/Assert.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace ExportImport::FileTypeExcel {

using UtilityClasses::XML::AElement;
using UtilityClasses::XML::ANodeContainer;

namespace {

using ASheetBase = AExportToXLS::ASheetBase;

template <class Visit>
void ForEachElement(const AElement* parent, std::string_view name, Visit visit)
{
    if (!parent)
        return;
    for (const AElement* child = parent->FirstElement(name); child; child = ANodeContainer::NextElement(child, name))
        visit(*child);
}

std::string AccountReference(const AElement& account)
{
    return ChildText(account, "currency") + " - " + ChildText(account, "name");
}

// "Root\Middle\Leaf" from a chain of nested `category` elements, each holding a `name`.
std::string CategoryPath(const AElement& category)
{
    std::string path = ChildText(category, "name");
    for (const AElement* level = category.FirstElement("category"); level; level = level->FirstElement("category"))
        path += "\\" + ChildText(*level, "name");
    return path;
}

class ASheetFromCurrencies final : public ASheetBase {
public:
    ASheetFromCurrencies() : ASheetBase({"Name", "Code", "Precision"}, {{1, 1, 20}, {3, 3, 10}}) {}

private:
    void WriteRows(const AInterchangeSections& document) override
    {
        document.ForEachItem("currencies", "currency", [&](const AElement& currency) {
            NewRow();
            Text(1, ChildText(currency, "name"));
            Text(2, ChildText(currency, "code"));
            Number(3, ChildText(currency, "precision"));
        });
    }
};

class ASheetFromRates final : public ASheetBase {
public:
    ASheetFromRates()
        : ASheetBase({"Date", "Currency 1", "Amount 1", "Currency 2", "Amount 2"}, {{1, 1, 12}, {2, 5, 12}})
    {
    }

private:
    void WriteRows(const AInterchangeSections& document) override
    {
        document.ForEachItem("rates", "rate", [&](const AElement& rate) {
            NewRow();
            Date(1, ChildText(rate, "date"));
            Text(2, ChildText(rate, "currency-1"));
            Amount(3, ChildText(rate, "amount-1"));
            Text(4, ChildText(rate, "currency-2"));
            Amount(5, ChildText(rate, "amount-2"));
        });
    }
};

class ASheetFromAccounts final : public ASheetBase {
public:
    ASheetFromAccounts()
        : ASheetBase({"Name", "Currency", "Initial balance", "Locked", "Comment"}, {{1, 1, 24}, {2, 2, 10}, {3, 3, 15}})
    {
    }

private:
    void WriteRows(const AInterchangeSections& document) override
    {
        document.ForEachItem("accounts", "account", [&](const AElement& account) {
            NewRow();
            Text(1, ChildText(account, "name"));
            Text(2, ChildText(account, "currency"));
            Amount(3, ChildText(account, "init-balance"));
            Flag(4, HasChild(account, "locked"));
            if (HasChild(account, "comment"))
                Text(5, ChildText(account, "comment"));
        });
    }
};

// One row per account placed in a folder, and one for a folder that holds none.
class ASheetFromAccountFolders final : public ASheetBase {
public:
    ASheetFromAccountFolders() : ASheetBase({"Folder", "Account name", "Currency"}, {{1, 2, 24}}) {}

private:
    void WriteRows(const AInterchangeSections& document) override
    {
        document.ForEachItem("account-plans", "account-plan",
                             [&](const AElement& plan) { WriteFolder(plan, ChildText(plan, "name")); });
    }

    void WriteFolder(const AElement& folder, const std::string& path)
    {
        bool any = false;
        ForEachElement(&folder, "account", [&](const AElement& account) {
            NewRow();
            TextFormat(1, path);
            Text(2, ChildText(account, "name"));
            Text(3, ChildText(account, "currency"));
            any = true;
        });
        if (!any) {
            NewRow();
            TextFormat(1, path);
        }
        ForEachElement(&folder, "folder",
                       [&](const AElement& sub) { WriteFolder(sub, path + "\\" + ChildText(sub, "name")); });
    }
};

constexpr std::string_view kTreeElements[] = {"income-tree", "expense-tree", "transfer-tree", "single-tree"};

class ASheetFromClassifiers final : public ASheetBase {
public:
    ASheetFromClassifiers()
        : ASheetBase({"Singular name", "Plural name", "Income root", "Expense root", "Transfer root", "Single root",
                      "Use in transfers"},
                     {{1, 6, 18}})
    {
    }

private:
    void WriteRows(const AInterchangeSections& document) override
    {
        document.ForEachItem("classifiers", "classifier", [&](const AElement& classifier) {
            NewRow();
            Text(1, ChildText(classifier, "singular-name"));
            Text(2, ChildText(classifier, "plural-name"));
            for (int i = 0; i < 4; ++i)
                if (const AElement* tree = classifier.FirstElement(kTreeElements[i]))
                    if (const AElement* category = tree->FirstElement("category"))
                        TextFormat(3 + i, ChildText(*category, "name"));
            Flag(7, HasChild(classifier, "use-in-transfers"));
        });
    }
};

class ASheetFromCategories final : public ASheetBase {
public:
    ASheetFromCategories() : ASheetBase({"Name", "Comment"}, {{1, 1, 30}}) {}

private:
    void WriteRows(const AInterchangeSections& document) override
    {
        document.ForEachItem("classifiers", "classifier", [&](const AElement& classifier) {
            for (std::string_view treeName : kTreeElements)
                if (const AElement* tree = classifier.FirstElement(treeName))
                    ForEachElement(tree, "category", [&](const AElement& category) { WriteCategory(category); });
        });
    }

    void WriteCategory(const AElement& category)
    {
        levels_.push_back(ChildText(category, "name"));
        std::string path;
        for (const std::string& level : levels_)
            path += (path.empty() ? "" : "\\") + level;
        NewRow();
        Text(1, path);
        if (HasChild(category, "comment"))
            TextFormat(2, ChildText(category, "comment"));
        for (std::size_t i = 0; i < levels_.size(); ++i)
            Text(3 + static_cast<int>(i), levels_[i]);
        ForEachElement(&category, "category", [&](const AElement& child) { WriteCategory(child); });
        levels_.pop_back();
    }

    std::vector<std::string> levels_;
};

class ASheetFromExportOptions final : public ASheetBase {
public:
    ASheetFromExportOptions() : ASheetBase({"Option", "Value"}, {{1, 1, 20}, {2, 2, 16}}) {}

private:
    void WriteRows(const AInterchangeSections& document) override
    {
        const AElement* options = document.Root().FirstElement("export-options");
        if (!options)
            return;
        Row("Export module", [&] { Text(2, ChildText(*options, "module")); });
        Row("Fendral version", [&] { Text(2, ChildText(*options, "program-build")); });
        Row("Export date", [&] { Timestamp(2, ChildText(*options, "export-date")); });
        for (const auto& flag : {std::pair{"Account folders", "account-folders"},
                                 {"Account plans", "account-plans"},
                                 {"Budget date", "budget-date"},
                                 {"Quantity", "quantity"},
                                 {"Time", "time"}})
            Row(flag.first, [&] { Flag(2, HasChild(*options, flag.second)); });
        ForEachElement(options, "extra-comment", [&](const AElement& extra) {
            Row("Extra comment " + AttributeText(extra, "n"), [&] { TextFormat(2, extra.Text()); });
        });
    }

    void Row(const std::string& label, const std::function<void()>& value)
    {
        NewRow();
        Text(1, label);
        value();
    }
};

constexpr std::string_view kKinds[] = {"income", "expense", "transfer", "balance"};

const AElement* KindElement(const AElement& transaction)
{
    for (std::string_view kind : kKinds)
        if (const AElement* element = transaction.FirstElement(kind))
            return element;
    return nullptr;
}

class ASheetFromTransactions final : public ASheetBase {
public:
    ASheetFromTransactions()
        : ASheetBase({"Executed", "Locked", "Date", "Budget date", "Fixed balance", "Income account", "Income amount",
                      "Income balance", "Expense account", "Expense amount", "Expense balance", "Quantity", "Comment",
                      "Recurrence", "Day of week mask", "Day of month", "Month of year", "Instance", "Interval",
                      "Occurences", "Recurrence end date", "Regenerate"},
                     {{3, 3, 15}, {4, 4, 12}})
    {
    }

private:
    static constexpr int kFixedColumns = 22;

    // Extra comment columns for the fields in use, then one category column per
    // classifier: those of the document's classifier list, then any other a
    // transaction names (the list may hold only some of them), added as the rows meet it.
    void Prepare(const AInterchangeSections& document) override
    {
        const AElement* options = document.Root().FirstElement("export-options");
        timeOfDay_ = options && HasChild(*options, "time");
        ForEachElement(options, "extra-comment", [&](const AElement& extra) {
            extraFields_.push_back(AttributeText(extra, "n"));
            AddHeader("Extra comment " + AttributeText(extra, "n"));
        });
        document.ForEachItem("classifiers", "classifier", [&](const AElement& classifier) {
            ClassifierIndex(ChildText(classifier, "singular-name"));
        });
    }

    // Where the classifier is among the category columns, which it joins when new.
    std::size_t ClassifierIndex(const std::string& name)
    {
        const auto at = std::find(classifiers_.begin(), classifiers_.end(), name);
        if (at != classifiers_.end())
            return static_cast<std::size_t>(at - classifiers_.begin());
        classifiers_.push_back(name);
        AddHeader("Category of " + name);
        return classifiers_.size() - 1;
    }

    void WriteRows(const AInterchangeSections& document) override
    {
        document.ForEachItem("transactions", "transaction",
                             [&](const AElement& transaction) { WriteTransaction(transaction); });
    }

    void WriteTransaction(const AElement& transaction)
    {
        NewRow();
        const AElement* kind = KindElement(transaction);
        Flag(1, kind && HasChild(*kind, "executed"));
        Flag(2, kind && HasChild(*kind, "locked"));
        if (timeOfDay_)
            Timestamp(3, ChildText(transaction, "date"));
        else
            Date(3, ChildText(transaction, "date"));
        if (kind && HasChild(*kind, "budget-date"))
            Date(4, ChildText(*kind, "budget-date"));
        Flag(5, kind && kind->Name() == "balance");
        if (kind)
            WriteSides(*kind);
        if (HasChild(transaction, "comment"))
            TextFormat(13, ChildText(transaction, "comment"));
        if (const AElement* recurrence = transaction.FirstElement("recurrence"))
            WriteRecurrence(*recurrence);
        ForEachElement(&transaction, "extra-comment", [&](const AElement& extra) {
            const auto field = std::find(extraFields_.begin(), extraFields_.end(), AttributeText(extra, "n"));
            if (field != extraFields_.end())
                TextFormat(kFixedColumns + 1 + static_cast<int>(field - extraFields_.begin()), extra.Text());
        });
        if (!kind)
            return;
        const int firstCategory = kFixedColumns + 1 + static_cast<int>(extraFields_.size());
        std::vector<std::string> paths;
        ForEachElement(kind, "category", [&](const AElement& category) {
            const std::size_t at = ClassifierIndex(AttributeText(category, "classifier"));
            paths.resize(std::max(paths.size(), at + 1));
            paths[at] = CategoryPath(category);
        });
        for (std::size_t i = 0; i < paths.size(); ++i)
            if (!paths[i].empty())
                Text(firstCategory + static_cast<int>(i), paths[i]);
    }

    void WriteSides(const AElement& kind)
    {
        if (const AElement* account = kind.FirstElement("income-account"))
            TextFormat(6, AccountReference(*account));
        if (HasChild(kind, "income-amount"))
            Amount(7, ChildText(kind, "income-amount"));
        if (HasChild(kind, "income-balance"))
            Amount(8, ChildText(kind, "income-balance"));
        if (const AElement* account = kind.FirstElement("expense-account"))
            TextFormat(9, AccountReference(*account));
        if (HasChild(kind, "expense-amount"))
            Amount(10, ChildText(kind, "expense-amount"));
        if (HasChild(kind, "expense-balance"))
            Amount(11, ChildText(kind, "expense-balance"));
        if (HasChild(kind, "quantity"))
            Amount(12, ChildText(kind, "quantity"));
    }

    void WriteRecurrence(const AElement& recurrence)
    {
        Text(14, AttributeText(recurrence, "type"));
        constexpr std::string_view kNumbers[] = {"day-of-week-mask", "day-of-month", "month-of-year",
                                                 "instance", "interval", "occurrences"};
        for (int i = 0; i < 6; ++i)
            if (HasChild(recurrence, kNumbers[i]))
                Number(15 + i, ChildText(recurrence, kNumbers[i]));
        if (HasChild(recurrence, "end-date"))
            Date(21, ChildText(recurrence, "end-date"));
        Flag(22, HasChild(recurrence, "regenerate"));
    }

    bool timeOfDay_ = false;
    std::vector<std::string> extraFields_;
    std::vector<std::string> classifiers_;
};

struct ASheetKind {
    const char* name;
    const char* section;
    const char* item;
    std::function<std::unique_ptr<ASheetBase>()> create;
};

template <class Sheet>
std::unique_ptr<ASheetBase> Make()
{
    return std::make_unique<Sheet>();
}

const ASheetKind kSheets[] = {
    {"Transactions", "transactions", "transaction", Make<ASheetFromTransactions>},
    {"Classifiers", "classifiers", "classifier", Make<ASheetFromClassifiers>},
    {"Categories", "classifiers", "classifier", Make<ASheetFromCategories>},
    {"Account plans", "account-plans", "account-plan", Make<ASheetFromAccountFolders>},
    {"Accounts", "accounts", "account", Make<ASheetFromAccounts>},
    {"Currencies", "currencies", "currency", Make<ASheetFromCurrencies>},
    {"Rates", "rates", "rate", Make<ASheetFromRates>},
    {"Export options", "export-options", nullptr, Make<ASheetFromExportOptions>},
};

}  // namespace

std::vector<AWorksheet> Worksheets(const AInterchangeSections& document)
{
    std::vector<AWorksheet> sheets;
    for (const ASheetKind& kind : kSheets)
        if (const std::size_t items = document.ItemCount(kind.section, kind.item ? kind.item : std::string_view{});
            items > 0)
            sheets.push_back({kind.name, items});
    return sheets;
}

std::string WorksheetPart(const AInterchangeSections& document, const AWorksheet& sheet,
                          UtilityClasses::XML::AUserProgressNotifier* progress)
{
    for (const ASheetKind& kind : kSheets)
        if (sheet.name == kind.name)
            return kind.create()->Part(document, progress, sheet.items);
    FD_VERIFY(false);
    return {};
}

}  // namespace ExportImport::FileTypeExcel
