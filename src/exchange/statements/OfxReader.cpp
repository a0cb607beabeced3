// OFX and QFX statements: version 1 (SGML, where a value's closing tag may be left out) and
// version 2 (XML), read by one scanner over the tags. The header names the encoding.
#include "exchange/statements/Statement.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>

namespace ExportImport::Statements {

namespace {

using Values::Trim;

std::string Upper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    return upper;
}

// The code page the header declares; 0 leaves the choice to the text (UTF-8 or 1251).
std::uint32_t DeclaredCodePage(std::string_view bytes)
{
    const std::string head = Upper(bytes.substr(0, std::min<std::size_t>(bytes.size(), 600)));
    if (head.find("UTF-8") != std::string::npos || head.find("ENCODING:UTF") != std::string::npos)
        return 65001;
    for (const char* key : {"CHARSET:", "WINDOWS-", "CP"}) {
        const std::size_t at = head.find(key);
        if (at == std::string::npos)
            continue;
        const unsigned long page = std::strtoul(head.c_str() + at + std::string_view(key).size(), nullptr, 10);
        if (page >= 874 && page <= 1258)
            return static_cast<std::uint32_t>(page);
    }
    if (head.find("ISO-8859-1") != std::string::npos || head.find("CHARSET:8859-1") != std::string::npos)
        return 1252;
    return 0;
}

std::string Unescape(std::string_view text)
{
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string plain;
    for (std::size_t i = 0; i < text.size();) {
        const auto* entity = std::find_if(std::begin(kEntities), std::end(kEntities),
                                          [&](const auto& e) { return text.substr(i, e.first.size()) == e.first; });
        if (entity != std::end(kEntities)) {
            plain += entity->second;
            i += entity->first.size();
        } else {
            plain += text[i++];
        }
    }
    return plain;
}

struct AOpenLine {
    AStatementLine line;
    bool hasDate = false, hasAmount = false;
    std::vector<AProblem> problems;
};

class AOfxScanner {
public:
    AOfxScanner(std::string_view bytes, AStatementRead& read) : bytes_(bytes), read_(read), page_(DeclaredCodePage(bytes)) {}

    void Run()
    {
        bool sawOfx = false;
        std::size_t at = 0;
        while ((at = bytes_.find('<', at)) != std::string_view::npos) {
            const std::size_t end = bytes_.find('>', at);
            if (end == std::string_view::npos)
                break;
            const std::string tag = Upper(Trim(bytes_.substr(at + 1, end - at - 1)));
            lineNumber_ += static_cast<std::size_t>(std::count(bytes_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                                               bytes_.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
            counted_ = at;
            const std::size_t valueEnd = std::min(bytes_.find('<', end + 1), bytes_.size());
            const std::string_view value = Trim(bytes_.substr(end + 1, valueEnd - end - 1));
            at = end + 1;
            if (tag.empty() || tag[0] == '?' || tag[0] == '!')
                continue;
            sawOfx = sawOfx || tag == "OFX";
            if (tag[0] == '/')
                Close(tag.substr(1));
            else
                Open(tag, value);
        }
        if (open_) {
            read_.problems.push_back({AProblemKind::Truncated, open_->line.sourceLine, "STMTTRN"});
            open_.reset();
        }
        if (!sawOfx)
            read_.problems.push_back({AProblemKind::NotAStatement, 0, "OFX"});
    }

private:
    std::u16string Text(std::string_view value) const { return Values::DecodeText(Unescape(value), page_); }

    void Open(const std::string& tag, std::string_view value)
    {
        AStatement& statement = read_.statement;
        if (tag == "STMTTRN") {
            if (open_)  // a transaction that was never closed
                read_.problems.push_back({AProblemKind::Truncated, open_->line.sourceLine, "STMTTRN"});
            open_.emplace();
            open_->line.sourceLine = lineNumber_;
            open_->line.currency = statement.currency;
            return;
        }
        if (tag == "CURDEF" && !value.empty())
            statement.currency = Upper(value);
        else if (tag == "ACCTID" && statement.accountId.empty())
            statement.accountId = std::string(value);
        if (!open_)
            return;
        AStatementLine& line = open_->line;
        if (tag == "DTPOSTED") {
            open_->hasDate = Values::ParseIsoDate(value, line.date);
            if (!open_->hasDate)
                open_->problems.push_back({AProblemKind::BadDate, lineNumber_, tag});
        } else if (tag == "DTUSER" || tag == "DTAVAIL") {
            (void)Values::ParseIsoDate(value, line.valueDate);
        } else if (tag == "TRNAMT") {
            open_->hasAmount = Values::ParseAmount(value, line.amount);
            if (!open_->hasAmount)
                open_->problems.push_back({AProblemKind::BadAmount, lineNumber_, tag});
        } else if (tag == "FITID") {
            line.reference = std::string(value);
        } else if (tag == "NAME" || (tag == "PAYEEID" && line.payee.empty())) {
            line.payee = Text(value);
        } else if (tag == "MEMO") {
            line.memo = Text(value);
        } else if (tag == "CURSYM") {
            line.currency = Upper(value);
        }
    }

    void Close(const std::string& tag)
    {
        if (tag != "STMTTRN" || !open_)
            return;
        AOpenLine& done = *open_;
        if (!done.hasDate && done.problems.empty())
            done.problems.push_back({AProblemKind::MissingDate, done.line.sourceLine, "DTPOSTED"});
        if (!done.hasAmount && done.problems.empty())
            done.problems.push_back({AProblemKind::MissingAmount, done.line.sourceLine, "TRNAMT"});
        if (done.problems.empty())
            read_.statement.lines.push_back(std::move(done.line));
        else
            read_.problems.insert(read_.problems.end(), done.problems.begin(), done.problems.end());
        open_.reset();
    }

    std::string_view bytes_;
    AStatementRead& read_;
    std::uint32_t page_;
    std::size_t lineNumber_ = 1, counted_ = 0;
    std::optional<AOpenLine> open_;
};

}  // namespace

AStatementRead ReadOfx(std::string_view bytes)
{
    AStatementRead read;
    AOfxScanner(bytes, read).Run();
    return read;
}

}  // namespace ExportImport::Statements
