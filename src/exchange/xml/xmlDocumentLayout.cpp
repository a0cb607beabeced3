#include "exchange/xml/xmlDocumentLayout.h"

#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

#include <cstring>

namespace UtilityClasses::XML {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
// As deep as the parser lets elements nest.
constexpr int kMaxDepth = 1000;

// The parser's notion of names and space, so that the scan and the parser agree on
// where a node begins and ends.
bool IsNameStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}
bool IsNameByte(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-'; }
bool IsSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }

class AScanner {
public:
    explicit AScanner(std::string_view text) : text_(text) {}

    std::size_t SkipSpace(std::size_t at) const
    {
        while (at < text_.size() && IsSpace(text_[at]))
            ++at;
        return at;
    }
    bool At(std::size_t at, std::string_view what) const
    {
        return at <= text_.size() && text_.substr(at).starts_with(what);
    }

    // A name at `at` (no space skipped); empty when none starts there.
    std::string_view NameAt(std::size_t at) const
    {
        std::size_t end = at;
        if (end < text_.size() && IsNameStart(static_cast<unsigned char>(text_[end])))
            while (end < text_.size() && IsNameByte(static_cast<unsigned char>(text_[end])))
                ++end;
        return text_.substr(std::min(at, text_.size()), end - std::min(at, text_.size()));
    }

    // Attributes from `at`: name, "=", a quoted value. The position after the last one.
    std::size_t SkipAttributes(std::size_t at) const
    {
        for (;;) {
            const std::size_t nameAt = SkipSpace(at);
            const std::string_view name = NameAt(nameAt);
            if (name.empty())
                return nameAt;
            std::size_t p = SkipSpace(nameAt + name.size());
            if (p >= text_.size() || text_[p] != '=')
                return kNone;
            p = SkipSpace(p + 1);
            if (p >= text_.size() || (text_[p] != '\'' && text_[p] != '"'))
                return kNone;
            const std::size_t close = text_.find(text_[p], p + 1);
            if (close == kNone)
                return kNone;
            at = close + 1;
        }
    }

    struct ATag {
        std::string_view name;
        std::size_t end = 0;  // after ">" or "/>"
        bool empty = false;
    };
    // At "<" of a start tag.
    std::optional<ATag> StartTag(std::size_t at) const
    {
        const std::size_t nameAt = SkipSpace(at + 1);
        ATag tag;
        tag.name = NameAt(nameAt);
        if (tag.name.empty())
            return std::nullopt;
        const std::size_t p = SkipAttributes(nameAt + tag.name.size());
        if (p == kNone)
            return std::nullopt;
        const std::size_t close = SkipSpace(p);
        if (At(close, "/>")) {
            tag.empty = true;
            tag.end = close + 2;
        } else if (At(close, ">")) {
            tag.end = close + 1;
        } else {
            return std::nullopt;
        }
        return tag;
    }

    // At "</": the end tag of `name`; the position after it.
    std::size_t EndTag(std::size_t at, std::string_view name) const
    {
        if (NameAt(at + 2) != name)
            return kNone;
        const std::size_t close = SkipSpace(at + 2 + name.size());
        return At(close, ">") ? close + 1 : kNone;
    }

    // At "<" of anything but an element: comment, CDATA, declaration, other "<!"
    // construct. The position after it, or kNone when it is none of them or never ends.
    std::size_t SkipOther(std::size_t at) const
    {
        if (At(at, "<!--"))
            return After(text_.find("-->", at + 4), 3);
        if (At(at, "<![CDATA["))
            return After(text_.find("]]>", at + 9), 3);
        if (At(at, "<?")) {
            const std::size_t nameAt = SkipSpace(at + 2);
            const std::string_view target = NameAt(nameAt);
            const std::size_t p = target.empty() ? kNone : SkipAttributes(nameAt + target.size());
            const std::size_t close = p == kNone ? kNone : SkipSpace(p);
            return close != kNone && At(close, "?>") ? close + 2 : kNone;
        }
        if (At(at, "<!")) {
            // Nested pairs are passed over whole by counting "<" against ">".
            std::size_t depth = 0;
            for (std::size_t p = at; p < text_.size(); ++p)
                if (text_[p] == '<')
                    ++depth;
                else if (text_[p] == '>' && --depth == 0)
                    return p + 1;
        }
        return kNone;
    }

    // After the start tag of an element at nesting `depth` (1 for the root): the position
    // after its end tag.
    std::size_t ElementEnd(std::size_t at, int depth) const
    {
        int open = 1;
        for (;;) {
            at = text_.find('<', at);
            if (at == kNone)
                return kNone;
            if (At(at, "</")) {
                at = text_.find('>', at);
                if (at == kNone)
                    return kNone;
                ++at;
                if (--open == 0)
                    return at;
            } else if (At(at, "<!") || At(at, "<?")) {
                at = SkipOther(at);
                if (at == kNone)
                    return kNone;
            } else {
                const auto tag = StartTag(at);
                if (!tag || depth + open > kMaxDepth)
                    return kNone;
                open += tag->empty ? 0 : 1;
                at = tag->end;
            }
        }
    }

private:
    static std::size_t After(std::size_t found, std::size_t length) { return found == kNone ? kNone : found + length; }

    std::string_view text_;
};

