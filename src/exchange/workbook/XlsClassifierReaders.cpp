// The sheets that refer to classifiers: the classifiers themselves, their categories,
// and the transactions with their accounts and categories.
#include "exchange/workbook/XlsCells.h"
#include "exchange/workbook/XlsSheetReaders.h"
#include "exchange/xml/xmlBuild.h"
#include "exchange/xml/xmlNodes.h"

#include <algorithm>

namespace ExportImport::FileTypeExcel {

using UtilityClasses::XML::AddElement;
using UtilityClasses::XML::AddText;
using UtilityClasses::XML::AElement;
using UtilityClasses::XML::ANode;
using UtilityClasses::XML::ANodeContainer;
using UtilityClasses::XML::SetAttribute;

namespace {

std::string DateText(std::string_view cell) { return CellToDateText(cell); }
std::string AmountText(std::string_view cell) { return CellToAmountText(cell); }

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> levels;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('\\', start);
        levels.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos)
            return levels;
        start = slash + 1;
    }
}

bool ValidPath(const std::vector<std::string>& levels)
{
    return std::none_of(levels.begin(), levels.end(), [](const std::string& level) { return level.empty(); });
}

AElement* AddNamedCategory(AElement& parent, const std::string& name, const std::string& reference)
{
    AElement* category = AddElement(parent, "category");
    AElement* nameElement = AddElement(*category, "name");
    SetAttribute(*nameElement, "ref", reference);
    AddText(*nameElement, name);
    return category;
}

class ASheetClassifierCollector : public AImportFromXLS::ASheetBase {
public:
    ASheetClassifierCollector(std::string sheet, const AReportError& report, AClassifierCollection& classifiers)
        : ASheetBase(std::move(sheet), report), classifiers_(classifiers)
    {
    }

protected:
    AClassifierCollection& classifiers_;
};

constexpr std::pair<const char*, const char*> kSeparateTrees[] = {
    {"Income root", "income-tree"}, {"Expense root", "expense-tree"}, {"Transfer root", "transfer-tree"}};

class ASheetToClassifiers final : public ASheetClassifierCollector {
public:
    using ASheetClassifierCollector::ASheetClassifierCollector;

private:
    std::vector<std::string> RequiredColumns() const override { return {"Singular name", "Plural name"}; }
    void Begin(AElement& root) override { section_ = &AddSection(root, "classifiers"); }
    void ConvertRow(const ASheetRow& row) override
    {
        AElement& classifier = *AddElement(*section_, "classifier");
        AddValue(classifier, "singular-name", row, "Singular name", true);
        AddValue(classifier, "plural-name", row, "Plural name", true);
        const std::string& singular = row.Text(Column("Singular name"));
        bool separate = false;
        for (const auto& [header, tree] : kSeparateTrees)
            separate = separate || !row.Text(Column(header)).empty();
        if (separate) {
            for (const auto& [header, tree] : kSeparateTrees)
                AddTree(classifier, tree, row, header, singular);
        } else {
            AddFlag(classifier, "use-in-transfers", row, "Use in transfers");
            AddTree(classifier, "single-tree", row, "Single root", singular);
        }
    }

    void AddTree(AElement& classifier, const char* treeName, const ASheetRow& row, const std::string& header,
                 const std::string& singular)
    {
        const int column = Column(header);
        const std::string& rootName = row.Text(column);
        if (rootName.empty())
            return;
        if (classifiers_.roots.contains(rootName)) {
            Report("Ошибка: одно и то же название корневой категории использовано более одного раза: '" + rootName +
                   "', ячейка '" + CellReference(column, row.number) + "', лист '" + Sheet() + "'");
            return;
        }
        AElement* tree = AddElement(classifier, treeName);
        AElement* root = AddNamedCategory(*tree, rootName, CellReference(column, row.number));
        classifiers_.roots.emplace(rootName, AClassifierCollection::ATree{singular, root});
    }

    AElement* section_ = nullptr;
};

