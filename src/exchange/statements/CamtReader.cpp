// ISO 20022 CAMT.053 statements: the booked entries of each statement, their amounts signed
// by the credit/debit indicator, booking and value dates, the bank's reference and the
// remittance text. An entry that batches several transactions gives one line for each of
// its transaction details. Element names are compared without their namespace prefix.
#include "exchange/statements/Statement.h"

#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

namespace ExportImport::Statements {

namespace {

using UtilityClasses::XML::AElement;

std::string_view LocalName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

const AElement* Child(const AElement* parent, std::string_view name)
{
    if (!parent)
        return nullptr;
    for (const AElement* child = parent->FirstElement(); child; child = AElement::NextElement(child))
        if (LocalName(child->Name()) == name)
            return child;
    return nullptr;
}

// The element at the end of a path of names ("BookgDt/Dt"), or none.
const AElement* Find(const AElement* from, std::initializer_list<std::string_view> path)
{
    for (std::string_view name : path)
        from = Child(from, name);
    return from;
}

std::string TextAt(const AElement* from, std::initializer_list<std::string_view> path)
{
    const AElement* found = Find(from, path);
    return found ? std::string(Values::Trim(found->Text())) : std::string();
}

template <class Each>
void ForEachChild(const AElement* parent, std::string_view name, Each each)
{
    if (!parent)
        return;
    for (const AElement* child = parent->FirstElement(); child; child = AElement::NextElement(child))
        if (LocalName(child->Name()) == name)
            each(*child);
}

bool ReadDate(const AElement* entry, std::string_view name, ADate& date)
{
    const AElement* holder = Child(entry, name);
    if (!holder)
        return false;
    for (std::string_view form : {"Dt", "DtTm"})
        if (const AElement* value = Child(holder, form))
            return Values::ParseIsoDate(value->Text(), date);
    return false;
}

class ACamtReader {
public:
    explicit ACamtReader(AStatementRead& read) : read_(read) {}

    void Statement(const AElement& statement)
    {
        AStatement& into = read_.statement;
        if (into.accountId.empty()) {
            into.accountId = TextAt(&statement, {"Acct", "Id", "IBAN"});
            if (into.accountId.empty())
                into.accountId = TextAt(&statement, {"Acct", "Id", "Othr", "Id"});
        }
        if (into.currency.empty())
            into.currency = TextAt(&statement, {"Acct", "Ccy"});
        ForEachChild(&statement, "Ntry", [&](const AElement& entry) { Entry(entry); });
    }

private:
    void Entry(const AElement& entry)
    {
        ++entries_;
        indicator_ = TextAt(&entry, {"CdtDbtInd"});
        const std::string where = "Ntry " + std::to_string(entries_);
        const std::string status = TextAt(&entry, {"Sts"}).empty() ? TextAt(&entry, {"Sts", "Cd"}) : TextAt(&entry, {"Sts"});
        if (!status.empty() && status != "BOOK")
            return;  // pending and informational entries are not on the books yet
        AStatementLine line;
        line.reference = TextAt(&entry, {"AcctSvcrRef"});
        if (line.reference.empty())
            line.reference = TextAt(&entry, {"NtryRef"});
        if (!ReadDate(&entry, "BookgDt", line.date)) {
            read_.problems.push_back({Child(&entry, "BookgDt") ? AProblemKind::BadDate : AProblemKind::MissingDate, 0,
                                      where + "/BookgDt"});
            return;
        }
        (void)ReadDate(&entry, "ValDt", line.valueDate);
        std::vector<const AElement*> details;
        ForEachChild(Child(&entry, "NtryDtls"), "TxDtls", [&](const AElement& d) { details.push_back(&d); });
        if (details.size() <= 1) {
            if (Amount(entry, details.empty() ? nullptr : details.front(), line, where))
                read_.statement.lines.push_back(std::move(line));
            return;
        }
        for (std::size_t i = 0; i < details.size(); ++i) {  // a batch: one line per transaction
            AStatementLine part = line;
            const std::string reference = TextAt(details[i], {"Refs", "AcctSvcrRef"});
            part.reference = reference.empty() ? line.reference + "/" + std::to_string(i + 1) : reference;
            if (Amount(*details[i], details[i], part, where + "/TxDtls " + std::to_string(i + 1)))
                read_.statement.lines.push_back(std::move(part));
        }
    }

    // The amount of `holder` (an entry, or one transaction of a batch) with its sign, and
    // the texts of the transaction's details.
    bool Amount(const AElement& holder, const AElement* details, AStatementLine& line, const std::string& where)
    {
        const AElement* amount = Child(&holder, "Amt");
        if (!amount)
            amount = Find(&holder, {"AmtDtls", "TxAmt", "Amt"});
        if (!amount) {
            read_.problems.push_back({AProblemKind::MissingAmount, 0, where + "/Amt"});
            return false;
        }
        if (!Values::ParseAmount(amount->Text(), line.amount) || line.amount < 0) {
            read_.problems.push_back({AProblemKind::BadAmount, 0, where + "/Amt"});
            return false;
        }
        const std::string own = TextAt(&holder, {"CdtDbtInd"});
        if ((own.empty() ? indicator_ : own) == "DBIT")
            line.amount = -line.amount;
        if (const std::string* currency = amount->FindAttribute("Ccy"))
            line.currency = *currency;
        if (details) {
            const bool outgoing = line.amount < 0;
            std::string payee = TextAt(details, {"RltdPties", outgoing ? "Cdtr" : "Dbtr", "Nm"});
            if (payee.empty())
                payee = TextAt(details, {"RltdPties", outgoing ? "Cdtr" : "Dbtr", "Pty", "Nm"});
            line.payee = Values::DecodeText(payee, 65001);
            line.memo = Values::DecodeText(TextAt(details, {"RmtInf", "Ustrd"}), 65001);
        }
        if (line.memo.empty())
            line.memo = Values::DecodeText(TextAt(&holder, {"AddtlNtryInf"}), 65001);
        return true;
    }

    AStatementRead& read_;
    std::size_t entries_ = 0;
    std::string indicator_;  // a batch's transactions take the entry's indicator
};

}  // namespace

AStatementRead ReadCamt053(std::string_view bytes)
{
    AStatementRead read;
    UtilityClasses::XML::ADocument document;
    const UtilityClasses::XML::AParseResult parsed = UtilityClasses::XML::ParseDocument(document, bytes);
    if (!parsed.Ok()) {
        read.problems.push_back({AProblemKind::Truncated, static_cast<std::size_t>(std::max<std::int64_t>(parsed.line, 0)),
                                 "XML"});
        return read;
    }
    const AElement* root = document.RootElement();
    const AElement* report = Child(root, "BkToCstmrStmt");
    if (!root || LocalName(root->Name()) != "Document" || !report) {
        read.problems.push_back({AProblemKind::NotAStatement, 0, "Document/BkToCstmrStmt"});
        return read;
    }
    ACamtReader reader(read);
    ForEachChild(report, "Stmt", [&](const AElement& statement) { reader.Statement(statement); });
    return read;
}

}  // namespace ExportImport::Statements
