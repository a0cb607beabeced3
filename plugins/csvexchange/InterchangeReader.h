// Just enough XML for the plug-in to read the interchange document the program hands it:
// elements, attributes, text with entities, CDATA; comments, declarations and document
// types are skipped.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CsvExchange {

struct AXmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;  // the element's own text, decoded
    std::vector<AXmlElement> children;

    const AXmlElement* Child(std::string_view childName) const;
    // The text of the first child of that name; empty when there is none.
    std::string ChildText(std::string_view childName) const;
};

// Elements nested deeper than this are refused instead of exhausting the stack.
constexpr int kMaxXmlDepth = 200;

// What the reader reports while it goes through a document.
class AXmlHandler {
public:
    virtual void Open(std::string_view name, std::vector<std::pair<std::string, std::string>>&& attributes) = 0;
    virtual void Text(std::string_view text) = 0;
    virtual void Close() = 0;

protected:
    ~AXmlHandler() = default;
};

// False when the text is not a well-formed document.
bool ParseXml(std::string_view text, AXmlHandler& handler);

// Hands over each `record` element inside a `section` element of the root, built whole
// and one at a time, so that a large document never lives in memory as a tree. False
// when the text is not a well-formed document.
template <class Each>
bool ForEachRecord(std::string_view text, std::string_view section, std::string_view record, Each each);

namespace Implementation {

class ARecordCollector final : public AXmlHandler {
public:
    using ACallback = void (*)(void* context, const AXmlElement& record);
    ARecordCollector(std::string_view section, std::string_view record, ACallback callback, void* context)
        : section_(section), record_(record), callback_(callback), context_(context)
    {
    }
    void Open(std::string_view name, std::vector<std::pair<std::string, std::string>>&& attributes) override;
    void Text(std::string_view text) override;
    void Close() override;

private:
    std::string_view section_, record_;
    ACallback callback_;
    void* context_;
    int depth_ = 0;
    bool inSection_ = false;
    std::vector<AXmlElement> open_;  // the record being built and its open descendants
};

}  // namespace Implementation

template <class Each>
bool ForEachRecord(std::string_view text, std::string_view section, std::string_view record, Each each)
{
    Implementation::ARecordCollector collector(
        section, record, [](void* context, const AXmlElement& element) { (*static_cast<Each*>(context))(element); },
        &each);
    return ParseXml(text, collector);
}

}  // namespace CsvExchange