class ASheetToCategories final : public ASheetClassifierCollector {
public:
    using ASheetClassifierCollector::ASheetClassifierCollector;

private:
    std::vector<std::string> RequiredColumns() const override { return {"Name"}; }
    void Begin(AElement&) override {}
    void ConvertRow(const ASheetRow& row) override
    {
        const int column = Column("Name");
        const std::string& path = row.Text(column);
        const std::string reference = CellReference(column, row.number);
        const std::vector<std::string> levels = SplitPath(path);
        if (!ValidPath(levels)) {
            Report("Ошибка: неверное название у категории '" + path + "'. Ячейка: '" + reference + "', Лист: '" +
                   Sheet() + "'");
            return;
        }
        const auto tree = classifiers_.roots.find(levels.front());
        if (tree == classifiers_.roots.end()) {
            Report("Ошибка: Не найден классификатор для категории '" + path + "'. Ячейка: '" + reference +
                   "', Лист: '" + Sheet() + "'");
            return;
        }
        AElement* category = tree->second.root;
        for (std::size_t i = 1; i < levels.size(); ++i) {
            AElement* child = FindChild(*category, levels[i]);
            category = child ? child : AddNamedCategory(*category, levels[i], reference);
        }
        if (const std::string& comment = row.Text(Column("Comment")); !comment.empty() && !category->FirstElement("comment"))
            AddCommentAfterName(*category, comment, CellReference(Column("Comment"), row.number));
    }

    static AElement* FindChild(const AElement& category, const std::string& name)
    {
        for (AElement* child = category.FirstElement("category"); child;
             child = ANodeContainer::NextElement(child, "category"))
            if (const AElement* childName = child->FirstElement("name"); childName && childName->Text() == name)
                return child;
        return nullptr;
    }

    // A comment belongs between the name and the children, which a row of a child placed
    // before its parent's row may already have created.
    static void AddCommentAfterName(AElement& category, const std::string& comment, const std::string& reference)
    {
        std::vector<std::unique_ptr<ANode>> children;
        while (category.FirstElement("category"))
            children.push_back(category.Remove(category.FirstElement("category")));
        AElement* element = AddElement(category, "comment");
        SetAttribute(*element, "ref", reference);
        AddText(*element, comment);
        for (auto& child : children)
            category.Append(std::move(child));
    }
};

class ASheetToTransactions final : public ASheetClassifierCollector {
public:
    using ASheetClassifierCollector::ASheetClassifierCollector;

private:
    struct AExtraColumn {
        int column;
        std::string field;
    };

    std::vector<std::string> RequiredColumns() const override { return {"Date"}; }
    void Begin(AElement& root) override
    {
        section_ = &AddSection(root, "transactions");
        for (const auto& [header, column] : Headers()) {
            if (header.starts_with("Category of ") && header.size() > 12)
                categoryColumns_.push_back({column, header.substr(12)});
            constexpr std::string_view kExtra = "Extra comment ";
            if (header.starts_with(kExtra) && header.size() > kExtra.size() &&
                std::all_of(header.begin() + static_cast<std::ptrdiff_t>(kExtra.size()), header.end(),
                            [](char c) { return c >= '0' && c <= '9'; }))
                extraColumns_.push_back({column, header.substr(kExtra.size())});
        }
        const auto byColumn = [](const AExtraColumn& a, const AExtraColumn& b) { return a.column < b.column; };
        std::sort(categoryColumns_.begin(), categoryColumns_.end(), byColumn);
        std::sort(extraColumns_.begin(), extraColumns_.end(), byColumn);
    }

    struct AAccount {
        std::string code;
        std::string name;
    };

    // "CODE - name"; false when the cell does not split so.
    static bool SplitAccount(const std::string& cell, AAccount& account)
    {
        const std::size_t dash = cell.find(" - ");
        if (dash == std::string::npos || dash == 0 || dash + 3 >= cell.size())
            return false;
        account = {cell.substr(0, dash), cell.substr(dash + 3)};
        return true;
    }

    bool ReadAccount(const ASheetRow& row, const char* header, std::optional<AAccount>& account)
    {
        const int column = Column(header);
        const std::string& cell = row.Text(column);
        if (cell.empty())
            return true;
        AAccount split;
        if (!SplitAccount(cell, split)) {
            Report("Счет не указан или указан неверно. Ячейка '" + CellReference(column, row.number) + "', Лист '" +
                   Sheet() + "'");
            return false;
        }
        account = split;
        return true;
    }

    void ConvertRow(const ASheetRow& row) override
    {
        std::optional<AAccount> income, expense;
        if (!ReadAccount(row, "Income account", income) || !ReadAccount(row, "Expense account", expense))
            return;
        const char* kind = nullptr;
        if (!row.Text(Column("Fixed balance")).empty())
            kind = "balance";
        else if (income && expense)
            kind = "transfer";
        else if (income)
            kind = "income";
        else if (expense)
            kind = "expense";
        if (!kind) {
            Report("Ошибка: для операции не указаны ни данные прихода ни данные расхода. Строка: " +
                   std::to_string(row.number) + ", Лист: '" + Sheet() + "'");
            return;
        }
        AElement& transaction = *AddElement(*section_, "transaction");
        AddValue(transaction, "date", row, "Date", true, DateText);
        AElement& kindElement = *AddElement(transaction, kind);
        AddFlag(kindElement, "executed", row, "Executed");
        AddFlag(kindElement, "locked", row, "Locked");
        AddValue(kindElement, "budget-date", row, "Budget date", false, DateText);
        AddSide(kindElement, row, income, "income", "Income");
        AddSide(kindElement, row, expense, "expense", "Expense");
        AddValue(kindElement, "quantity", row, "Quantity", false, AmountText);
        AddCategories(kindElement, row);
        AddValue(transaction, "comment", row, "Comment");
        for (const AExtraColumn& extra : extraColumns_)
            if (!row.Text(extra.column).empty()) {
                AElement* element = AddValue(transaction, "extra-comment", row, "Extra comment " + extra.field);
                SetAttribute(*element, "n", extra.field);
            }
        AddRecurrence(transaction, row);
    }

