#include "CsvFormat.h"

#include "InterchangeReader.h"
#include "PluginText.h"

#include <algorithm>
#include <array>

namespace CsvExchange {

namespace {

enum AColumn { kDate, kKind, kExecuted, kAccount, kCurrency, kAmount, kToAccount, kToCurrency, kToAmount, kComment,
               kColumnCount };

constexpr std::string_view kKinds[] = {"income", "expense", "transfer", "balance"};

struct ASide {
    std::string account, currency, amount, balance;
    bool income = true;
};

// The sides of a kind element in document order: each starts with its account element.
std::vector<ASide> Sides(const AXmlElement& kind)
{
    std::vector<ASide> sides;
    for (const AXmlElement& child : kind.children) {
        const std::string& name = child.name;
        if (name == "income-account" || name == "expense-account") {
            ASide side;
            side.income = name == "income-account";
            side.account = child.ChildText("name");
            side.currency = child.ChildText("currency");
            sides.push_back(std::move(side));
        } else if (!sides.empty() && (name == "income-amount" || name == "expense-amount")) {
            sides.back().amount = child.text;
        } else if (!sides.empty() && (name == "income-balance" || name == "expense-balance")) {
            sides.back().balance = child.text;
        }
    }
    return sides;
}

std::string CsvLine(const AXmlElement& transaction)
{
    std::array<std::string, kColumnCount> fields;
    fields[kDate] = transaction.ChildText("date");
    const AXmlElement* kind = nullptr;
    for (std::string_view name : kKinds)
        if ((kind = transaction.Child(name)))
            break;
    if (!kind)
        return {};
    fields[kKind] = kind->name;
    fields[kExecuted] = kind->Child("executed") ? "1" : "0";
    std::vector<ASide> sides = Sides(*kind);
    if (kind->name == "transfer" && sides.size() == 2 && sides[0].income)
        std::swap(sides[0], sides[1]);  // the side the money leaves comes first
    const bool balance = kind->name == "balance";
    if (!sides.empty()) {
        fields[kAccount] = sides[0].account;
        fields[kCurrency] = sides[0].currency;
        fields[kAmount] = balance ? sides[0].balance : sides[0].amount;
    }
    if (sides.size() > 1) {
        fields[kToAccount] = sides[1].account;
        fields[kToCurrency] = sides[1].currency;
        fields[kToAmount] = sides[1].amount;
    }
    fields[kComment] = transaction.ChildText("comment");
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0)
            line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\r\n";
}

bool IsAmount(std::string_view text)
{
    std::size_t i = text.starts_with('-') ? 1 : 0;
    std::size_t digits = 0, point = 0;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && point++ == 0)
            continue;
        else
            return false;
    }
    return digits > 0;
}

std::string Element(std::string_view name, std::string_view text)
{
    return "<" + std::string(name) + ">" + XmlEscape(text) + "</" + std::string(name) + ">";
}

std::string Side(bool income, std::string_view account, std::string_view currency, std::string_view valueName,
                 std::string_view value)
{
    const std::string prefix = income ? "income-" : "expense-";
    return "<" + prefix + "account>" + Element("name", account) + Element("currency", currency) + "</" + prefix +
           "account>" + Element(prefix + std::string(valueName), value);
}

// The currencies and accounts the transactions name: the document must carry them, for
// the program matches transactions only to accounts of the same document.
class AReferences {
public:
    void Add(const std::string& account, const std::string& currency)
    {
        if (std::find(currencies_.begin(), currencies_.end(), currency) == currencies_.end())
            currencies_.push_back(currency);
        const auto key = std::make_pair(account, currency);
        if (std::find(accounts_.begin(), accounts_.end(), key) == accounts_.end())
            accounts_.push_back(key);
    }
    // A CSV file knows no currency names: the code stands in for the name.
    std::string Sections() const
    {
        if (accounts_.empty())
            return {};
        std::string out = "<currencies>";
        for (const std::string& code : currencies_)
            out += "<currency>" + Element("name", code) + Element("code", code) + "</currency>";
        out += "</currencies><accounts>";
        for (const auto& [name, code] : accounts_)
            out += "<account>" + Element("name", name) + Element("currency", code) + "</account>";
        return out + "</accounts>";
    }

private:
    std::vector<std::string> currencies_;
    std::vector<std::pair<std::string, std::string>> accounts_;
};

