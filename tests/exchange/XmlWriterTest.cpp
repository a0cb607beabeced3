#include "XmlTestSupport.h"

#include <gtest/gtest.h>

using namespace XmlTest;

namespace {

std::string Rewrite(std::string_view text)
{
    ADocument document;
    const AParseResult result = ParseDocument(document, text);
    EXPECT_TRUE(result.Ok()) << text;
    return ToText(document);
}

// A stream whose writes always fail, counting the attempts.
class AFullDiskStream final : public Streams::Implementation::ARefCounted<Streams::IStream> {
public:
    HRESULT Read(void*, std::uint32_t, std::uint32_t*) override { return Result::kStgAccessDenied; }
    HRESULT Write(const void*, std::uint32_t, std::uint32_t* written) override
    {
        ++attempts;
        if (written)
            *written = 0;
        return Result::kStgMediumFull;
    }
    HRESULT Seek(std::int64_t, Streams::ESeekOrigin, std::uint64_t*) override { return Result::kOk; }
    HRESULT SetSize(std::uint64_t) override { return Result::kOk; }
    HRESULT Commit() override { return Result::kOk; }
    HRESULT Stat(Streams::AStreamStat*) override { return Result::kOk; }
    int attempts = 0;
};

}  // namespace

TEST(XmlWriter, WritesEachNodeKindWithoutWhitespaceOfItsOwn)
{
    struct Case { const char* input; const char* written; };
    const Case cases[] = {
        {"<a></a>", "<a/>"},
        {"<a/>", "<a/>"},
        {"<a z=\"1\" b=\"2\" m=\"3\"/>", "<a z='1' b='2' m='3'/>"},
        {"<a v=\"it's &amp; &quot;x&quot; &lt;y&gt;\">it's &amp; \"x\" &lt;y&gt;</a>",
         "<a v='it&apos;s &amp; &quot;x&quot; &lt;y&gt;'>it&apos;s &amp; &quot;x&quot; &lt;y&gt;</a>"},
        {"<?xml version=\"1.0\"?>\n<r>\n  <b>x</b>\n</r>", "<?xml version='1.0'?>\n<r>\n  <b>x</b>\n</r>"},
        {"<r><![CDATA[a<&>'b]]><!-- c -- d --></r>", "<r><![CDATA[a<&>'b]]><!-- c -- d --></r>"},
        {"<!DOCTYPE r [<!ENTITY e 'v'>]><r/>", "<!DOCTYPE r [<!ENTITY e 'v'>]><r/>"},
        {"<r>&#233;&#x41;</r>", "<r>\xC3\xA9" "A</r>"},
        {" \n\t", " \n\t"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rewrite(c.input), c.written) << c.input;
}

TEST(XmlWriter, BuiltTreeWithEmptyTextAndDeclaration)
{
    ADocument document;
    AddXmlDeclaration(document);
    AElement* root = AddElement(document, "fendral");
    SetAttribute(*root, "version", "1");
    AddText(*AddElement(*root, "empty"), "");
    AddText(*root, u"Сумма & \"итог\"");
    AddComment(*root, " built ");
    EXPECT_EQ(ToText(document),
              "<?xml version='1.0' encoding='utf-8' standalone='yes'?>"
              "<fendral version='1'><empty></empty>"
              "\xD0\xA1\xD1\x83\xD0\xBC\xD0\xBC\xD0\xB0 &amp; &quot;\xD0\xB8\xD1\x82\xD0\xBE\xD0\xB3&quot;"
              "<!-- built --></fendral>");

    // A CDATA section holding its own end marker reads back unchanged.
    ADocument cdata;
    AddText(*AddElement(cdata, "r"), "a]]>b]]]>>c]]>", true);
    const std::string text = ToText(cdata);
    EXPECT_EQ(text, "<r><![CDATA[a]]]]><![CDATA[>b]]]]]><![CDATA[>>c]]]]><![CDATA[>]]></r>");
    ADocument back;
    ASSERT_TRUE(ParseDocument(back, text).Ok());
    EXPECT_EQ(back.RootElement()->Text(), "a]]>b]]]>>c]]>");
}

TEST(XmlWriter, ProgressCountsElementsAsTheyAreLeftAndASubtreeReportsNone)
{
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, "<a><b x='1'>t</b><c><d/></c></a><e/>").Ok());
    ASSERT_EQ(document.ElementCount(), 5u);
    ARecordingNotifier notifier;
    auto stream = Streams::AMemoryStream::Create();
    EXPECT_EQ(WriteDocument(document, stream.get(), &notifier), Result::kOk);
    EXPECT_EQ(notifier.values, (std::vector<unsigned>{20, 40, 60, 80, 100}));
    EXPECT_EQ(stream->Bytes(), "<a><b x='1'>t</b><c><d/></c></a><e/>");

    // A subtree written on its own has no document total and reports nothing.
    notifier.values.clear();
    AStreamWriterVisitor writer(stream.get(), &notifier);
    document.RootElement()->Accept(writer);
    EXPECT_TRUE(notifier.values.empty());
    auto printed = Streams::AMemoryStream::Create();
    document.RootElement()->FirstElement("b")->Print(printed.get());
    EXPECT_EQ(printed->Bytes(), "<b x='1'>t</b>");
}