    void AddSide(AElement& kind, const ASheetRow& row, const std::optional<AAccount>& account, const std::string& side,
                 const std::string& header)
    {
        if (account) {
            AElement* element = AddElement(kind, side + "-account");
            SetAttribute(*element, "ref", CellReference(Column(header + " account"), row.number));
            AddText(*AddElement(*element, "name"), account->name);
            AddText(*AddElement(*element, "currency"), account->code);
        }
        AddValue(kind, side + "-amount", row, header + " amount", false, AmountText);
        AddValue(kind, side + "-balance", row, header + " balance", false, AmountText);
    }

    void AddCategories(AElement& kind, const ASheetRow& row)
    {
        for (const AExtraColumn& category : categoryColumns_) {
            const std::string& path = row.Text(category.column);
            if (path.empty())
                continue;
            const std::string reference = CellReference(category.column, row.number);
            const std::vector<std::string> levels = SplitPath(path);
            if (!ValidPath(levels)) {
                Report("Ошибка: неверное название у категории '" + path + "'. Ячейка: '" + reference + "', Лист: '" +
                       Sheet() + "'");
                continue;
            }
            AElement* element = AddElement(kind, "category");
            SetAttribute(*element, "classifier", category.field);
            SetAttribute(*element, "ref", reference);
            AddText(*AddElement(*element, "name"), levels.front());
            AElement* level = element;
            for (std::size_t i = 1; i < levels.size(); ++i) {
                level = AddElement(*level, "category");
                AddText(*AddElement(*level, "name"), levels[i]);
            }
        }
    }

    void AddRecurrence(AElement& transaction, const ASheetRow& row)
    {
        const int column = Column("Recurrence");
        if (row.Text(column).empty())
            return;
        AElement& recurrence = *AddElement(transaction, "recurrence");
        SetAttribute(recurrence, "ref", CellReference(column, row.number));
        SetAttribute(recurrence, "type", row.Text(column));
        constexpr std::pair<const char*, const char*> kNumbers[] = {
            {"Day of week mask", "day-of-week-mask"}, {"Day of month", "day-of-month"},
            {"Month of year", "month-of-year"},       {"Instance", "instance"},
            {"Interval", "interval"},                 {"Occurences", "occurrences"}};
        for (const auto& [header, element] : kNumbers)
            AddValue(recurrence, element, row, header);
        AddValue(recurrence, "end-date", row, "Recurrence end date", false, DateText);
        AddFlag(recurrence, "regenerate", row, "Regenerate");
    }

    // Transactions are the last sheet: nothing changes them once written.
    AElement* FinishedItems() override { return section_; }
    AElement* section_ = nullptr;
    std::vector<AExtraColumn> categoryColumns_;
    std::vector<AExtraColumn> extraColumns_;
};

template <class Reader>
ASheetReaderPtr Make(const char* sheet, const AReportError& report, AClassifierCollection& classifiers)
{
    return std::make_unique<Reader>(sheet, report, classifiers);
}

}  // namespace

const std::vector<ASheetReaderKind>& SheetReaders()
{
    static const std::vector<ASheetReaderKind> kReaders = {
        {"Currencies", MakeCurrenciesReader},
        {"Rates", MakeRatesReader},
        {"Accounts", MakeAccountsReader},
        {"Classifiers",
         [](const AReportError& report, AClassifierCollection& c) { return Make<ASheetToClassifiers>("Classifiers", report, c); }},
        {"Categories",
         [](const AReportError& report, AClassifierCollection& c) { return Make<ASheetToCategories>("Categories", report, c); }},
        {"Transactions",
         [](const AReportError& report, AClassifierCollection& c) {
             return Make<ASheetToTransactions>("Transactions", report, c);
         }},
    };
    return kReaders;
}

}  // namespace ExportImport::FileTypeExcel
