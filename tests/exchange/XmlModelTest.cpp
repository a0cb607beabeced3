#include "XmlTestSupport.h"

#include "core/Assert.h"

#include <gtest/gtest.h>

using namespace XmlTest;

namespace {

// Records the walk; answers false at the element named `stopAt` (on enter or leave).
class ATracingVisitor final : public AVisitor {
public:
    std::string trace;
    std::string stopOnEnter;
    std::string stopOnLeave;

    bool EnterDocument(const ADocument&) override { return Add("D("); }
    bool LeaveDocument(const ADocument&) override { return Add(")D"); }
    bool EnterElement(const AElement& e) override { return Add("<" + e.Name()) && e.Name() != stopOnEnter; }
    bool LeaveElement(const AElement& e) override { return Add(e.Name() + ">") && e.Name() != stopOnLeave; }
    bool VisitText(const AText& t) override { return Add("t:" + t.Text()); }
    bool VisitComment(const AComment&) override { return Add("c"); }
    bool VisitDeclaration(const ADeclaration&) override { return Add("?"); }
    bool VisitUnknown(const AUnknown&) override { return Add("!"); }

private:
    bool Add(const std::string& step)
    {
        trace += step + " ";
        return true;
    }
};

}  // namespace

TEST(XmlModel, ElementCountsFollowEveryChangeUpToTheDocument)
{
    ADocument document;
    AElement* root = AddElement(document, "r");
    AElement* a = AddElement(*root, "a");
    AddElement(*a, "a1");
    AddText(*a, "text does not count");
    EXPECT_EQ(document.ElementCount(), 3u);
    EXPECT_EQ(root->ElementCount(), 2u);

    // A subtree brings its own elements along.
    std::unique_ptr<ANode> copy = a->Clone();
    EXPECT_EQ(copy->ToElement()->ElementCount(), 1u);
    root->Append(std::move(copy));
    EXPECT_EQ(document.ElementCount(), 5u);

    std::unique_ptr<ANode> removed = root->Remove(a);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->Parent(), nullptr);
    EXPECT_EQ(document.ElementCount(), 3u);
    EXPECT_EQ(root->Remove(a), nullptr) << "no longer a child";

    root->FirstElement()->Clear();
    EXPECT_EQ(document.ElementCount(), 2u);
    document.Clear();
    EXPECT_EQ(document.ElementCount(), 0u);
    EXPECT_EQ(document.ChildCount(), 0u);
}

TEST(XmlModel, RemovingKeepsTheSiblingLinksWhole)
{
    ADocument document;
    AElement* root = AddElement(document, "r");
    ANode* nodes[4];
    for (int i = 0; i < 4; ++i)
        nodes[i] = AddElement(*root, std::string(1, static_cast<char>('a' + i)));
    root->Remove(nodes[0]);
    root->Remove(nodes[2]);
    root->Remove(nodes[3]);
    EXPECT_EQ(root->FirstChild(), nodes[1]);
    EXPECT_EQ(root->LastChild(), nodes[1]);
    EXPECT_EQ(nodes[1]->NextSibling(), nullptr);
    EXPECT_EQ(nodes[1]->PreviousSibling(), nullptr);
    EXPECT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(ToText(document), "<r><b/></r>");
}

TEST(XmlModel, CloneIsDeepAndIndependent)
{
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, "<?xml version='1.0'?><!DOCTYPE d><r a='1'><b>x<![CDATA[y]]></b><!--c--></r>").Ok());
    document.RootElement()->SetUserData(&document);
    std::unique_ptr<ANode> copy = document.Clone();
    EXPECT_EQ(Dump(*copy), Dump(document));
    EXPECT_EQ(copy->ToDocument()->ElementCount(), 2u);
    EXPECT_EQ(copy->ToDocument()->RootElement()->UserData(), nullptr);
    document.RootElement()->SetAttribute("a", "changed");
    EXPECT_EQ(*copy->ToDocument()->RootElement()->FindAttribute("a"), "1");
}

TEST(XmlModel, SafeCastsAnswerOnlyForTheirOwnKind)
{
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, "<?x?><!D><!--c--><e/>t").Ok());
    int kinds = 0;
    for (const ANode& node : document.Children()) {
        const int count = (node.ToDeclaration() != nullptr) + (node.ToUnknown() != nullptr) +
                          (node.ToComment() != nullptr) + (node.ToElement() != nullptr) +
                          (node.ToText() != nullptr) + (node.ToDocument() != nullptr);
        EXPECT_EQ(count, 1);
        ++kinds;
    }
    EXPECT_EQ(kinds, 5);
    EXPECT_EQ(document.ToDocument(), &document);
}

