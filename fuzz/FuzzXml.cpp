// The XML library: any bytes give a tree or an error with its place, and a tree that was
// read writes out as text that reads again.
#include "FuzzSupport.h"

#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"
#include "exchange/xml/xmlWriter.h"

using namespace UtilityClasses::XML;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ADocument document;
    const AParseResult result = ParseDocument(document, Fuzz::Text(data, size));
    if (!result.Ok()) {
        if (document.HasChildren() || result.line < 1 || result.column < 1)
            Fuzz::Broken("a failed parse left a tree or no place");
        return 0;
    }
    ADocument again;
    if (!ParseDocument(again, ToText(document)).Ok())
        Fuzz::Broken("a document read does not read again once written");
    return 0;
}
