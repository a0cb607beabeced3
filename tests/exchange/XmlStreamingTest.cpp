#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace XmlTest;

namespace {

// Long names, values and texts cross the 4096-byte blocks and the 3072-byte window.
std::string SampleDocument()
{
    std::string text = "<?xml version='1.0' encoding='utf-8' standalone='yes'?>\r\n"
                       "<!DOCTYPE fendral [ <!ENTITY a 'b'> <!ELEMENT x ANY> ]>\n<fendral>\n";
    for (int i = 0; i < 300; ++i) {
        text += "  <item n='" + std::to_string(i) + "' v=\"&lt;&#233;&amp;&#x41;\">";
        text += "t&gt;" + std::string(static_cast<std::size_t>(i % 37), 'x') + "&apos;";
        if (i % 50 == 0)
            text += "<" + std::string(5000, 'L') + " a='" + std::string(4500, 'v') + "'/>";
        if (i % 7 == 0)
            text += "<![CDATA[" + std::string(static_cast<std::size_t>(i * 13), ']') + "&]]>";
        if (i % 11 == 0)
            text += "<!--" + std::string(static_cast<std::size_t>(i * 7), '-') + " -->";
        text += "</item>\n";
    }
    return text + "</fendral>\n";
}

std::string ChunkedDump(const std::string& text, std::uint32_t chunk, AParseResult* result)
{
    ADocument document;
    auto stream = AChunkedStream::Create(text, chunk);
    *result = ParseDocument(document, stream.get());
    return Dump(document);
}

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

}  // namespace

// However the input arrives, the same tree, or the same error at the same place.
TEST(XmlStreaming, FragmentedReadsGiveTheSameTreeAndTheSameErrorPosition)
{
    const std::string text = SampleDocument();
    AParseResult whole;
    const std::string expected = ChunkedDump(text, 1u << 20, &whole);
    ASSERT_TRUE(whole.Ok());
    ASSERT_NE(expected.find("cdata [" + std::string(13 * 294, ']') + "&]"), std::string::npos);

    std::string broken = text;
    const std::size_t at = broken.rfind("</item>") + 2;
    broken.insert(at, "x");  // the last closing tag names another element
    AParseResult error;
    ChunkedDump(broken, 1u << 20, &error);
    ASSERT_EQ(error.code, 3);
    ASSERT_EQ(error.line, std::count(broken.begin(), broken.begin() + static_cast<std::ptrdiff_t>(at), '\n') + 1);
    ASSERT_EQ(error.column, static_cast<std::int64_t>(at - broken.rfind('\n', at)));

    for (std::uint32_t chunk : {1u, 2u, 3u, 7u, 8u, 9u, 100u, 3071u, 3072u, 3073u, 4095u, 4096u, 4097u}) {
        SCOPED_TRACE(chunk);
        AParseResult result;
        EXPECT_EQ(ChunkedDump(text, chunk, &result), expected);
        EXPECT_TRUE(result.Ok());
        ChunkedDump(broken, chunk, &result);
        EXPECT_EQ(result.code, error.code);
        EXPECT_EQ(result.line, error.line);
        EXPECT_EQ(result.column, error.column);
    }
}

TEST(XmlStreaming, FailingReadIsReportedAndNotTakenForTheEnd)
{
    const std::string text = "<a/><b/>";
    for (std::size_t failAt : {std::size_t{0}, std::size_t{4}, std::size_t{6}}) {
        ADocument document;
        auto stream = AChunkedStream::Create(text, 100);
        stream->FailAt(failAt);
        const AParseResult result = ParseDocument(document, stream.get());
        EXPECT_EQ(result.streamError, Result::kStgReadFault) << failAt;
        EXPECT_FALSE(result.Ok());
        EXPECT_FALSE(document.HasChildren());
    }
    ADocument document;
    EXPECT_EQ(ParseDocument(document, nullptr).streamError, Result::kStgInvalidPointer);
}

