#include "XmlTestSupport.h"

#include <gtest/gtest.h>

using namespace XmlTest;

namespace {

struct AErrorCase {
    std::string_view text;
    int code;
    std::int64_t line;
    std::int64_t column;
};

// One line per fault: the code and the place the reader stood when it saw it.
const AErrorCase kErrorCases[] = {
    {"<a b=c>", 1, 1, 6},                        // unquoted value
    {"<a b=1/>", 1, 1, 6},
    {"<a b>", 1, 1, 5},                          // no "="
    {"<a b='1' c>", 1, 1, 11},
    {"<a\n  b='1' %>", 1, 2, 9},                 // neither "/>" nor ">"
    {"<a b='1'/", 1, 1, 9},
    {"<a b='1'", 1, 1, 9},                       // the end inside a start tag
    {"<?xml version='1.0' ?x>", 1, 1, 21},       // declaration not closed by "?>"
    {"<>", 2, 1, 2},
    {"<a><1/></a>", 2, 1, 5},
    {"</a>", 2, 1, 2},                           // a closing tag with nothing open
    {"<?  ?>", 2, 1, 5},
    {"<", 2, 1, 2},
    {"<a></b>", 3, 1, 6},
    {"<a>\r\n<b></bb></a>", 3, 2, 6},
    {"<a>\r</b>", 3, 1, 3},                      // a lone CR starts no line but resets the column
    {"<a>\xC3\xA9</b>", 3, 1, 8},                // columns count bytes
    {"<a>\t</b>", 3, 1, 7},
    {"<a></ab>", 3, 1, 6},                       // the name must end where the element's does
    {"<ab></a>", 3, 1, 7},
    {"<a></ a>", 3, 1, 6},
    {"<a></a x>", 4, 1, 8},
    {"<a></a", 4, 1, 7},
    {"<a>text", 5, 1, 4},                        // reported just after the start tag
    {"<root attr='1'>some text", 5, 1, 16},
    {"<a>\n  <b>\n", 5, 2, 6},
    {"<a b='xyz", 5, 1, 7},                      // where the value began
    {"<a\nb=\"x&amp;y", 5, 2, 4},
    {"<![CDATA[abc", 5, 1, 1},
    {"<a>\n<![CDATA[abc]]", 5, 2, 1},
    {"<!-- abc", 5, 1, 1},
    {"x\n <!-- -- >", 5, 2, 2},
    {"<!DOCTYPE a [ <!ENTITY b 'c'> ", 5, 1, 1},
    {"<?xml version='1.0'", 5, 1, 1},           // an unclosed declaration ends the read
    {"<?xml", 5, 1, 1},
    {std::string_view("<a>\0</a>", 8), 5, 1, 4},                      // a 0 byte ends the input
};

class ParseErrors : public ::testing::TestWithParam<AErrorCase> {};

}  // namespace

TEST_P(ParseErrors, CodeLineAndColumn)
{
    const AErrorCase& c = GetParam();
    const std::string_view text = c.text;
    ADocument document;
    const AParseResult result = ParseDocument(document, text);
    EXPECT_EQ(result.code, c.code) << text;
    EXPECT_EQ(result.line, c.line) << text;
    EXPECT_EQ(result.column, c.column) << text;
    EXPECT_FALSE(result.Ok());
    EXPECT_FALSE(document.HasChildren()) << "a failed parse leaves no partial tree";
}

INSTANTIATE_TEST_SUITE_P(Xml, ParseErrors, ::testing::ValuesIn(kErrorCases));

TEST(XmlParse, NestingDeeperThanTheLimitIsAnErrorNotAStackOverflow)
{
    const int limit = Implementation::AParseCursor::kMaxDepth;
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a>";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        return text;
    };
    ADocument document;
    EXPECT_TRUE(ParseDocument(document, nested(limit)).Ok());
    EXPECT_EQ(document.ElementCount(), static_cast<std::size_t>(limit));

    const AParseResult tooDeep = ParseDocument(document, nested(limit + 1));
    EXPECT_EQ(tooDeep.code, 5);
    EXPECT_EQ(tooDeep.line, 1);
    EXPECT_EQ(tooDeep.column, 1 + 3 * limit);  // the "<" of the element one level too deep

    std::string unclosed;
    for (int i = 0; i < 200000; ++i)
        unclosed += "<a>";
    const AParseResult huge = ParseDocument(document, unclosed);
    EXPECT_EQ(huge.code, 5);
    EXPECT_EQ(huge.column, 1 + 3 * limit);
}