class ALayoutScan {
public:
    ALayoutScan(std::string_view text, std::string_view root, std::span<const ASectionNames> names,
                std::size_t itemsPerRun, const std::function<void(std::size_t)>& runFound)
        : text_(text), scanner_(text), root_(root), names_(names), itemsPerRun_(itemsPerRun == 0 ? 1 : itemsPerRun),
          runFound_(runFound)
    {
        layout_.runs.resize(names.size());
        layout_.itemCounts.resize(names.size());
    }

    std::optional<ADocumentLayout> Scan()
    {
        // The parser takes a NUL byte for the end of the input.
        if (std::memchr(text_.data(), 0, text_.size()) != nullptr)
            return std::nullopt;
        std::size_t at = 0;
        for (;;) {
            at = text_.find('<', at);
            if (at == kNone)
                break;
            if (scanner_.At(at, "<!") || scanner_.At(at, "<?")) {
                at = scanner_.SkipOther(at);
            } else if (scanner_.At(at, "</")) {
                return std::nullopt;  // an end tag without its element
            } else {
                const auto tag = scanner_.StartTag(at);
                if (!tag)
                    return std::nullopt;
                if (tag->name == root_ && !layout_.rootStartTag) {
                    layout_.others.push_back({0, at});
                    layout_.rootStartTag = ATextRange{at, tag->end};
                    at = tag->empty ? tag->end : Root(tag->end);
                    othersFrom_ = at;
                } else {
                    at = tag->empty ? tag->end : scanner_.ElementEnd(tag->end, 1);
                }
            }
            if (at == kNone)
                return std::nullopt;
        }
        layout_.others.push_back({layout_.rootStartTag ? othersFrom_ : 0, text_.size()});
        return std::move(layout_);
    }

private:
    // The content of the element `name` from `at`: child(tag, start) is called for each
    // child element and answers where the walk goes on. The position after the end tag;
    // `contentEnd` is where that tag begins.
    template <class Child>
    std::size_t Content(std::size_t at, std::string_view name, std::size_t& contentEnd, Child child)
    {
        for (;;) {
            at = text_.find('<', at);
            if (at == kNone)
                return kNone;
            if (scanner_.At(at, "</")) {
                contentEnd = at;
                return scanner_.EndTag(at, name);
            }
            if (scanner_.At(at, "<!") || scanner_.At(at, "<?")) {
                at = scanner_.SkipOther(at);
            } else {
                const auto tag = scanner_.StartTag(at);
                at = tag ? child(*tag, at) : kNone;
            }
            if (at == kNone)
                return kNone;
        }
    }

    // The root's content: sections and the rest. The position after its end tag.
    std::size_t Root(std::size_t at)
    {
        othersFrom_ = at;
        std::size_t contentEnd = 0;
        const std::size_t end = Content(at, root_, contentEnd, [&](const AScanner::ATag& tag, std::size_t start) {
            const std::size_t kind = KindOf(tag.name);
            if (kind == names_.size())
                return tag.empty ? tag.end : scanner_.ElementEnd(tag.end, 2);
            layout_.others.push_back({othersFrom_, start});
            layout_.sections.push_back({kind, {start, tag.end}});
            othersFrom_ = tag.empty ? tag.end : Section(tag.end, kind);
            return othersFrom_;
        });
        if (end != kNone)
            layout_.others.push_back({othersFrom_, contentEnd});
        return end;
    }

    // A section's content, cut into runs after every itemsPerRun-th item.
    std::size_t Section(std::size_t at, std::size_t kind)
    {
        const std::size_t section = layout_.sections.size() - 1;
        ADocumentLayout::ARun run{section, {at, at}, 0};
        std::size_t contentEnd = 0;
        const std::size_t end =
            Content(at, names_[kind].section, contentEnd, [&](const AScanner::ATag& tag, std::size_t) {
                const std::size_t after = tag.empty ? tag.end : scanner_.ElementEnd(tag.end, 3);
                if (after != kNone && tag.name == names_[kind].item) {
                    ++layout_.itemCounts[kind];
                    if (++run.items == itemsPerRun_) {
                        run.text.end = after;
                        layout_.runs[kind].push_back(run);
                        run = {section, {after, after}, 0};
                        if (runFound_)
                            runFound_(after);
                    }
                }
                return after;
            });
        run.text.end = contentEnd;
        if (end != kNone && run.text.end > run.text.begin)
            layout_.runs[kind].push_back(run);
        return end;
    }

    std::size_t KindOf(std::string_view name) const
    {
        for (std::size_t kind = 0; kind < names_.size(); ++kind)
            if (names_[kind].section == name)
                return kind;
        return names_.size();
    }

    std::string_view text_;
    AScanner scanner_;
    std::string_view root_;
    std::span<const ASectionNames> names_;
    std::size_t itemsPerRun_;
    const std::function<void(std::size_t)>& runFound_;
    ADocumentLayout layout_;
    std::size_t othersFrom_ = 0;
};

}  // namespace

std::optional<ADocumentLayout> ScanDocumentLayout(std::string_view text, std::string_view root,
                                                  std::span<const ASectionNames> names, std::size_t itemsPerRun,
                                                  const std::function<void(std::size_t)>& runFound)
{
    return ALayoutScan(text, root, names, itemsPerRun, runFound).Scan();
}

std::unique_ptr<ANode> StartTagElement(std::string_view tag)
{
    std::string alone(tag);
    if (!alone.ends_with("/>"))
        alone.insert(alone.size() - 1, "/");
    ADocument document;
    if (!ParseDocument(document, alone).Ok())
        return nullptr;
    AElement* element = document.FirstElement();
    return element ? document.Remove(element) : nullptr;
}

}  // namespace UtilityClasses::XML
