#include "exchange/import/ImportMessages.h"

#include "exchange/xml/xmlBuild.h"
#include "exchange/xml/xmlNodes.h"


namespace ExportImport {

namespace XML = UtilityClasses::XML;

void AImportMessages::Add(bool warning, std::u16string text)
{
    messages_.push_back({warning, std::move(text)});
    ++(warning ? warnings_ : errors_);
}

void AImportMessages::KeepFirst(std::size_t count)
{
    for (; messages_.size() > count; messages_.pop_back())
        --(messages_.back().warning ? warnings_ : errors_);
}

std::u16string ReferencesOf(const XML::ANode* node)
{
    std::vector<const std::string*> references;  // innermost first
    for (; node; node = node->Parent())
        if (const XML::AElement* element = node->ToElement())
            if (const std::string* ref = element->FindAttribute("ref"))
                references.push_back(ref);
    std::u16string joined;
    for (auto it = references.rbegin(); it != references.rend(); ++it) {
        if (!joined.empty())
            joined += u", ";
        joined += XML::Utf8ToUtf16(**it);
    }
    return joined;
}

std::u16string LocatedText(const UtilityClasses::Strings::AStrings& strings, std::u16string text,
                           const XML::ANode* node, bool warning)
{
    const std::u16string references = ReferencesOf(node);
    if (references.empty())
        return text;
    if (warning)
        text += u' ';
    text += strings.Text(ImportText::kSeeLocation);
    text += references;
    return text;
}

}  // namespace ExportImport
