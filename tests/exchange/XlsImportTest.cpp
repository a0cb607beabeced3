// The workbook import: cells to interchange elements with their references, the header
// lookup and its errors, transaction kinds, classifiers and categories, and workbooks
// written by openpyxl.
#include "XlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace XlsTest;

bool Has(const TRead& read, const std::string& piece) { return read.text.find(piece) != std::string::npos; }

std::string Messages(const TRead& read)
{
    std::string all;
    for (const std::string& message : read.messages)
        all += message + "\n";
    return all;
}

const std::vector<std::string> kAccountHeader = {"A1||Name", "B1||Currency", "C1||Initial balance", "D1||Locked",
                                                 "E1||Comment"};

TEST(XlsImport, AccountsMapWithCellReferences)
{
    const TRead read = ReadParts(Workbook({{"Accounts", Worksheet({kAccountHeader,
                                                                    {"A2||Cash", "B2||RUR", "C2||-1E-4", "D2||x"},
                                                                    {"A3||", "B3||USD", "E3||note &amp; more"}})}}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(Messages(read), "");
    EXPECT_TRUE(Has(read, "<accounts ref='Лист: Accounts'><account><name ref='A2'>Cash</name>"
                          "<currency ref='B2'>RUR</currency><init-balance ref='C2'>-0.0001</init-balance>"
                          "<locked ref='D2'/></account>"))
        << read.text;
    // Name and currency are always there, empty when the cell is, so the import names the cell.
    EXPECT_TRUE(Has(read, "<account><name ref='A3'/><currency ref='B3'>USD</currency>"
                          "<comment ref='E3'>note &amp; more</comment></account>"))
        << read.text;
}

TEST(XlsImport, HeaderErrorsSkipTheSheet)
{
    const TRead duplicate = ReadParts(Workbook(
        {{"Accounts", Worksheet({{"A1||Name", "B1||Currency", "C1||Name"}, {"A2||x", "B2||RUR"}})},
         {"Currencies", Worksheet({{"A1||Name"}, {"A2||Rouble"}})}}));
    ASSERT_TRUE(duplicate.ok);
    // Currencies are read first.
    EXPECT_EQ(Messages(duplicate), "Не найдена колонка \"Code\" на листе \"Currencies\".\n"
                                   "Колонка \"Name\" встречается более\r\nодного раза на листе \"Accounts\".\n");
    EXPECT_FALSE(Has(duplicate, "<accounts"));
    EXPECT_FALSE(Has(duplicate, "<currencies"));
}

TEST(XlsImport, SharedStringsRichRunsAndCellTypes)
{
    const std::string strings =
        "<sst><si><t>Name</t></si><si><t>Currency</t></si><si><r><rPr><b/></rPr><t>Ca</t></r><r><t>sh</t></r>"
        "<rPh><t>ignored</t></rPh></si><si><t>RUR</t></si></sst>";
    const std::string sheet =
        "<worksheet><sheetData><row r='1'><c r='A1' t='s'><v>0</v></c><c r='B1' t='s'><v>1</v></c>"
        "<c r='C1' t='inlineStr'><is><t>Locked</t></is></c><c r='D1' t='s'><v>99</v></c></row>"
        "<row r='2'><c r='A2' t='s'><v>2</v></c><c r='B2' t='s'><v>3</v></c><c r='C2' t='b'><v>1</v></c></row>"
        "<row r='3'><c r='A3' t='inlineStr'><is><r><t>Ri</t></r><r><t>ch</t></r></is></c>"
        "<c r='B3' t='e'><v>#N/A</v></c><c r='C3' t='b'><v>0</v></c><c r='E3'><v>mine</v></c></row></sheetData></worksheet>";
    const TRead read = ReadParts(Workbook({{"Accounts", sheet}}, strings));
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(Has(read, "<account><name ref='A2'>Cash</name><currency ref='B2'>RUR</currency><locked ref='C2'/>"))
        << read.text;
    // A rich inline string and an error cell read as empty; FALSE is no flag.
    EXPECT_TRUE(Has(read, "<account><name ref='A3'/><currency ref='B3'/></account>")) << read.text;
}

const std::vector<std::string> kTransactionHeader = {
    "A1||Executed", "B1||Date", "C1||Fixed balance", "D1||Income account", "E1||Income amount",
    "F1||Expense account", "G1||Expense amount", "H1||Category of Статья", "I1||Extra comment 2",
    "J1||Recurrence", "K1||Interval", "L1||Recurrence end date", "M1||Budget date"};

TEST(XlsImport, TransactionKindsAndTheirErrors)
{
    const TRead read = ReadParts(Workbook({{"Transactions", Worksheet({
        kTransactionHeader,
        {"A2||+", "B2||39814", "D2||RUR - Cash", "E2||100", "H2||Все\\Зарплата", "I2||чек"},
        {"B3||39814.5", "F3||USD - Card - old", "G3||-1.5", "J3||weekly", "K3||2", "L3||40000", "M3||2009-02-01"},
        {"B4||39814", "D4||RUR - Cash", "F4||USD - Card"},
        {"B5||39814", "C5||+", "D5||RUR - Cash"},
        {"B6||39814", "E6||5"},
        {"B7||39814", "D7||Cash"},
        {"B8||39814", "D8||RUR - Cash", "H8||Все\\\\Зарплата"},
    })}}));
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(Has(read, "<transaction><date ref='B2'>2009-01-01</date><income><executed ref='A2'/>"
                          "<income-account ref='D2'><name>Cash</name><currency>RUR</currency></income-account>"
                          "<income-amount ref='E2'>100.0000</income-amount><category classifier='Статья' ref='H2'>"
                          "<name>Все</name><category><name>Зарплата</name></category></category></income>"
                          "<extra-comment ref='I2' n='2'>чек</extra-comment></transaction>"))
        << read.text;
    EXPECT_TRUE(Has(read, "<date ref='B3'>2009-01-01T12:00:00:000</date><expense><budget-date ref='M3'>2009-02-01"
                          "</budget-date><expense-account ref='F3'><name>Card - old</name><currency>USD</currency>"))
        << read.text;
    EXPECT_TRUE(Has(read, "<recurrence ref='J3' type='weekly'><interval ref='K3'>2</interval>"
                          "<end-date ref='L3'>2009-07-06</end-date></recurrence>"))
        << read.text;
    EXPECT_TRUE(Has(read, "<transfer><income-account ref='D4'>")) << read.text;
    EXPECT_TRUE(Has(read, "<balance><income-account ref='D5'>")) << read.text;
    EXPECT_EQ(Messages(read),
              "Ошибка: для операции не указаны ни данные прихода ни данные расхода. Строка: 6, Лист: 'Transactions'\n"
              "Счет не указан или указан неверно. Ячейка 'D7', Лист 'Transactions'\n"
              "Ошибка: неверное название у категории 'Все\\\\Зарплата'. Ячейка: 'H8', Лист: 'Transactions'\n");
}

TEST(XlsImport, ClassifiersAndCategoriesByUniqueRoots)
{
    const TRead read = ReadParts(Workbook({
        {"Categories", Worksheet({{"A1||Name", "B1||Comment"},
                                  {"A2||In\\Salary\\Bonus"},
                                  {"A3||In\\Salary", "B3||monthly"},
                                  {"A4||Nowhere\\X"},
                                  {"A5||In\\"},
                                  {"A6||Projects", "B6||root note"}})},
        {"Classifiers", Worksheet({{"A1||Singular name", "B1||Plural name", "C1||Income root", "D1||Expense root",
                                    "F1||Single root", "G1||Use in transfers"},
                                   {"A2||Article", "B2||Articles", "C2||In", "D2||Out"},
                                   {"A3||Project", "B3||Projects", "F3||Projects", "G3||+"},
                                   {"A4||Agent", "B4||Agents", "F4||In"}})},
    }));
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(Has(read, "<classifier><singular-name ref='A2'>Article</singular-name><plural-name ref='B2'>Articles"
                          "</plural-name><income-tree><category><name ref='C2'>In</name><category><name ref='A2'>"
                          "Salary</name><comment ref='B3'>monthly</comment><category><name ref='A2'>Bonus</name>"
                          "</category></category></category></income-tree><expense-tree><category><name ref='D2'>Out"))
        << read.text;
    EXPECT_TRUE(Has(read, "<use-in-transfers ref='G3'/><single-tree><category><name ref='F3'>Projects</name>"
                          "<comment ref='B6'>root note</comment></category></single-tree>"))
        << read.text;
    EXPECT_EQ(Messages(read),
              "Ошибка: одно и то же название корневой категории использовано более одного раза: 'In', ячейка 'F4', "
              "лист 'Classifiers'\n"
              "Ошибка: Не найден классификатор для категории 'Nowhere\\X'. Ячейка: 'A4', Лист: 'Categories'\n"
              "Ошибка: неверное название у категории 'In\\'. Ячейка: 'A5', Лист: 'Categories'\n");
}

TEST(XlsImport, DamagedSheetsAndCellsGiveMessages)
{
    const TRead read = ReadParts(Workbook({
        {"Currencies", "<worksheet><sheetData><row r='1'><c r='A1'><v>Name</v></c></row>"},
        {"Accounts", "<worksheet><sheetData>"
                     "<row r='2'><c r='B2'><v>RUR</v></c><c r='A2'><v>Cash</v></c></row>"
                     "<row r='1'><c r='A1'><v>Name</v></c><c r='B1'><v>Currency</v></c></row>"
                     "<row r='3'><c r='ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ3'><v>x</v></c><c r='A4'><v>y</v></c>"
                     "<c><v>Next</v></c><c><v>USD</v></c></row>"
                     "<row r='99999999999999999999'><c><v>z</v></c></row></sheetData></worksheet>"},
    }));
    ASSERT_TRUE(read.ok);
    EXPECT_NE(Messages(read).find(" (Лист \"Currencies\")."), std::string::npos) << Messages(read);
    EXPECT_NE(Messages(read).find("Неверная ссылка на ячейку 'ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ3'"), std::string::npos);
    EXPECT_NE(Messages(read).find("Неверная ссылка на ячейку 'A4'"), std::string::npos);
    EXPECT_NE(Messages(read).find("Неверный номер строки '99999999999999999999'"), std::string::npos);
    EXPECT_NE(Messages(read).find("не по порядку"), std::string::npos);
    // Rows and cells are put in place; cells without a reference follow the previous one.
    EXPECT_TRUE(Has(read, "<account><name ref='A2'>Cash</name><currency ref='B2'>RUR</currency></account>"
                          "<account><name ref='A3'>Next</name><currency ref='B3'>USD</currency></account>"))
        << read.text;
}

TEST(XlsImport, FilesThatAreNotWorkbooks)
{
    const std::string notZip = TempPath("not-zip.xlsx");
    WriteBytes(notZip, "plain text, not a package");
    TRead read = ReadWorkbookFile(notZip);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(Messages(read), "Невозможно открыть файл \"" + notZip + "\"\n");

    read = ReadParts({{"xl/other.xml", "<x/>"}}, "no-workbook.xlsx");
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.messages.size(), 1u);

    read = ReadWorkbookFile(TempPath("missing.xlsx"));
    EXPECT_FALSE(read.ok);
}

TEST(XlsImport, WorkbookWrittenByOpenpyxl)
{
    if (!HaveOpenpyxl())
        GTEST_SKIP() << "python3-openpyxl is not installed";
    const std::string path = TempPath("openpyxl.xlsx");
    RunOpenpyxl("write", path);
    const TRead read = ReadWorkbookFile(path);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(Messages(read), "");
    // Sheets in another order are read in the import's order; the user's column is ignored.
    EXPECT_LT(read.text.find("<currencies"), read.text.find("<rates"));
    EXPECT_LT(read.text.find("<rates"), read.text.find("<accounts"));
    for (const char* piece : {
             "<currency><name ref='B2'>Roubles</name><code ref='A2'>RUR</code><precision ref='C2'>2</precision>",
             "<rate><date ref='A2'>2009-01-01</date><currency-1 ref='B2'>RUR</currency-1>",
             "<amount-1 ref='C2'>1.0000</amount-1><amount-2 ref='E2'>25.0000</amount-2>",
             "<name ref='A2'>Rich one</name><currency ref='C2'>RUR</currency><init-balance ref='D2'>1.5000",
             "<init-balance ref='D3'>0.0001</init-balance><locked ref='E3'/>",
             "<init-balance ref='D4'>0.0000</init-balance>",
             "<init-balance ref='D5'>1234567.2500</init-balance>",
             "<init-balance ref='D6'>0.0001</init-balance>",
         })
        EXPECT_TRUE(Has(read, piece)) << piece << "\n" << read.text;
    EXPECT_EQ(read.text.find("anything"), std::string::npos);
}

}  // namespace