TEST(XmlStreaming, ProgressRisesByWholePercentagesToOneHundred)
{
    const std::string text = SampleDocument();
    ARecordingNotifier notifier;
    ADocument document;
    auto stream = AChunkedStream::Create(text, 4096);
    ASSERT_TRUE(ParseDocument(document, stream.get(), &notifier, text.size()).Ok());
    ASSERT_FALSE(notifier.values.empty());
    EXPECT_EQ(notifier.values.back(), 100u);
    EXPECT_LE(notifier.values.size(), 101u);
    for (std::size_t i = 1; i < notifier.values.size(); ++i)
        EXPECT_LT(notifier.values[i - 1], notifier.values[i]);
}

TEST(XmlStreaming, ProgressNeverPassesOneHundredWhenTheSizeWasUnderstated)
{
    ARecordingNotifier notifier;
    ADocument document;
    auto stream = Streams::AMemoryStream::Create("<a>" + std::string(1000, 'x') + "</a>");
    ASSERT_TRUE(ParseDocument(document, stream.get(), &notifier, 10).Ok());
    ASSERT_FALSE(notifier.values.empty());
    EXPECT_EQ(notifier.values.back(), 100u);
}

// Fifty megabytes of records, read node by node from a stream that makes them as it
// goes: the reader's buffer never holds more than its window and one block.
TEST(XmlStreaming, FiftyMegabytesInBoundedMemory)
{
    const std::uint64_t records = 400000;
    auto piece = [](std::uint64_t i) {
        return "<transaction id='" + std::to_string(i) + "' amount='-1234.5600' comment='caf&#233; &amp; co'>"
               "<category>Food &lt;daily&gt;</category><![CDATA[note " + std::to_string(i * 7) + "]]></transaction>\n";
    };
    auto stream = AGeneratedStream::Create("<?xml version='1.0'?>\n", piece, records, "<!-- end -->");
    Implementation::AParseCursor cursor(stream.get());
    const long residentBefore = ResidentKilobytes();
    long residentPeak = residentBefore;
    std::uint64_t elements = 0;
    std::uint64_t lastId = 0;
    try {
        while (!cursor.AtEnd()) {
            const std::unique_ptr<ANode> node = Implementation::ParseNextNode(cursor);
            if (const AElement* element = node->ToElement()) {
                ++elements;
                lastId = std::stoull(*element->FindAttribute("id"));
                ASSERT_EQ(element->FirstElement("category")->Text(), "Food <daily>");
                if (elements % 20000 == 0)
                    residentPeak = std::max(residentPeak, ResidentKilobytes());
            }
        }
    } catch (const Implementation::AParseException& error) {
        FAIL() << "error " << error.Code() << " at " << error.Line() << ":" << error.Column();
    }
    EXPECT_EQ(elements, records);
    EXPECT_EQ(lastId, records - 1);
    EXPECT_GE(stream->Produced(), 50u * 1000 * 1000);
    EXPECT_EQ(cursor.Consumed(), stream->Produced());
    EXPECT_EQ(cursor.Position().line, static_cast<std::int64_t>(records) + 2);
    EXPECT_LE(cursor.PeakBufferedBytes(), Implementation::AParseCursor::kWindowSize +
                                              Implementation::AParseCursor::kBlockSize +
                                              Implementation::AParseCursor::kMaxLookahead);
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizer keeps freed memory in quarantine, so only a plain build can tell.
    EXPECT_LT(residentPeak - residentBefore, 16 * 1024) << "kilobytes of growth";
#endif
}

TEST(XmlStreaming, LongTextsPassThroughTheSmallWindow)
{
    const std::string body(3 * 1024 * 1024, 'q');
    auto stream = AChunkedStream::Create("<a>" + body + "</a><!--" + body + "-->", 4096);
    Implementation::AParseCursor cursor(stream.get());
    ADocument document;
    document.Parse(cursor);
    EXPECT_EQ(document.RootElement()->Text(), body);
    EXPECT_EQ(document.LastChild()->ToComment()->Body(), body);
    EXPECT_LE(cursor.PeakBufferedBytes(), Implementation::AParseCursor::kBufferCapacity);
    EXPECT_EQ(cursor.Position().column, static_cast<std::int64_t>(2 * body.size() + 15));
}
