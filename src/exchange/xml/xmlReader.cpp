#include "exchange/xml/xmlReader.h"

#include "core/MemoryStream.h"
#include "exchange/xml/xmlBuild.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlParseCursor.h"

namespace UtilityClasses::XML {

using Implementation::AByteSet;
using Implementation::AParseCursor;
using Implementation::APosition;

namespace {

constexpr AByteSet kTextStops("<&");
constexpr AByteSet kApostropheValueStops("'&");
constexpr AByteSet kQuoteValueStops("\"&");
constexpr AByteSet kCDataStops("]");
constexpr AByteSet kCommentStops("-");
constexpr AByteSet kUnknownStops("<>");

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// At "&#": up to 4 hexadecimal or 5 decimal digits and an optional ";". A reference
// without digits is no reference. Returns whether one was decoded.
bool DecodeCharacterReference(AParseCursor& cursor, std::string& out)
{
    const bool hex = cursor.Peek(2) == 'x' || cursor.Peek(2) == 'X';
    const std::size_t first = hex ? 3 : 2;
    const std::size_t maxDigits = hex ? 4 : 5;
    std::uint32_t code = 0;
    std::size_t digits = 0;
    for (int value; digits < maxDigits && (value = DigitValue(cursor.Peek(first + digits), hex)) >= 0; ++digits)
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
    if (digits == 0)
        return false;
    std::size_t length = first + digits;
    if (cursor.Peek(length) == ';')
        ++length;
    cursor.Skip(length);
    // A NUL would end the text for every reader after us, a lone surrogate is no
    // character: both become U+FFFD.
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    // Stored as UTF-8, like the rest of the text; a single byte would corrupt it.
    AppendUtf8(out, code);
    return true;
}

// At "&": a named or numeric reference, or a literal ampersand.
void DecodeEntity(AParseCursor& cursor, std::string& out)
{
    struct ANamed { std::string_view text; char value; };
    static constexpr ANamed kNamed[] = {
        {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'},
    };
    const char first = static_cast<char>(cursor.Peek(1) | 0x20);  // lower case for letters
    if (cursor.Peek(1) == '#') {
        if (DecodeCharacterReference(cursor, out))
            return;
    } else {
        for (const ANamed& named : kNamed) {
            if (named.text[1] == first && cursor.Match(named.text, true)) {
                cursor.Skip(named.text.size());
                out += named.value;
                return;
            }
        }
    }
    cursor.Skip(1);
    out += '&';
}

// Bytes up to the first stop other than "&", with references decoded.
void ReadDecoded(AParseCursor& cursor, const AByteSet& stops, std::string& out)
{
    for (;;) {
        cursor.TakeRun(stops, &out);
        if (cursor.Peek(0) != '&')
            return;
        DecodeEntity(cursor, out);
    }
}

// Copies bytes up to `terminator`, which is consumed. End of input first is error 5 at
// `start`.
void ReadUntil(AParseCursor& cursor, const AByteSet& stops, std::string_view terminator, APosition start,
               std::string& out)
{
    for (;;) {
        cursor.TakeRun(stops, &out);
        if (cursor.AtEnd())
            AParseCursor::Fail(Implementation::kErrorUnexpectedEnd, start);
        if (cursor.Match(terminator)) {
            cursor.Skip(terminator.size());
            return;
        }
        out += cursor.Peek(0);  // a stop byte that does not begin the terminator
        cursor.Skip(1);
    }
}

void ParseAttributes(AParseCursor& cursor, Implementation::AAttributeSet& attributes)
{
    std::vector<Implementation::AAttribute>& pending = cursor.PendingAttributes();
    pending.clear();
    for (;;) {
        std::string name;
        cursor.ReadName(name);
        if (name.empty())
            break;
        cursor.SkipSpace();
        if (cursor.Peek(0) != '=')
            cursor.Fail(Implementation::kErrorUnexpectedByte);
        cursor.Skip(1);
        cursor.SkipSpace();
        const char quote = cursor.Peek(0);
        if (quote != '\'' && quote != '"')
            cursor.Fail(Implementation::kErrorUnexpectedByte);
        cursor.Skip(1);
        const APosition valueStart = cursor.Position();
        std::string value;
        ReadDecoded(cursor, quote == '\'' ? kApostropheValueStops : kQuoteValueStops, value);
        if (cursor.Peek(0) != quote)
            AParseCursor::Fail(Implementation::kErrorUnexpectedEnd, valueStart);
        cursor.Skip(1);
        pending.emplace_back(std::move(name), std::move(value));
    }
    // Gathered first so that the element takes room for exactly its attributes.
    attributes.AdoptAttributes(pending);
}

// Picks the node the text ahead begins, in the order the format needs: "<?", CDATA,
// comment, other "<!", element, text.
std::unique_ptr<ANode> RecognizeNode(AParseCursor& cursor)
{
    Implementation::ANodeArena& arena = cursor.Arena();
    if (cursor.Peek(0) != '<')
        return std::unique_ptr<ANode>(new (arena) AText());
    if (cursor.Peek(1) == '?')
        return std::unique_ptr<ANode>(new (arena) ADeclaration());
    if (cursor.Peek(1) == '!') {
        if (cursor.Match("<![CDATA["))
            return std::unique_ptr<ANode>(new (arena) AText(std::string(), true));
        if (cursor.Match("<!--"))
            return std::unique_ptr<ANode>(new (arena) AComment());
        return std::unique_ptr<ANode>(new (arena) AUnknown());
    }
    return std::unique_ptr<ANode>(new (arena) AElement());
}

}  // namespace

std::unique_ptr<ANode> Implementation::ParseNextNode(AParseCursor& cursor)
{
    std::unique_ptr<ANode> node = RecognizeNode(cursor);
    node->Parse(cursor);
    return node;
}

void ANodeContainer::ParseChildren(AParseCursor& cursor, bool insideElement)
{
    const APosition afterStartTag = cursor.Position();
    for (;;) {
        const char next = cursor.Peek(0);
        if (next == 0) {
            if (insideElement)
                AParseCursor::Fail(Implementation::kErrorUnexpectedEnd, afterStartTag);
            return;
        }
        if (insideElement && next == '<' && cursor.Peek(1) == '/')
            return;
        Append(RecognizeNode(cursor))->Parse(cursor);
    }
}

void ADocument::Parse(AParseCursor& cursor)
{
    ParseChildren(cursor, false);
}

void AElement::Parse(AParseCursor& cursor)
{
    Implementation::AElementDepthGuard depth(cursor, cursor.Position());
    cursor.Skip(1);  // "<"
    cursor.ReadName(m_name);
    if (m_name.empty())
        cursor.Fail(Implementation::kErrorMissingName);
    ParseAttributes(cursor, *this);
    cursor.SkipSpace();
    if (cursor.Peek(0) == '/' && cursor.Peek(1) == '>') {
        cursor.Skip(2);
        return;
    }
    if (cursor.Peek(0) != '>')
        cursor.Fail(Implementation::kErrorUnexpectedByte);
    cursor.Skip(1);

    ParseChildren(cursor, true);

    cursor.Skip(2);  // "</"
    const APosition closingName = cursor.Position();
    if (!cursor.SkipNameHere(m_name))
        AParseCursor::Fail(Implementation::kErrorWrongClosingName, closingName);
    cursor.SkipSpace();
    if (cursor.Peek(0) != '>')
        cursor.Fail(Implementation::kErrorUnclosedEndTag);
    cursor.Skip(1);
}

void AText::Parse(AParseCursor& cursor)
{
    if (cursor.Match("<![CDATA[")) {
        const APosition start = cursor.Position();
        cursor.Skip(9);
        m_cdata = true;
        ReadUntil(cursor, kCDataStops, "]]>", start, m_text);
        return;
    }
    ReadDecoded(cursor, kTextStops, m_text);
}

void AComment::Parse(AParseCursor& cursor)
{
    const APosition start = cursor.Position();
    cursor.Skip(4);  // "<!--"
    ReadUntil(cursor, kCommentStops, "-->", start, m_body);
}

void AUnknown::Parse(AParseCursor& cursor)
{
    // Nested pairs, such as the internal subset of a document type declaration, are
    // passed over whole by counting "<" against ">".
    const APosition start = cursor.Position();
    std::size_t depth = 0;
    for (;;) {
        cursor.TakeRun(kUnknownStops, &m_text);
        const char next = cursor.Peek(0);
        if (next == 0)
            AParseCursor::Fail(Implementation::kErrorUnexpectedEnd, start);
        m_text += next;
        cursor.Skip(1);
        if (next == '<')
            ++depth;
        else if (--depth == 0)
            return;
    }
}

void ADeclaration::Parse(AParseCursor& cursor)
{
    const APosition start = cursor.Position();
    cursor.Skip(2);  // "<?"
    cursor.ReadName(m_target);
    if (m_target.empty())
        cursor.Fail(Implementation::kErrorMissingName);
    ParseAttributes(cursor, *this);
    cursor.SkipSpace();
    if (cursor.Match("?>")) {
        cursor.Skip(2);
        return;
    }
    // Anything else ends the read here instead of searching on for "?>".
    if (cursor.AtEnd())
        AParseCursor::Fail(Implementation::kErrorUnexpectedEnd, start);
    cursor.Fail(Implementation::kErrorUnexpectedByte);
}

AParseResult ParseDocument(ADocument& document, Streams::IStream* stream, AUserProgressNotifier* notifier,
                           std::uint64_t totalSize)
{
    document.Clear();
    AParseCursor cursor(stream, notifier, totalSize);
    AParseResult result;
    try {
        document.Parse(cursor);
    } catch (const Implementation::AParseException& error) {
        result.code = error.Code();
        result.line = error.Line();
        result.column = error.Column();
    }
    result.streamError = cursor.StreamError();
    if (!result.Ok())
        document.Clear();
    return result;
}

AParseResult ParseDocument(ADocument& document, std::string_view text)
{
    auto stream = Streams::AMemoryStream::Create(text);
    return ParseDocument(document, stream.get());
}

}  // namespace UtilityClasses::XML
