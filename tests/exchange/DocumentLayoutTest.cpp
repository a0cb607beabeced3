// The scan that cuts a document into runs of items, and the read phase over runs
// against the read over the whole tree.
#include "ImportTestSupport.h"

#include "exchange/xml/xmlDocumentLayout.h"
#include "exchange/xml/xmlReader.h"

#include <functional>
#include <random>
#include <span>

namespace {

using namespace ImportTest;
using UtilityClasses::XML::ADocumentLayout;

auto ScanDocumentLayout(std::string_view text, std::span<const UtilityClasses::XML::ASectionNames> names,
                        std::size_t itemsPerRun, const std::function<void(std::size_t)>& runFound = {})
{
    return UtilityClasses::XML::ScanDocumentLayout(text, "fendral", names, itemsPerRun, runFound);
}

const std::array<UtilityClasses::XML::ASectionNames, 5> kNames = {{
    {"currencies", "currency"},
    {"rates", "rate"},
    {"accounts", "account"},
    {"classifiers", "classifier"},
    {"transactions", "transaction"},
}};

TEST(ImportDocumentLayout, FindsSectionsAndCutsTheirItemsIntoRuns)
{
    const std::string text =
        "<?xml version='1.0'?><!-- a > b --><!DOCTYPE x [<!ENTITY e '<fendral>'>]>"
        "<fendral ref='root'><export-options><currencies><currency/></currencies></export-options>"
        "<currencies ref='c1'> <currency><code>A</code></currency><!-- </currencies> -->"
        "<currency note='a>b'/> <other/> <currency>C</currency> </currencies>"
        "<transactions/><currencies><currency><![CDATA[</currency>]]></currency></currencies>"
        "</fendral><!-- after -->";
    int fullRuns = 0;  // told as they are found, for the window to go on painting
    const auto layout = ScanDocumentLayout(text, kNames, 2, [&](std::size_t) { ++fullRuns; });
    ASSERT_TRUE(layout);
    EXPECT_EQ(fullRuns, 1);
    ASSERT_TRUE(layout->rootStartTag);
    EXPECT_EQ(layout->rootStartTag->In(text), "<fendral ref='root'>");
    ASSERT_EQ(layout->sections.size(), 3u);
    EXPECT_EQ(layout->sections[0].startTag.In(text), "<currencies ref='c1'>");
    EXPECT_EQ(layout->sections[1].startTag.In(text), "<transactions/>");
    EXPECT_EQ(layout->sections[1].kind, 4u);
    EXPECT_EQ(layout->itemCounts, (std::vector<std::size_t>{4, 0, 0, 0, 0}));

    const auto& runs = layout->runs[0];
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text.In(text), " <currency><code>A</code></currency><!-- </currencies> --><currency note='a>b'/>");
    EXPECT_EQ(runs[0].items, 2u);
    EXPECT_EQ(runs[1].text.In(text), " <other/> <currency>C</currency> ");
    EXPECT_EQ(runs[1].items, 1u);
    EXPECT_EQ(runs[2].section, 2u);
    EXPECT_EQ(runs[2].text.In(text), "<currency><![CDATA[</currency>]]></currency>");

    std::vector<std::string> others;
    for (const auto& range : layout->others)
        others.emplace_back(range.In(text));
    EXPECT_EQ(others.front(), "<?xml version='1.0'?><!-- a > b --><!DOCTYPE x [<!ENTITY e '<fendral>'>]>");
    EXPECT_EQ(others[1], "<export-options><currencies><currency/></currencies></export-options>");
    EXPECT_EQ(others.back(), "<!-- after -->");
}