TEST(XmlModel, VisitorFalseStopsTheWalkButEveryEnteredElementIsLeft)
{
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, "<?x?><a>1<b><c/>2</b><d/></a><!--z-->").Ok());
    struct Case { const char* stopOnEnter; const char* stopOnLeave; bool result; const char* trace; };
    const Case cases[] = {
        {"", "", true, "D( ? <a t:1 <b <c c> t:2 b> <d d> a> c )D "},
        {"b", "", false, "D( ? <a t:1 <b a> )D "},
        {"", "c", false, "D( ? <a t:1 <b <c c> b> a> )D "},
        {"a", "", false, "D( ? <a )D "},
    };
    for (const Case& c : cases) {
        ATracingVisitor visitor;
        visitor.stopOnEnter = c.stopOnEnter;
        visitor.stopOnLeave = c.stopOnLeave;
        EXPECT_EQ(document.Accept(visitor), c.result);
        EXPECT_EQ(visitor.trace, c.trace);
    }
}

TEST(XmlModel, AttributeSetReplacesAppendsAndRemoves)
{
    AElement element("e");
    element.SetAttribute("b", "1");
    element.SetAttribute("a", "2");
    element.SetAttribute("b", "3");
    EXPECT_EQ(element.AttributeCount(), 2u);
    EXPECT_EQ(element.AttributeAt(0).Name(), "b");
    EXPECT_EQ(element.AttributeAt(0).Value(), "3");
    EXPECT_EQ(element.FindAttribute("c"), nullptr);
    for (int i = 0; i < 40; ++i)
        element.SetAttribute("k" + std::to_string(i), std::to_string(i));
    EXPECT_TRUE(element.RemoveAttribute("k5"));
    EXPECT_FALSE(element.RemoveAttribute("k5"));
    EXPECT_EQ(element.FindAttribute("k5"), nullptr);
    EXPECT_EQ(*element.FindAttribute("k39"), "39");
    element.SetAttribute("k5", "back");
    EXPECT_EQ(element.AttributeAt(element.AttributeCount() - 1).Value(), "back");
}

TEST(XmlModel, TextOfAnElementJoinsItsTextChildren)
{
    ADocument document;
    ASSERT_TRUE(ParseDocument(document, "<a>one<b>not</b><![CDATA[two]]><!--no-->three</a>").Ok());
    EXPECT_EQ(document.RootElement()->Text(), "onetwothree");
    EXPECT_EQ(ANodeContainer::NextElement(document.RootElement()->FirstChild(), "b")->Text(), "not");
}

TEST(XmlModel, Utf16AndUtf8ConvertBothWaysAndRepairBadInput)
{
    struct Case { std::u16string utf16; std::string utf8; };
    const Case cases[] = {
        {u"", ""},
        {u"Без имени", "\xD0\x91\xD0\xB5\xD0\xB7 \xD0\xB8\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB8"},
        {u"\U0001F600€", "\xF0\x9F\x98\x80\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD" "a");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
    struct Bad { std::string utf8; std::u16string utf16; };
    const Bad bad[] = {
        {"\xC3", u"\uFFFD"},                  // cut sequence
        {"\xC3(", u"\uFFFD("},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},        // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xFF", u"\uFFFD"},
    };
    for (const Bad& b : bad)
        EXPECT_EQ(Utf8ToUtf16(b.utf8), b.utf16);
}

TEST(XmlModel, PuttingAContainerBelowItselfIsRefused)
{
    int reports = 0;
    auto previous = Fendral::SetAssertionHandler([&](const std::string&) {
        ++reports;
        return true;
    });
    auto top = std::make_unique<AElement>("top");
    AElement* inner = AddElement(*AddElement(*top, "middle"), "inner");
    AElement* raw = top.get();
    EXPECT_EQ(inner->Append(std::move(top)), nullptr);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(raw->ElementCount(), 2u);  // the tree is as it was
    EXPECT_EQ(inner->ChildCount(), 0u);
    Fendral::SetAssertionHandler(previous);
    delete raw;  // let go by the refused call; freed here so the sanitizer sees no leak
}
