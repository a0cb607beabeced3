// Damaged and hostile documents: truncated at every length, random bytes, flipped bits,
// elements removed, repeated or given nonsense values, huge numbers and deep trees.
// The read phase must always end with messages, and whatever it accepted must save
// into a consistent data file that one undo restores.
#include "ImportTestSupport.h"

#include "exchange/xml/xmlReader.h"
#include "exchange/xml/xmlWriter.h"

#include <random>

namespace {

using namespace ImportTest;
namespace XML = UtilityClasses::XML;

const std::string kAccountA = AccountRef("Cash", "USD");
const std::string kAccountB = AccountRef("Bank", "EUR");

// Every kind of item and most optional parts, with spreadsheet-style refs here and there.
std::string RichDocument()
{
    return Doc(
        "<export-options><program-build>235</program-build></export-options>"
        "<currencies ref='Лист: Currencies'><currency ref='A2'><name>Dollar</name><code>USD</code><precision>2</precision></currency>"
        "<currency><name>Euro</name><code>EUR</code></currency><currency><name>Российские рубли</name><code>RUR</code></currency></currencies>"
        "<rates><rate><date>2020-01-01</date><currency-1>USD</currency-1><currency-2>EUR</currency-2><amount-1>1.0000</amount-1><amount-2>0.9000</amount-2></rate>"
        "<rate><date>2020-01-02</date><currency-1>EUR</currency-1><currency-2>RUR</currency-2><amount-1>1</amount-1><amount-2>100</amount-2></rate></rates>"
        "<accounts><account><name>Cash</name><currency>USD</currency><init-balance>10.0000</init-balance><comment>wallet</comment></account>"
        "<account><name>Bank</name><currency>EUR</currency><locked/></account>"
        "<account><name>Наличные</name><currency>RUR</currency></account></accounts>"
        "<account-plans><account-plan><name>Все счета</name><account>" + kAccountA + "</account></account-plan></account-plans>"
        "<classifiers><classifier><singular-name>Статья</singular-name><plural-name>Статьи</plural-name>"
        "<income-tree><category><name>Все статьи прихода</name><category><name>Зарплата</name></category></category></income-tree>"
        "<expense-tree><category><name>Все статьи расхода</name><category><name>Еда</name><comment>c</comment>"
        "<category><name>Хлеб</name></category></category></category></expense-tree></classifier>"
        "<classifier><singular-name>Проект</singular-name><plural-name>Проекты</plural-name><use-in-transfers/>"
        "<single-tree><category><name>Все проекты</name><category><name>Дом</name></category></category></single-tree></classifier>"
        "</classifiers>"
        "<transactions>"
        "<transaction><date>2020-01-03</date><expense><executed/><locked/><expense-account>" + kAccountA +
        "</expense-account><expense-amount>-2.5000</expense-amount><expense-balance>7.5000</expense-balance>"
        "<quantity>1.0000</quantity><category classifier='Статья'><name>Все статьи расхода</name>"
        "<category><name>Еда</name><category><name>Хлеб</name></category></category></category>"
        "<category classifier='Проект'><name>Все проекты</name><category><name>Дом</name></category></category>"
        "</expense><comment>bread</comment><extra-comment n='1'>x</extra-comment></transaction>"
        "<transaction><date>2020-01-04T10:11:12:000</date><transfer><executed/><expense-account>" + kAccountA +
        "</expense-account><expense-amount>-1</expense-amount><income-account>" + kAccountB +
        "</income-account><income-amount>0.9</income-amount>"
        "<category classifier='Проект'><name>Все проекты</name></category></transfer></transaction>"
        "<transaction><date>2020-01-05</date><balance><executed/><income-account>" + kAccountB +
        "</income-account><income-balance>5</income-balance></balance></transaction>"
        "<transaction ref='T5'><date>2020-02-01</date><income><budget-date>2020-03-01</budget-date><income-account>" +
        kAccountA + "</income-account><income-amount>100</income-amount>"
        "<category classifier='Статья'><name>Все статьи прихода</name><category><name>Премия</name></category></category></income>"
        "<recurrence type='month-nth'><day-of-week-mask>9</day-of-week-mask><instance>5</instance><interval>1</interval>"
        "<end-date>2021-01-01</end-date><regenerate/></recurrence></transaction>"
        "</transactions>");
}

// Reads the text; when something was accepted, saves it, checks the data file and undoes.
void ReadSaveUndo(TImport& import, std::string_view text)
{
    const std::size_t before = import.db.Transactions().LiveCount() + import.db.Categories().LiveCount() +
                               import.db.Accounts().LiveCount() + import.db.Currencies().LiveCount();
    if (!import.Read(text)) {
        ASSERT_EQ(import.messages.ErrorCount(), 1u);
        return;
    }
    const HRESULT saved = import.Save();
    ASSERT_TRUE(saved == Result::kOk || saved == kImportBalanceOverflow);
    ASSERT_EQ(import.db.ConsistencyErrors(), 0u);
    if (saved == Result::kOk) {
        ASSERT_TRUE(import.db.Undo());
    }
    ASSERT_EQ(import.db.Transactions().LiveCount() + import.db.Categories().LiveCount() +
                  import.db.Accounts().LiveCount() + import.db.Currencies().LiveCount(),
              before);
}

TEST(ImportFuzz, TheRichDocumentImportsWithoutMessages)
{
    TImport import;
    import.Import(RichDocument());
    EXPECT_EQ(import.db.Transactions().LiveCount(), 4u);
    EXPECT_EQ(import.db.ConsistencyErrors(), 0u);
}

TEST(ImportFuzz, TruncatedAtEveryLength)
{
    const std::string text = RichDocument();
    TImport import;
    for (std::size_t length = 0; length < text.size(); ++length) {
        ReadSaveUndo(import, std::string_view(text).substr(0, length));
        if (HasFatalFailure())
            FAIL() << "at length " << length;
    }
}

// Element-level damage on the parsed document: keeps the text well-formed, so the item
// readers themselves get the nonsense.
TEST(ImportFuzz, ElementsRemovedRepeatedOrGivenNonsense)
{
    XML::ADocument original;
    ASSERT_TRUE(XML::ParseDocument(original, RichDocument()).Ok());
    std::vector<const XML::AElement*> elements;
    std::function<void(const XML::ANodeContainer&)> collect = [&](const XML::ANodeContainer& container) {
        for (const XML::ANode& node : container.Children())
            if (const XML::AElement* element = node.ToElement()) {
                elements.push_back(element);
                collect(*element);
            }
    };
    collect(original);
    const char* nonsense[] = {"", "-", "-1", "1e9", "99999999999999999999999999", "2020-02-30", "0", "Cash", "USD",
                              "   ", "\xEF\xBF\xBD", "9999-12-31T23:59:59:999", "922337203685477.5807"};

    std::mt19937 random(1234);
    TImport import;
    for (int round = 0; round < 800; ++round) {
        auto copy = original.Clone();
        // Find the same element in the copy by its position in document order.
        std::vector<XML::AElement*> copies;
        std::function<void(XML::ANodeContainer&)> collectCopy = [&](XML::ANodeContainer& container) {
            for (XML::ANode& node : container.Children())
                if (XML::AElement* element = node.ToElement()) {
                    copies.push_back(element);
                    collectCopy(*element);
                }
        };
        collectCopy(*copy->ToDocument());
        ASSERT_EQ(copies.size(), elements.size());
        XML::AElement* target = copies[1 + random() % (copies.size() - 1)];  // never the root
        switch (random() % 4) {
        case 0:
            target->Parent()->Remove(target);
            break;
        case 1:
            target->Parent()->Append(target->Clone());
            break;
        case 2:
            target->Clear();
            XML::AddText(*target, std::string_view(nonsense[random() % std::size(nonsense)]));
            break;
        default:
            target->SetAttribute(random() % 2 ? "n" : "classifier", nonsense[random() % std::size(nonsense)]);
            break;
        }
        import.batch = std::make_unique<AImportBatch>();
        import.messages.Clear();
        if (ReadInterchangeDocument(import.Environment(), *copy->ToDocument(), *import.batch, import.messages)) {
            const HRESULT saved = import.Save();
            ASSERT_TRUE(saved == Result::kOk || saved == kImportBalanceOverflow) << round;
            ASSERT_EQ(import.db.ConsistencyErrors(), 0u) << round;
            if (saved == Result::kOk) {
                ASSERT_TRUE(import.db.Undo());
            }
        }
    }
}

TEST(ImportFuzz, HugeNumbersAreRefusedNotWrapped)
{
    TImport import;
    ASSERT_TRUE(import.Read(Doc(
        "<currencies><currency><name>D</name><code>USD</code><precision>18446744073709551617</precision></currency>"
        "<currency><name>E</name><code>EUR</code></currency></currencies>"
        "<accounts><account><name>A</name><currency>EUR</currency><init-balance>18446744073709551616</init-balance>"
        "</account><account><name>B</name><currency>EUR</currency></account></accounts><transactions>"
        "<transaction><date>2020-01-01</date><income><income-account>" + AccountRef("B", "EUR") +
        "</income-account><income-amount>1844674407370955.1617</income-amount></income></transaction>"
        "<transaction><date>2020-01-01</date><income><income-account>" + AccountRef("B", "EUR") +
        "</income-account><income-amount>1</income-amount></income><extra-comment n='4294967297'>x</extra-comment>"
        "</transaction><transaction><date>2020-01-01</date><income><income-account>" + AccountRef("B", "EUR") +
        "</income-account><income-amount>1</income-amount></income><recurrence type='daily'>"
        "<interval>4294967297</interval></recurrence></transaction><transaction><date>99999-01-01</date><income>"
        "<income-account>" + AccountRef("B", "EUR") + "</income-account><income-amount>1</income-amount></income>"
        "</transaction></transactions>")));
    EXPECT_EQ(import.MessageTexts(),
              (std::vector<std::string>{
                  "E: Указано неправильное значение точности валюты.\r\nДолжно быть целое число от 0 до 4 включительно.",
                  "E: Неправильно указан начальный остаток по счету.",
                  "E: Ошибка конвертации при чтении суммы операции.",
                  "E: Номер дополнительного комментария должен быть в диапазоне от 1 до 4 включительно.",
                  "E: Значение interval указано неверно.\r\nДолжно быть неотрицательное целое число.",
                  "E: Дата операции указана неправильно.",
              }));
}

TEST(ImportFuzz, DeepCategoryTreesAndPaths)
{
    constexpr int kDepth = 900;  // below the parser's nesting limit
    std::string tree = "<category><name>Root</name>";
    std::string path = "<category classifier='Deep'><name>Root</name>";
    for (int i = 0; i < kDepth; ++i) {
        tree += "<category><name>L" + std::to_string(i) + "</name>";
        path += "<category><name>L" + std::to_string(i) + "</name>";
    }
    path += "<category><name>New</name></category>";
    for (int i = 0; i <= kDepth; ++i) {
        tree += "</category>";
        path += "</category>";
    }
    TImport import;
    import.Import(Doc(Currencies({"USD"}) + "<accounts><account><name>A</name><currency>USD</currency></account>"
                      "</accounts><classifiers><classifier><singular-name>Deep</singular-name><plural-name>Deeps"
                      "</plural-name><single-tree>" + tree + "</single-tree></classifier></classifiers><transactions>"
                      "<transaction><date>2020-01-01</date><income><income-account>" + AccountRef("A", "USD") +
                      "</income-account><income-amount>1</income-amount>" + path +
                      "</income></transaction></transactions>"));
    const auto paths = import.PathsOf(import.db.Transactions().Live().front());
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_TRUE(paths[0].ends_with("/L899/New"));
    // A second import merges the whole depth instead of adding a copy.
    const std::size_t categories = import.db.Categories().LiveCount();
    import.Import(Doc("<classifiers><classifier><singular-name>Deep</singular-name><plural-name>Deeps</plural-name>"
                      "<single-tree>" + tree + "</single-tree></classifier></classifiers>"));
    EXPECT_EQ(import.db.Categories().LiveCount(), categories);
}

}  // namespace
