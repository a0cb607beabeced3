#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace XmlTest;

namespace {

// Builds documents like the ones the program meets: a declaration, a document type
// with an internal subset, comments, mixed content, CDATA, every byte that needs
// escaping and non-Latin text.
class ADocumentGenerator {
public:
    explicit ADocumentGenerator(unsigned seed) : m_random(seed) {}

    std::unique_ptr<ADocument> Make()
    {
        auto document = std::make_unique<ADocument>();
        AddXmlDeclaration(*document);
        AddText(*document, "\r\n");
        document->Append(std::make_unique<AUnknown>(
            "<!DOCTYPE fendral [\n  <!ELEMENT fendral ANY>\n  <!ATTLIST account name CDATA #REQUIRED>\n"
            "  <!ENTITY rub \"RUB\">\n]>"));
        AddComment(*document, " exported " + Word());
        AElement* root = AddElement(*document, "fendral");
        SetAttribute(*root, "version", "1");
        Fill(*root, 0);
        AddText(*document, "\n");
        return document;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string Word()
    {
        static const char* const kParts[] = {
            "cash", "Food & drinks", "a<b", "x>y", "it's", "\"quoted\"", "\xD0\xA1\xD1\x87\xD1\x91\xD1\x82",
            "\xE2\x82\xAC 10", "tab\there", "line\r\nbreak", "]]", "--", "&amp;", " ", "\xF0\x9F\x98\x80",
        };
        std::string word;
        for (int i = 0, n = 1 + Pick(3); i < n; ++i)
            word += kParts[Pick(static_cast<int>(std::size(kParts)))];
        return word;
    }

    std::string Name()
    {
        static const char* const kNames[] = {"account", "tr", "x:item", "_n-1.2", "\xD1\x81\xD1\x87\xD1\x91\xD1\x82"};
        return kNames[Pick(static_cast<int>(std::size(kNames)))];
    }

    void Fill(AElement& parent, int depth)
    {
        bool lastWasText = false;
        for (int i = 0, n = depth > 5 ? 0 : 1 + Pick(depth < 2 ? 10 : 5); i < n; ++i) {
            switch (Pick(5)) {
            case 0:
            case 1: {
                AElement* child = AddElement(parent, Name());
                for (int a = 0, count = Pick(4); a < count; ++a)
                    SetAttribute(*child, "a" + std::to_string(a), Word());
                Fill(*child, depth + 1);
                lastWasText = false;
                break;
            }
            case 2:
                // Two plain texts in a row would read back as one.
                if (!lastWasText)
                    AddText(parent, Word());
                lastWasText = true;
                break;
            case 3: {
                std::string cdata = Word();
                for (auto at = cdata.find("]]>"); at != std::string::npos; at = cdata.find("]]>"))
                    cdata.erase(at, 3);
                AddText(parent, cdata + "<&>", true);
                lastWasText = false;
                break;
            }
            default:
                AddComment(parent, " " + Name() + " ");
                lastWasText = false;
                break;
            }
        }
    }

    std::mt19937 m_random;
};

}  // namespace

TEST(XmlRoundTrip, GeneratedDocumentsSurviveWriteParseWrite)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        ADocumentGenerator generator(seed);
        const std::unique_ptr<ADocument> built = generator.Make();
        const std::string first = ToText(*built);

        ADocument parsed;
        auto stream = AChunkedStream::Create(first, 1 + seed * 37);
        const AParseResult result = ParseDocument(parsed, stream.get());
        ASSERT_TRUE(result.Ok()) << "seed " << seed << ": error " << result.code << " at " << result.line << ":"
                                 << result.column << "\n" << first;
        EXPECT_EQ(Dump(parsed), Dump(*built)) << "seed " << seed;
        EXPECT_EQ(parsed.ElementCount(), built->ElementCount());

        auto out = Streams::AMemoryStream::Create();
        ASSERT_EQ(WriteDocument(parsed, out.get()), Result::kOk);
        EXPECT_EQ(out->Bytes(), first) << "seed " << seed;
    }
}

TEST(XmlRoundTrip, HandWrittenDocumentKeepsEverythingTheReaderKeeps)
{
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE fendral [\n"
        "  <!ELEMENT fendral (currencies, accounts)>\n"
        "  <!ENTITY % common SYSTEM \"common.ent\">\n"
        "]>\n"
        "<!-- Exported by hand -->\n"
        "<fendral version=\"1\" export-date=\"2024-03-01T10:20:30:000\">\n"
        "  <currencies><currency code=\"RUB\" name=\"Рубль\" precision=\"2\"/></currencies>\n"
        "  <accounts>\n"
        "    <account name=\"Cash &amp; card\">Opening note: 5 &lt; 7 &#8212; ok<![CDATA[ raw <tag> & stuff ]]>end</account>\n"
        "  </accounts>\n"
        "</fendral>\n";
    ADocument first;
    ASSERT_TRUE(ParseDocument(first, text).Ok());
    const std::string written = ToText(first);
    EXPECT_NE(written.find("<account name='Cash &amp; card'>Opening note: 5 &lt; 7 \xE2\x80\x94 ok"
                           "<![CDATA[ raw <tag> & stuff ]]>end</account>"),
              std::string::npos)
        << written;
    ADocument second;
    ASSERT_TRUE(ParseDocument(second, written).Ok());
    EXPECT_EQ(Dump(second), Dump(first));
    EXPECT_EQ(ToText(second), written);
}
