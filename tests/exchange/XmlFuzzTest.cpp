// Damaged and hostile input must end in a clean result: a tree or an error code with
// its position, never a crash, a hang or a runaway allocation. Run under the sanitizers.
#include "XmlTestSupport.h"

#include <gtest/gtest.h>


using namespace XmlTest;

namespace {

const std::string kSeed =
    "<?xml version='1.0' encoding='utf-8' standalone='yes'?>\n"
    "<!DOCTYPE fendral [ <!ENTITY a 'b'> <!ELEMENT x (#PCDATA)> ]>\n"
    "<!-- comment with -- dashes -->\n"
    "<fendral version=\"1\" module='{0B0B}'>\n"
    "  <account name='Cash &amp; card' currency=\"RUB\"><![CDATA[<raw> & ]]]]>text &#233; &#x41;&lt;</account>\n"
    "  <tr date='2024-01-31' amount='-10.5000'><category>\xD0\x95\xD0\xB4\xD0\xB0</category><empty/></tr>\n"
    "  <?pi target='x'?>\n"
    "</fendral>\n";

// Checks the outcome is one of the two clean ones.
void ExpectClean(std::string_view text, const AParseResult& result, const ADocument& document)
{
    if (result.Ok()) {
        return;
    }
    EXPECT_GE(result.code, 1) << text;
    EXPECT_LE(result.code, 5) << text;
    EXPECT_GE(result.line, 1) << text;
    EXPECT_GE(result.column, 1) << text;
    EXPECT_FALSE(document.HasChildren());
}

void ParseAndCheck(std::string_view text)
{
    ADocument document;
    const AParseResult result = ParseDocument(document, text);
    ExpectClean(text, result, document);
    if (result.Ok()) {
        // Whatever was read can be written and read again.
        ADocument again;
        EXPECT_TRUE(ParseDocument(again, ToText(document)).Ok()) << text;
    }
}

}  // namespace

TEST(XmlFuzz, TruncatedAtEveryLength)
{
    int failures = 0;
    for (std::size_t length = 0; length <= kSeed.size(); ++length) {
        ADocument document;
        const std::string_view text(kSeed.data(), length);
        const AParseResult result = ParseDocument(document, text);
        ExpectClean(text, result, document);
        failures += !result.Ok();
    }
    // Cutting inside the root element always fails; only cuts in the prolog and after the
    // root can succeed.
    EXPECT_GT(failures, static_cast<int>(kSeed.size()) * 3 / 4);
}

TEST(XmlFuzz, HostileShapesStayBoundedAndFast)
{
    const std::string many(2000000, '<');
    const std::string cases[] = {
        "<!" + many,                                    // one unknown construct, never closed
        "<a>" + std::string(2000000, '&'),              // ampersands without entities
        "<a b='" + std::string(2000000, '&') + "'/>",
        "<" + std::string(2000000, 'n') + "/>",         // a name far longer than the window
        "<![CDATA[" + std::string(2000000, ']'),
        "<!--" + std::string(2000000, '-'),
        "<?" + std::string(100000, 'x') + " " + std::string(100000, 'y'),
    };
    for (const std::string& text : cases) {
        ADocument document;
        const AParseResult result = ParseDocument(document, text);
        ExpectClean(text.substr(0, 20), result, document);
    }
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, "<" + std::string(2000000, 'n') + "/>").Ok());
    EXPECT_EQ(document.RootElement()->Name().size(), 2000000u);
}