// The transaction element of one CSV record, or a problem.
bool TransactionElement(const std::vector<std::string>& f, std::string& out, std::string& problem)
{
    if (f.size() != kColumnCount && f.size() != kColumnCount - 1) {
        problem = "expected 10 fields, found " + NumberText(f.size());
        return false;
    }
    const std::string& kind = f[kKind];
    int kindIndex = -1;
    for (int i = 0; i < 4; ++i)
        if (kKinds[i] == kind)
            kindIndex = i;
    if (kindIndex < 0) {
        problem = "unknown kind \"" + kind + "\"";
        return false;
    }
    if (f[kDate].empty() || f[kAccount].empty() || !IsAmount(f[kAmount])) {
        problem = "a date, an account and an amount are needed";
        return false;
    }
    const bool transfer = kind == "transfer";
    if (transfer && (f[kToAccount].empty() || !IsAmount(f[kToAmount]))) {
        problem = "a transfer needs the receiving account and its amount";
        return false;
    }
    const bool negative = f[kAmount].starts_with('-');
    out = "<transaction>" + Element("date", f[kDate]) + "<" + kind + ">";
    if (f[kExecuted] == "1")
        out += "<executed/>";
    if (transfer) {
        out += Side(false, f[kAccount], f[kCurrency], "amount", f[kAmount]);
        out += Side(true, f[kToAccount], f[kToCurrency], "amount", f[kToAmount]);
    } else {
        out += Side(!negative, f[kAccount], f[kCurrency], kind == "balance" ? "balance" : "amount", f[kAmount]);
    }
    out += "</" + kind + ">";
    if (f.size() == kColumnCount && !f[kComment].empty())
        out += Element("comment", f[kComment]);
    out += "</transaction>";
    return true;
}

}  // namespace

bool DocumentToCsv(std::string_view document, std::string& csv, std::size_t& transactions,
                   const std::function<void(std::size_t done)>& progress)
{
    csv = std::string(kCsvHeader) + "\r\n";
    transactions = 0;
    return ForEachRecord(document, "transactions", "transaction", [&](const AXmlElement& transaction) {
        csv += CsvLine(transaction);
        ++transactions;
        if (progress)
            progress(transactions);
    });
}

std::string CsvToDocument(std::string_view csv, std::string_view moduleId, std::string_view exportDate,
                          std::vector<ACsvProblem>& problems)
{
    std::string document = "<?xml version='1.0' encoding='utf-8' standalone='yes'?><fendral><export-options>" +
                           Element("module", moduleId) + Element("program-build", "235") +
                           Element("export-date", exportDate) + "</export-options>";
    std::vector<std::vector<std::string>> records;
    if (!ParseCsv(csv, records)) {
        problems.push_back({0, "a quoted field is not closed"});
        records.clear();
    }
    std::string transactions;
    AReferences references;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& record = records[i];
        if ((i == 0 && !record.empty() && record[0] == "date") || (record.size() == 1 && record[0].empty()))
            continue;  // the header line, an empty line
        std::string element, problem;
        if (!TransactionElement(record, element, problem)) {
            problems.push_back({i + 1, problem});
            continue;
        }
        transactions += element;
        references.Add(record[kAccount], record[kCurrency]);
        if (record[kKind] == "transfer")
            references.Add(record[kToAccount], record[kToCurrency]);
    }
    document += references.Sections();
    if (!transactions.empty())
        document += "<transactions>" + transactions + "</transactions>";
    return document + "</fendral>";
}

}  // namespace CsvExchange
