#include "exchange/statements/CsvStatement.h"

#include <algorithm>
#include <charconv>

namespace ExportImport::Statements {

namespace {

using Values::Trim;

bool ParseDate(std::string_view text, ADateForm form, ADate& date)
{
    text = Trim(text);
    if (form == ADateForm::YearMonthDay) {
        std::string dashed(text);
        for (char& c : dashed)
            if (c == '/' || c == '.')
                c = '-';
        return Values::ParseIsoDate(dashed, date);
    }
    // Day or month first, with any of the separators QIF dates use.
    return Values::ParseQifDate(text, form == ADateForm::DayMonthYear, date);
}

// The amount with the mapping's decimal sign: the other sign groups thousands.
bool ParseAmountWith(std::string_view text, char decimal, AMoney& amount)
{
    std::string plain;
    for (char c : Trim(text)) {
        if (c == decimal)
            plain += '.';
        else if (c != (decimal == ',' ? '.' : ',') && c != ' ' && c != '\'')
            plain += c;
    }
    return Values::ParseAmount(plain, amount);
}

std::optional<int> Column(std::string_view value)
{
    int column = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), column);
    if (error != std::errc() || end != value.data() + value.size() || column < 0 || column > 255)
        return std::nullopt;
    return column;
}

}  // namespace

std::vector<std::string> NextCsvRecord(std::string_view text, std::size_t& at, char separator)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    while (at < text.size()) {
        const char c = text[at++];
        if (quoted) {
            if (c == '"' && at < text.size() && text[at] == '"') {
                fields.back() += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            fields.emplace_back();
        } else if (c == '\n') {
            break;
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

std::optional<ACsvMapping> ParseCsvMapping(std::string_view text)
{
    ACsvMapping mapping;
    bool hasDate = false;
    std::size_t at = 0;
    for (const std::string& item : NextCsvRecord(text, at, ';')) {
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        const std::string name(Trim(std::string_view(item).substr(0, equals)));
        const std::string_view value = std::string_view(item).substr(equals + 1);
        std::optional<int>* column = name == "amount" ? &mapping.amount : name == "debit" ? &mapping.debit
                                     : name == "credit" ? &mapping.credit : name == "currency" ? &mapping.currency
                                     : name == "payee" ? &mapping.payee : name == "memo" ? &mapping.memo
                                     : name == "reference" ? &mapping.reference : nullptr;
        if (column) {
            *column = Column(value);
            if (!*column)
                return std::nullopt;
        } else if (name == "date") {
            const auto date = Column(value);
            if (!date)
                return std::nullopt;
            mapping.date = *date;
            hasDate = true;
        } else if ((name == "separator" || name == "decimal") && value.size() == 1) {
            (name == "separator" ? mapping.separator : mapping.decimal) = value[0];
        } else if (name == "dates" && (value == "dmy" || value == "mdy" || value == "ymd")) {
            mapping.dateForm = value == "dmy" ? ADateForm::DayMonthYear
                               : value == "mdy" ? ADateForm::MonthDayYear : ADateForm::YearMonthDay;
        } else if (name == "skip" && Column(value)) {
            mapping.skipLines = *Column(value);
        } else if (name == "codepage") {
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), mapping.codePage);
            if (error != std::errc() || end != value.data() + value.size())
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!hasDate || (!mapping.amount && !(mapping.debit && mapping.credit)))
        return std::nullopt;
    return mapping;
}

std::string CsvMappingText(const ACsvMapping& mapping)
{
    std::string text;
    const auto add = [&](std::string_view name, std::string value) {
        std::string item = std::string(name) + "=" + value;
        // A separator or quote of the mapping itself is quoted, as a CSV field.
        if (item.find_first_of(";\"") != std::string::npos) {
            std::string quoted = "\"";
            for (char c : item)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            item = quoted + "\"";
        }
        text += (text.empty() ? "" : ";") + item;
    };
    add("date", std::to_string(mapping.date));
    const std::pair<const char*, const std::optional<int>*> columns[] = {
        {"amount", &mapping.amount}, {"debit", &mapping.debit}, {"credit", &mapping.credit},
        {"currency", &mapping.currency}, {"payee", &mapping.payee}, {"memo", &mapping.memo},
        {"reference", &mapping.reference}};
    for (const auto& [name, column] : columns)
        if (*column)
            add(name, std::to_string(**column));
    add("separator", std::string(1, mapping.separator));
    add("decimal", std::string(1, mapping.decimal));
    add("dates", mapping.dateForm == ADateForm::DayMonthYear   ? "dmy"
                 : mapping.dateForm == ADateForm::MonthDayYear ? "mdy"
                                                               : "ymd");
    add("skip", std::to_string(mapping.skipLines));
    add("codepage", std::to_string(mapping.codePage));
    return text;
}

AStatementRead ReadCsvStatement(std::string_view bytes, const ACsvMapping& mapping)
{
    AStatementRead read;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    std::size_t at = 0, lineNumber = 0;
    const auto field = [](const std::vector<std::string>& fields, std::optional<int> column) {
        return column && static_cast<std::size_t>(*column) < fields.size() ? std::string_view(fields[*column])
                                                                             : std::string_view();
    };
    while (at < bytes.size()) {
        const std::size_t start = at;
        const std::vector<std::string> fields = NextCsvRecord(bytes, at, mapping.separator);
        lineNumber += 1 + static_cast<std::size_t>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                                                               bytes.begin() + static_cast<std::ptrdiff_t>(at - 1), '\n'));
        if (static_cast<int>(lineNumber) <= mapping.skipLines || (fields.size() == 1 && Trim(fields[0]).empty()))
            continue;
        AStatementLine line;
        line.sourceLine = lineNumber;
        if (!ParseDate(field(fields, mapping.date), mapping.dateForm, line.date)) {
            read.problems.push_back({AProblemKind::BadDate, lineNumber, "column " + std::to_string(mapping.date)});
            continue;
        }
        bool amountRead = false;
        if (mapping.amount) {
            amountRead = ParseAmountWith(field(fields, mapping.amount), mapping.decimal, line.amount);
        } else {
            AMoney out = 0, in = 0;
            const std::string_view debit = Trim(field(fields, mapping.debit)), credit = Trim(field(fields, mapping.credit));
            amountRead = (debit.empty() || ParseAmountWith(debit, mapping.decimal, out)) &&
                         (credit.empty() || ParseAmountWith(credit, mapping.decimal, in)) &&
                         !(debit.empty() && credit.empty());
            line.amount = in - (out < 0 ? -out : out);
        }
        if (!amountRead) {
            read.problems.push_back({AProblemKind::BadAmount, lineNumber, "amount"});
            continue;
        }
        line.currency = std::string(Trim(field(fields, mapping.currency)));
        line.payee = Values::DecodeText(Trim(field(fields, mapping.payee)), mapping.codePage);
        line.memo = Values::DecodeText(Trim(field(fields, mapping.memo)), mapping.codePage);
        line.reference = std::string(Trim(field(fields, mapping.reference)));
        read.statement.lines.push_back(std::move(line));
    }
    if (read.statement.lines.empty() && read.problems.empty())
        read.problems.push_back({AProblemKind::NotAStatement, 0, "CSV"});
    return read;
}

}  // namespace ExportImport::Statements
