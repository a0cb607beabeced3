#include "win32api/LayoutParser.h"

#include "core/Assert.h"

#include <algorithm>
#include <string>

namespace Win32API::VelvixForms {

namespace {

constexpr char kTextQuote = '\x07';
constexpr std::size_t kMaxControlFlags = 15;
// Bounds that keep the measuring arithmetic (value × font height, sums of rows) far from
// overflow; no dialog comes near them.
constexpr int kMaxLength = 100000;
constexpr int kMaxColumns = 1000;
constexpr int kMaxDepth = 200;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsControlType(char c)
{
    return std::string_view("bseDTRrtSpghcw").find(c) != std::string_view::npos;
}

// The letters a control of the type may carry besides b, d, g, t and h. Controls whose flags
// are their own business (reports, charts, pickers...) take any letter.
bool IsKnownFlag(char type, char flag)
{
    if (std::string_view("bdgth").find(flag) != std::string_view::npos)
        return true;
    switch (type) {
    case 'b': return std::string_view("CRDPwilr").find(flag) != std::string_view::npos;
    case 's': return std::string_view("rmi").find(flag) != std::string_view::npos;
    case 'e': return std::string_view("=*.IX\x95").find(flag) != std::string_view::npos;
    default: return (flag >= 'a' && flag <= 'z') || (flag >= 'A' && flag <= 'Z');
    }
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool ParseElements(AElementList& out, bool sequence)
    {
        do {
            auto element = ParseElement(nullptr, 0);
            if (!element)
                return false;
            out.push_back(std::move(element));
        } while (sequence && pos_ < text_.size() && text_[pos_] == '{');
        return pos_ == text_.size() || Fail();
    }

    std::size_t ErrorOffset() const { return errorOffset_; }

private:
    bool Fail()
    {
        errorOffset_ = std::min(pos_, text_.size());
        return false;
    }
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    // Moves on even past the end, so that a caller can always step back one character.
    char Next()
    {
        char c = Peek();
        ++pos_;
        return c;
    }

    bool ReadUnsigned(int limit, int& value)
    {
        if (!IsDigit(Peek()))
            return Fail();
        long long v = 0;
        while (IsDigit(Peek())) {
            v = v * 10 + (Peek() - '0');
            if (v > limit)
                return Fail();  // at the digit that makes it too large
            ++pos_;
        }
        value = static_cast<int>(v);
        return true;
    }

    bool ReadSigned16(std::int16_t& value)
    {
        bool negative = Peek() == '-';
        if (negative)
            ++pos_;
        int magnitude = 0;
        if (!ReadUnsigned(negative ? 32768 : 32767, magnitude))
            return false;
        value = static_cast<std::int16_t>(negative ? -magnitude : magnitude);
        return true;
    }

    bool ReadLength(ALength& length)
    {
        if (Peek() == 'e') {
            ++pos_;
            length = {0, ALength::Unit::Expand};
            return true;
        }
        int value = 0;
        if (!ReadUnsigned(kMaxLength, value))
            return false;
        ALength::Unit unit = ALength::Unit::Units;
        if (Peek() == 'd')
            ++pos_;
        else if (Peek() == 'p') {
            ++pos_;
            unit = ALength::Unit::Pixels;
        }
        length = {value, unit};
        return true;
    }

    bool ReadQuotedText(std::optional<std::string>& text)
    {
        std::size_t end = text_.find(kTextQuote, pos_ + 1);
        if (end == std::string_view::npos)
            return Fail();
        text = std::string(text_.substr(pos_ + 1, end - pos_ - 1));
        pos_ = end + 1;
        return true;
    }

    bool ReadAlignment(std::string_view allowed, char& alignment)
    {
        char c = Peek();
        if (c == '\0' || allowed.find(c) == std::string_view::npos)
            return Fail();
        alignment = Next();
        return true;
    }

    bool ReadBorder(ALayoutElement& e)
    {
        ++pos_;  // "("
        e.borderStyle = 'e';
        if (Peek() != ':') {
            char style = Next();
            if (std::string_view("beRrSs").find(style) == std::string_view::npos || style == '\0') {
                --pos_;
                return Fail();
            }
            e.borderStyle = style;
        }
        if (Next() != ':') {
            --pos_;
            return Fail();
        }
        for (;;) {
            switch (Next()) {
            case 'l': e.borderEdges |= kEdgeLeft; break;
            case 't': e.borderEdges |= kEdgeTop; break;
            case 'r': e.borderEdges |= kEdgeRight; break;
            case 'b': e.borderEdges |= kEdgeBottom; break;
            case 'f': e.borderEdges |= kEdgeAll; break;
            case ')': return true;
            default: --pos_; return Fail();
            }
        }
    }

    bool ReadType(ALayoutElement& e)
    {
        e.type = Next();
        switch (e.type) {
        case 'b':
        case 'S': return true;
        case 't': return ReadUnsigned(kMaxColumns, e.columns) && (e.columns > 0 || Fail());
        case 's':
            e.splitterAxis = Next();
            if (e.splitterAxis != 'x' && e.splitterAxis != 'y') {
                --pos_;
                return Fail();
            }
            e.columns = e.splitterAxis == 'x' ? 3 : 1;
            return true;
        default: --pos_; return Fail();
        }
    }

    bool ReadAttributes(ALayoutElement& e)
    {
        for (;;) {
            char c = Peek();
            if (c == '[' || c == '{' || c == '}')
                return true;
            ++pos_;
            bool ok = true;
            switch (c) {
            case 'W': ok = ReadLength(e.width); e.widthStretch |= e.width.IsExpand(); break;
            case 'w': ok = ReadLength(e.width); e.widthStretch = true; break;
            case 'H': ok = ReadLength(e.height); e.heightStretch |= e.height.IsExpand(); break;
            case 'h': ok = ReadLength(e.height); e.heightStretch = true; break;
            case 'l': ok = ReadLength(e.marginLeft); break;
            case 'r': ok = ReadLength(e.marginRight); break;
            case 't': ok = ReadLength(e.marginTop); break;
            case 'b': ok = ReadLength(e.marginBottom); break;
            case 'm':
                ok = ReadLength(e.marginLeft);
                e.marginRight = e.marginTop = e.marginBottom = e.marginLeft;
                break;
            case 'B': ok = e.IsSplitter() ? ReadLength(e.bar) : (--pos_, Fail()); break;
            case 'x': ok = ReadAlignment("lcre", e.alignX); break;
            case 'y': ok = ReadAlignment("tcbe", e.alignY); break;
            case '#': ok = ReadSigned16(e.id); break;
            case kTextQuote: --pos_; ok = ReadQuotedText(e.inlineCaption); break;
            case '(': --pos_; ok = ReadBorder(e); break;
            case '*': {
                int order = 0;
                ok = ReadUnsigned(0xFFFF, order);
                e.tabOrder = static_cast<std::uint16_t>(order);
                break;
            }
            case '~': e.visible = false; break;
            default: --pos_; return Fail();
            }
            if (!ok)
                return false;
        }
    }

    bool ReadControl(ALayoutElement& e)
    {
        ++pos_;  // "["
        AControlSpec control;
        control.type = Next();
        if (!IsControlType(control.type)) {
            --pos_;
            return Fail();
        }
        for (;;) {
            char c = Peek();
            if (c == ']') {
                ++pos_;
                break;
            }
            if (c == '#') {
                ++pos_;
                if (!ReadSigned16(control.id))
                    return false;
            } else if (c == kTextQuote) {
                if (!ReadQuotedText(control.inlineText))
                    return false;
            } else if (c != '\0' && IsKnownFlag(control.type, c) && control.flags.size() < kMaxControlFlags) {
                control.flags += Next();
            } else {
                return Fail();
            }
        }
        e.control = std::move(control);
        return true;
    }

    // A splitter's bar: a box stretching both ways, as thick as the splitter says.
    static std::unique_ptr<ALayoutElement> MakeSplitterBar(const ALayoutElement& splitter)
    {
        auto bar = std::make_unique<ALayoutElement>();
        bar->isSplitterBar = true;
        bar->widthStretch = bar->heightStretch = true;
        (splitter.splitterAxis == 'x' ? bar->width : bar->height) = splitter.bar;
        return bar;
    }

    bool ReadContent(ALayoutElement& e, int depth)
    {
        for (;;) {
            switch (Peek()) {
            case '}':
                ++pos_;
                // A splitter has exactly its two panes around the bar.
                return !e.IsSplitter() || e.children.size() == 3 || (--pos_, Fail());
            case '[': {
                bool controlAllowed = !e.control && e.children.empty() && !e.IsSplitter();
                if (!controlAllowed || !ReadControl(e))
                    return controlAllowed ? false : Fail();
                break;
            }
            case '{': {
                bool childAllowed = e.type == 'b' ? e.children.empty() && !e.control
                                  : e.IsSplitter() ? e.children.size() < 3
                                  : e.type == 'S' || !e.control;
                if (!childAllowed)
                    return Fail();
                auto child = ParseElement(&e, depth + 1);
                if (!child)
                    return false;
                child->isTabPage = e.HasTabControl();
                e.children.push_back(std::move(child));
                if (e.IsSplitter() && e.children.size() == 1) {
                    e.children.push_back(MakeSplitterBar(e));
                    e.children.back()->parent = &e;
                }
                break;
            }
            default: return Fail();
            }
        }
    }

    std::unique_ptr<ALayoutElement> ParseElement(ALayoutElement* parent, int depth)
    {
        if (depth > kMaxDepth || Peek() != '{') {
            Fail();
            return nullptr;
        }
        ++pos_;
        auto e = std::make_unique<ALayoutElement>();
        e->parent = parent;
        if (!ReadType(*e) || !ReadAttributes(*e) || !ReadContent(*e, depth))
            return nullptr;
        return e;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t errorOffset_ = 0;
};

}  // namespace

ALayoutParseResult TryParseLayout(std::string_view text, bool sequence)
{
    ALayoutParseResult result;
    text = text.substr(0, text.find('\0'));  // the string ends with its NUL
    Parser parser(text);
    result.ok = parser.ParseElements(result.elements, sequence);
    if (!result.ok) {
        result.elements.clear();
        result.errorOffset = parser.ErrorOffset();
    }
    return result;
}

std::unique_ptr<ALayoutElement> ParseLayout(std::string_view text, std::source_location where)
{
    ALayoutParseResult result = TryParseLayout(text, false);
    if (!result.ok) {
        Fendral::AssertionFailed(where.file_name(), static_cast<int>(where.line()));
        return nullptr;
    }
    return std::move(result.elements.front());
}

AElementList ParseLayoutSequence(std::string_view text, std::source_location where)
{
    ALayoutParseResult result = TryParseLayout(text, true);
    if (!result.ok)
        Fendral::AssertionFailed(where.file_name(), static_cast<int>(where.line()));
    return std::move(result.elements);
}

}  // namespace Win32API::VelvixForms
