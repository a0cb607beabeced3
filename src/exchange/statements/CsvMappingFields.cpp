#include "exchange/statements/CsvMappingFields.h"

#include "database/Recurrence.h"

namespace ExportImport::Statements {

namespace {

constexpr int kMaxColumn = 256;

std::u16string Number(int value)
{
    std::u16string text;
    for (const char c : std::to_string(value))
        text += static_cast<char16_t>(c);
    return text;
}

// A whole number from `low` (0 or 1) to `high`, blanks around it allowed.
std::optional<int> ParseNumber(std::u16string_view text, int low, int high)
{
    if (low == 0 && text.find_first_not_of(u' ') != std::u16string_view::npos &&
        text.find_first_not_of(u" 0") == std::u16string_view::npos)
        return 0;
    return Database::Recurrence::ParseBoundedNumber(text, high);
}

std::optional<int>* ColumnOf(ACsvMapping& mapping, int column)
{
    switch (column) {
    case ACsvMappingFields::kAmount: return &mapping.amount;
    case ACsvMappingFields::kDebit: return &mapping.debit;
    case ACsvMappingFields::kCredit: return &mapping.credit;
    case ACsvMappingFields::kCurrency: return &mapping.currency;
    case ACsvMappingFields::kPayee: return &mapping.payee;
    case ACsvMappingFields::kMemo: return &mapping.memo;
    case ACsvMappingFields::kReference: return &mapping.reference;
    default: return nullptr;
    }
}

}  // namespace

ACsvMappingFields FieldsOf(const ACsvMapping& mapping)
{
    ACsvMappingFields fields;
    ACsvMapping copy = mapping;
    fields.columns[ACsvMappingFields::kDate] = Number(mapping.date + 1);
    for (int column = ACsvMappingFields::kAmount; column < ACsvMappingFields::kColumnCount; ++column)
        if (const auto* value = ColumnOf(copy, column); value && *value)
            fields.columns[static_cast<std::size_t>(column)] = Number(**value + 1);
    fields.separator = mapping.separator == '\t' ? u"\\t" : std::u16string(1, static_cast<char16_t>(mapping.separator));
    fields.decimal = std::u16string(1, static_cast<char16_t>(mapping.decimal));
    fields.skip = Number(mapping.skipLines);
    fields.dateForm = mapping.dateForm;
    fields.codePage = mapping.codePage;
    return fields;
}

AMappingCheck MappingOf(const ACsvMappingFields& fields)
{
    AMappingCheck check;
    ACsvMapping& mapping = check.mapping;
    for (int column = 0; column < ACsvMappingFields::kColumnCount; ++column) {
        const std::u16string& text = fields.columns[static_cast<std::size_t>(column)];
        if (text.find_first_not_of(u' ') == std::u16string::npos)
            continue;
        const auto number = ParseNumber(text, 1, kMaxColumn);
        if (!number) {
            check.refusal = AMappingRefusal::BadColumn;
            check.column = column;
            return check;
        }
        if (auto* value = ColumnOf(mapping, column))
            *value = *number - 1;
        else
            mapping.date = *number - 1;
    }
    if (fields.columns[ACsvMappingFields::kDate].find_first_not_of(u' ') == std::u16string::npos)
        check.refusal = AMappingRefusal::NoDate;
    else if (!mapping.amount && !(mapping.debit && mapping.credit))
        check.refusal = AMappingRefusal::NoAmount;
    if (check.refusal != AMappingRefusal::None)
        return check;
    const std::u16string& separator = fields.separator;
    if (separator == u"\\t")
        mapping.separator = '\t';
    else if (separator.size() == 1 && separator[0] > u' ' && separator[0] < 0x7F && separator[0] != u'"')
        mapping.separator = static_cast<char>(separator[0]);
    else
        check.refusal = AMappingRefusal::BadSeparator;
    if (fields.decimal == u"," || fields.decimal == u".")
        mapping.decimal = static_cast<char>(fields.decimal[0]);
    else if (check.refusal == AMappingRefusal::None)
        check.refusal = AMappingRefusal::BadDecimal;
    if (check.refusal == AMappingRefusal::None && mapping.decimal == mapping.separator)
        check.refusal = AMappingRefusal::BadSeparator;
    const auto skip = ParseNumber(fields.skip, 0, 255);
    if (skip)
        mapping.skipLines = *skip;
    else if (check.refusal == AMappingRefusal::None)
        check.refusal = AMappingRefusal::BadSkip;
    mapping.dateForm = fields.dateForm;
    mapping.codePage = fields.codePage;
    return check;
}

AStatementRead PreviewCsv(std::string_view bytes, const ACsvMapping& mapping, std::size_t lines)
{
    std::size_t at = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    for (std::size_t records = 0; at < bytes.size() && records < static_cast<std::size_t>(mapping.skipLines) + lines;
         ++records)
        NextCsvRecord(bytes, at, mapping.separator);
    return ReadCsvStatement(bytes.substr(0, at), mapping);
}

}  // namespace ExportImport::Statements