// Documents that parse, each shown whole as the tree they give.
TEST(XmlParse, DocumentsGiveTheirTrees)
{
    const struct {
        std::string_view text;
        const char* tree;
    } cases[] = {
        {"<a x='1'/><b></b>", "document\n  element a [x=1]\n  element b\n"},
        // Attributes keep their order and a later duplicate wins.
        {"<a z=\"1\" b = '2'\n\tm=\"it's\" b='3'/>", "document\n  element a [z=1] [b=3] [m=it's]\n"},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<!DOCTYPE r [\n  <!ELEMENT r (#PCDATA)>\n  <!ENTITY c \"x\">\n]>\n"
         "<!-- note -- here -->"
         "<r a='1'>x<![CDATA[<&amp;]]]><!----><b/>y<?pi q='2'?></r>\n",
         "document\n"
         "  declaration xml [version=1.0] [encoding=utf-8]\n"
         "  text [\n]\n"
         "  unknown [<!DOCTYPE r [\n  <!ELEMENT r (#PCDATA)>\n  <!ENTITY c \"x\">\n]>]\n"
         "  text [\n]\n"
         "  comment [ note -- here ]\n"
         "  element r [a=1]\n"
         "    text [x]\n"
         "    cdata [<&amp;]]\n"
         "    comment []\n"
         "    element b\n"
         "    text [y]\n"
         "    declaration pi [q=2]\n"
         "  text [\n]\n"},
        {" \r\n\t ", "document\n  text [ \r\n\t ]\n"},
        {"", "document\n"},
        // Names may hold UTF-8, and the space inside tags is skipped.
        {"< \xD1\x81\xD1\x87\xD1\x91\xD1\x82 _n.1-x:y = '1' ></\xD1\x81\xD1\x87\xD1\x91\xD1\x82 >",
         "document\n  element \xD1\x81\xD1\x87\xD1\x91\xD1\x82 [_n.1-x:y=1]\n"},
        // Reading stops at a zero byte outside elements.
        {std::string_view("<a/>\0<b>", 8), "document\n  element a\n"},
    };
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, "<old><b/></old>").Ok());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        // Parsing again replaces the old tree.
        ASSERT_TRUE(ParseDocument(document, c.text).Ok());
        EXPECT_EQ(Dump(document), c.tree);
    }
    EXPECT_EQ(document.ElementCount(), 1u);
}

TEST(XmlParse, EntitiesInTextAndValues)
{
    struct Case { const char* text; const char* decoded; };
    const Case cases[] = {
        {"&lt;&LT;&Gt;&amp;&quot;&apos;", "<<>&\"'"},
        {"&#65;&#x41;&#X41;&#0065;&#65", "AAAAA"},
        {"& b &unknown; &amp &#; &#x; &#xg;", "& b &unknown; &amp &#; &#x; &#xg;"},
        {"&#233;&#x20AC;&#1080;", "\xC3\xA9\xE2\x82\xAC\xD0\xB8"},  // stored as UTF-8, not one byte
        {"&#99999;", "\xF0\x98\x9A\x9F"},                          // five digits at most
        {"&#1234567;", "\xE3\x80\xB9" "67;"},
        {"&#x10FFFF;", "\xE1\x83\xBF" "FF;"},                       // four hexadecimal digits at most
        {"&#0;&#xD800;", "\xEF\xBF\xBD\xEF\xBF\xBD"},              // no NUL, no lone surrogate
        {"a > b", "a > b"},
    };
    for (const Case& c : cases) {
        ADocument document;
        const std::string text = std::string("<e v='") + c.text + "'>" + c.text + "</e>";
        ASSERT_TRUE(ParseDocument(document, text).Ok()) << text;
        const AElement* element = document.RootElement();
        EXPECT_EQ(element->Text(), c.decoded) << c.text;
        const std::string* value = element->FindAttribute("v");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, c.decoded) << c.text;
    }
}

TEST(XmlParse, ManyAttributesStayFastAndDuplicatesStillReplace)
{
    std::string text = "<a";
    for (int i = 0; i < 50000; ++i)
        text += " n" + std::to_string(i) + "='" + std::to_string(i) + "'";
    text += " n7='again'/>";
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, text).Ok());
    const AElement* a = document.RootElement();
    EXPECT_EQ(a->AttributeCount(), 50000u);
    EXPECT_EQ(*a->FindAttribute("n7"), "again");
    EXPECT_EQ(*a->FindAttribute("n49999"), "49999");
    EXPECT_TRUE(a->AttributeAt(7).Name() == "n7");
}

// Runs are scanned a word or sixteen bytes at a time; every offset of a stop byte and of
// a line break must still be found.
TEST(XmlParse, StopsAndLineBreaksAtEveryOffsetOfAScan)
{
    for (std::size_t before = 0; before < 70; ++before) {
        const std::string run(before, 'x');
        ADocument document;
        ASSERT_TRUE(ParseDocument(document, "<a v='" + run + "&amp;" + run + "'>" + run + "&lt;" + run + "</a>").Ok());
        EXPECT_EQ(*document.RootElement()->FindAttribute("v"), run + "&" + run);
        EXPECT_EQ(document.RootElement()->Text(), run + "<" + run);

        for (std::size_t after : {std::size_t{0}, std::size_t{5}, std::size_t{17}}) {
            const std::string text = "<a>" + run + "\r\n" + std::string(after, 'y') + "\n" + run + "</b>";
            const AParseResult result = ParseDocument(document, text);
            EXPECT_EQ(result.code, 3);
            EXPECT_EQ(result.line, 3) << before << " " << after;
            EXPECT_EQ(result.column, static_cast<std::int64_t>(before) + 3) << before << " " << after;
        }
    }
}
