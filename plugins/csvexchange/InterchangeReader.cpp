#include "InterchangeReader.h"

#include "PluginText.h"

#include <cstdint>

namespace CsvExchange {

const AXmlElement* AXmlElement::Child(std::string_view childName) const
{
    for (const AXmlElement& child : children)
        if (child.name == childName)
            return &child;
    return nullptr;
}

std::string AXmlElement::ChildText(std::string_view childName) const
{
    const AXmlElement* child = Child(childName);
    return child ? child->text : std::string();
}

namespace {

class AParser {
public:
    AParser(std::string_view text, AXmlHandler& handler) : text_(text), handler_(handler) {}

    bool Document()
    {
        if (!SkipMisc() || !At("<"))
            return false;
        if (!Element(1))
            return false;
        return SkipMisc() && pos_ == text_.size();
    }

private:
    bool At(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    void SkipSpace()
    {
        while (!AtEnd() && IsSpace(text_[pos_]))
            ++pos_;
    }
    bool SkipPast(std::string_view end)
    {
        const std::size_t found = text_.find(end, pos_);
        if (found == std::string_view::npos)
            return false;
        pos_ = found + end.size();
        return true;
    }
    // Declarations, comments and document types around the root element.
    bool SkipMisc()
    {
        for (;;) {
            SkipSpace();
            if (At("<?")) {
                if (!SkipPast("?>"))
                    return false;
            } else if (At("<!--")) {
                if (!SkipPast("-->"))
                    return false;
            } else if (At("<!")) {
                if (!SkipPast(">"))
                    return false;
            } else {
                return true;
            }
        }
    }
    std::string_view Name()
    {
        const std::size_t start = pos_;
        while (!AtEnd() && !IsSpace(text_[pos_]) && text_[pos_] != '/' && text_[pos_] != '>' && text_[pos_] != '=')
            ++pos_;
        return text_.substr(start, pos_ - start);
    }
    bool Decode(std::string_view raw, std::string& out)
    {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const std::size_t end = raw.find(';', i);
            if (end == std::string_view::npos)
                return false;
            const std::string_view entity = raw.substr(i + 1, end - i - 1);
            if (entity == "lt") out += '<';
            else if (entity == "gt") out += '>';
            else if (entity == "amp") out += '&';
            else if (entity == "apos") out += '\'';
            else if (entity == "quot") out += '"';
            else if (!CharacterReference(entity, out)) return false;
            i = end;
        }
        return true;
    }
    static bool CharacterReference(std::string_view entity, std::string& out)
    {
        if (entity.size() < 2 || entity[0] != '#')
            return false;
        const bool hex = entity[1] == 'x';
        std::string_view digits = entity.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8)
            return false;
        std::uint32_t code = 0;
        for (char c : digits) {
            int value;
            if (c >= '0' && c <= '9') value = c - '0';
            else if (hex && c >= 'a' && c <= 'f') value = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') value = c - 'A' + 10;
            else return false;
            code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
        }
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        AppendUtf8(out, code);
        return true;
    }
    bool Attributes(std::vector<std::pair<std::string, std::string>>& attributes, bool& empty)
    {
        for (;;) {
            SkipSpace();
            if (At("/>")) {
                pos_ += 2;
                empty = true;
                return true;
            }
            if (At(">")) {
                ++pos_;
                empty = false;
                return true;
            }
            const std::string_view name = Name();
            SkipSpace();
            if (name.empty() || !At("="))
                return false;
            ++pos_;
            SkipSpace();
            if (AtEnd() || (text_[pos_] != '\'' && text_[pos_] != '"'))
                return false;
            const char quote = text_[pos_++];
            const std::size_t end = text_.find(quote, pos_);
            if (end == std::string_view::npos)
                return false;
            std::string value;
            if (!Decode(text_.substr(pos_, end - pos_), value))
                return false;
            attributes.emplace_back(std::string(name), std::move(value));
            pos_ = end + 1;
        }
    }
    bool Element(int depth)
    {
        if (depth > kMaxXmlDepth)
            return false;
        ++pos_;  // "<"
        const std::string_view name = Name();
        if (name.empty())
            return false;
        bool empty = false;
        std::vector<std::pair<std::string, std::string>> attributes;
        if (!Attributes(attributes, empty))
            return false;
        handler_.Open(name, std::move(attributes));
        if (empty) {
            handler_.Close();
            return true;
        }
        std::string text;
        for (;;) {
            if (AtEnd())
                return false;
            if (At("</")) {
                pos_ += 2;
                if (Name() != name)
                    return false;
                SkipSpace();
                if (!At(">"))
                    return false;
                ++pos_;
                handler_.Close();
                return true;
            }
            if (At("<!--")) {
                if (!SkipPast("-->"))
                    return false;
            } else if (At("<![CDATA[")) {
                pos_ += 9;
                const std::size_t end = text_.find("]]>", pos_);
                if (end == std::string_view::npos)
                    return false;
                handler_.Text(text_.substr(pos_, end - pos_));
                pos_ = end + 3;
            } else if (At("<?")) {
                if (!SkipPast("?>"))
                    return false;
            } else if (At("<")) {
                if (!Element(depth + 1))
                    return false;
            } else {
                const std::size_t end = text_.find('<', pos_);
                const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
                text.clear();
                if (!Decode(text_.substr(pos_, stop - pos_), text))
                    return false;
                handler_.Text(text);
                pos_ = stop;
            }
        }
    }

    std::string_view text_;
    AXmlHandler& handler_;
    std::size_t pos_ = 0;
};

}  // namespace

bool ParseXml(std::string_view text, AXmlHandler& handler)
{
    return AParser(text, handler).Document();
}

namespace Implementation {

void ARecordCollector::Open(std::string_view name, std::vector<std::pair<std::string, std::string>>&& attributes)
{
    ++depth_;
    if (!open_.empty() || (inSection_ && depth_ == 3 && name == record_)) {
        open_.emplace_back();
        open_.back().name = name;
        open_.back().attributes = std::move(attributes);
    } else if (depth_ == 2 && name == section_) {
        inSection_ = true;
    }
}

void ARecordCollector::Text(std::string_view text)
{
    if (!open_.empty())
        open_.back().text.append(text);
}

void ARecordCollector::Close()
{
    --depth_;
    if (open_.empty()) {
        if (depth_ == 1)
            inSection_ = false;
        return;
    }
    AXmlElement done = std::move(open_.back());
    open_.pop_back();
    if (open_.empty())
        callback_(context_, done);
    else
        open_.back().children.push_back(std::move(done));
}

}  // namespace Implementation

}  // namespace CsvExchange