TEST(ImportDocumentLayout, LeavesToTheParserWhatItCannotFollow)
{
    std::string deep = "<fendral><transactions><transaction>";
    for (int i = 0; i < 998; ++i)
        deep += "<a>";
    const std::string unreadable[] = {
        std::string("<fendral>\0</fendral>", 20),
        "<fendral><currencies>",
        "<fendral></currencies>",
        "<fendral><currencies></fendral>",
        "</x><fendral/>",
        "<fendral><!-- never ends</fendral>",
        "<fendral><currencies><currency a=b/></currencies></fendral>",
        "<fendral><? ?></fendral>",
        "<fendral>< ></fendral>",
        deep,
    };
    for (const std::string& text : unreadable)
        EXPECT_FALSE(ScanDocumentLayout(text, kNames, 256)) << text.substr(0, 60);
    // Just within the parser's nesting limit.
    std::string limit = "<fendral><transactions><transaction>";
    for (int i = 0; i < 997; ++i)
        limit += "<a>";
    for (int i = 0; i < 997; ++i)
        limit += "</a>";
    limit += "</transaction></transactions></fendral>";
    EXPECT_TRUE(ScanDocumentLayout(limit, kNames, 256));
}

// The read over runs and the read over the whole tree: messages and batch contents.
struct AOutcome {
    bool read = false;
    std::vector<std::string> messages;
    std::vector<std::size_t> slots;
    bool operator==(const AOutcome&) const = default;
};

AOutcome Outcome(bool read, const TImport& import)
{
    AOutcome outcome{read, import.MessageTexts(), {}};
    for (Engine::ATableId table = 1; table <= Engine::ADBEngine::kTableCount; ++table)
        outcome.slots.push_back(import.batch->Db().Table(table).SlotCount());
    return outcome;
}

AOutcome OverRuns(TImport& import, std::string_view text) { return Outcome(import.Read(text), import); }

AOutcome OverTheWholeTree(TImport& import, std::string_view text)
{
    import.batch = std::make_unique<AImportBatch>();
    import.messages.Clear();
    UtilityClasses::XML::ADocument document;
    const auto parsed = UtilityClasses::XML::ParseDocument(document, text);
    if (!parsed.Ok()) {
        import.messages.AddError(import.strings.Format(778, {parsed.code, parsed.line, parsed.column}));
        return Outcome(false, import);
    }
    return Outcome(ReadInterchangeDocument(import.Environment(), document, *import.batch, import.messages), import);
}

// Six hundred transactions, every tenth with a fault, and sections out of their order.
std::string ManyItems()
{
    std::string transactions = "<transactions ref='T'>";
    for (int i = 0; i < 600; ++i)
        transactions += "<transaction ref='" + std::to_string(i) + "'><date>2020-01-0" + std::to_string(1 + i % 9) +
                        "</date><income><income-account>" + AccountRef(i % 10 == 0 ? "Nobody" : "A", "USD") +
                        "</income-account><income-amount>" + std::to_string(i) + "</income-amount>"
                        "<category classifier='P'><name>All</name><category><name>C" + std::to_string(i % 7) +
                        "</name></category></category></income></transaction>\n";
    transactions += "</transactions>";
    return Doc(transactions + "<accounts><account><name>A</name><currency>USD</currency></account></accounts>" +
               Currencies({"USD", "EUR", "USD"}) +
               "<classifiers><classifier><singular-name>P</singular-name><plural-name>Ps</plural-name>"
               "<single-tree><category><name>All</name></category></single-tree></classifier></classifiers>");
}

TEST(ImportDocumentLayout, ReadingOverRunsGivesWhatTheWholeTreeGives)
{
    TImport runs;
    TImport whole;
    const std::string text = ManyItems();
    const AOutcome expected = OverTheWholeTree(whole, text);
    EXPECT_EQ(expected.messages.size(), 61u);  // the second USD, and one in ten transactions
    EXPECT_EQ(OverRuns(runs, text), expected);

    std::mt19937 random(99);
    for (int round = 0; round < 200; ++round) {
        std::string mutated = text;
        for (int i = 0; i < 3; ++i)
            mutated[random() % mutated.size()] = "<>/'\"=!?- \n&;x0"[random() % 15];
        ASSERT_EQ(OverRuns(runs, mutated), OverTheWholeTree(whole, mutated)) << "round " << round;
    }
}

}  // namespace