TEST(XmlWriter, HoldsOneReferenceOnTheStreamWhileItLives)
{
    auto stream = Streams::AMemoryStream::Create();
    {
        AStreamWriterVisitor writer(stream.get());
        EXPECT_EQ(stream->AddRef(), 3u);
        stream->Release();
    }
    EXPECT_EQ(stream->AddRef(), 2u);
    stream->Release();
}

TEST(XmlWriter, WriteFailuresAreKeptForTheCallerAndWritingGoesOn)
{
    ADocument document;
    AElement* root = AddElement(document, "r");
    for (int i = 0; i < 20000; ++i)
        SetAttribute(*AddElement(*root, "item"), "n", std::to_string(i));
    auto stream = ARefPtr<AFullDiskStream>::Adopt(new AFullDiskStream);
    ARecordingNotifier notifier;
    EXPECT_EQ(WriteDocument(document, stream.get(), &notifier), Result::kStgMediumFull);
    EXPECT_GT(stream->attempts, 1);
    EXPECT_EQ(notifier.values.back(), 100u);
    EXPECT_EQ(WriteDocument(document, nullptr), Result::kStgInvalidPointer);
}

TEST(XmlMultiStep, SuccessiveStepsMoveOneBarForward)
{
    ARecordingNotifier bar;
    AUserMultiStepNotifier steps(bar, {1, 3});
    for (unsigned p : {0u, 50u, 100u})
        steps.Notify(p);
    steps.NextStep();
    for (unsigned p : {0u, 40u, 30u, 100u, 150u})
        steps.Notify(p);
    EXPECT_EQ(bar.values, (std::vector<unsigned>{0, 12, 25, 55, 100}));
    EXPECT_EQ(steps.CurrentStep(), 1u);
    steps.NextStep();  // past the last step the bar simply stays full
    EXPECT_EQ(steps.CurrentStep(), 1u);
    EXPECT_EQ(bar.values.back(), 100u);
}

TEST(XmlMultiStep, WeightlessStepsCountAsEqual)
{
    struct Case { std::vector<unsigned> weights; std::vector<unsigned> expected; };
    const Case cases[] = {
        {{}, {0, 100}},
        {{0, 0}, {0, 50, 100}},
        {{5}, {0, 100}},
        {{2, 0, 2}, {0, 50, 100}},
    };
    for (const Case& c : cases) {
        ARecordingNotifier bar;
        AUserMultiStepNotifier steps(bar, c.weights);
        for (std::size_t i = 0; i < steps.StepCount(); ++i) {
            steps.Notify(0);
            steps.Notify(100);
            steps.NextStep();
        }
        EXPECT_EQ(bar.values, c.expected) << c.weights.size();
    }
}

TEST(XmlMultiStep, ParseAndWriteAsTwoStepsOfOneBar)
{
    ADocument document;
    AElement* root = AddElement(document, "r");
    for (int i = 0; i < 100; ++i)
        AddElement(*root, "x");
    const std::string text = ToText(document);

    ARecordingNotifier bar;
    AUserMultiStepNotifier steps(bar, {1, 1});
    ADocument read;
    auto in = Streams::AMemoryStream::Create(text);
    ASSERT_TRUE(ParseDocument(read, in.get(), &steps, text.size()).Ok());
    steps.NextStep();
    auto out = Streams::AMemoryStream::Create();
    ASSERT_EQ(WriteDocument(read, out.get(), &steps), Result::kOk);
    ASSERT_GT(bar.values.size(), 50u);
    for (std::size_t i = 1; i < bar.values.size(); ++i)
        EXPECT_LT(bar.values[i - 1], bar.values[i]);
    EXPECT_EQ(bar.values.back(), 100u);
    EXPECT_NE(std::find(bar.values.begin(), bar.values.end(), 50u), bar.values.end());
}
