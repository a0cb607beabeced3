// The workbook export: sheets by section, cells in their forms, the package parts, and
// openpyxl reading what we write.
#include "XlsTestSupport.h"
#include "exchange/workbook/XlsZip.h"

#include <gtest/gtest.h>

namespace {

using namespace XlsTest;

const std::string kRichDocument = std::string(FENDRAL_TEST_DATA) + "/exchange/export-rich.xml";

std::string Doc(const std::string& body)
{
    return "<?xml version='1.0' encoding='utf-8' standalone='yes'?><fendral><export-options><module>{X}</module>"
           "<program-build>235</program-build><export-date>2024-03-05T14:07:09:042</export-date></export-options>" +
           body + "</fendral>";
}

struct TWorkbook {
    HRESULT hr = Result::kFail;
    std::string path;
    std::string Part(const std::string& name) const
    {
        auto zip = AZipReader::Open(path);
        std::string content;
        if (zip)
            zip->Read(name, content);
        return content;
    }
};

TWorkbook Export(const std::string& document, const std::string& name = "export.xlsx")
{
    TWorkbook workbook;
    workbook.path = TempPath(name);
    workbook.hr = AExportToXLS::WriteWorkbook(document, workbook.path);
    return workbook;
}

const std::string kAccounts =
    "<accounts><account><name>Cash</name><currency>RUR</currency><init-balance>-12.5000</init-balance>"
    "<comment>a &lt;b&gt; &apos;c&apos; &amp; &quot;d&quot;</comment></account>"
    "<account><name>Card</name><currency>USD</currency><init-balance>0.0000</init-balance><locked/></account>"
    "</accounts>";

TEST(XlsExport, OnlyAccountsGiveTheAccountsAndOptionsSheets)
{
    const TWorkbook workbook = Export(Doc(kAccounts));
    ASSERT_EQ(workbook.hr, Result::kOk);
    const std::string book = workbook.Part("xl/workbook.xml");
    EXPECT_NE(book.find("<sheet r:id='rId1' sheetId='1' name='Accounts'/><sheet r:id='rId2' sheetId='2' "
                        "name='Export options'/></sheets>"),
              std::string::npos)
        << book;
    EXPECT_EQ(workbook.Part("xl/worksheets/sheet3.xml"), "");
    const std::string types = workbook.Part("[Content_Types].xml");
    EXPECT_NE(types.find("/xl/worksheets/sheet2.xml"), std::string::npos);
    EXPECT_EQ(types.find("/xl/worksheets/sheet3.xml"), std::string::npos);
    const std::string rels = workbook.Part("xl/_rels/workbook.xml.rels");
    EXPECT_NE(rels.find("Target='styles.xml'"), std::string::npos);
    EXPECT_NE(workbook.Part("xl/sharedStrings.xml").find("uniqueCount='0'"), std::string::npos);
    for (const char* part : {"[Content_Types].xml", "_rels/.rels", "xl/styles.xml", "xl/workbook.xml",
                             "xl/_rels/workbook.xml.rels", "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml"})
        EXPECT_EQ(workbook.Part(part).rfind("<?xml version='1.0' encoding='UTF-8' standalone='yes'?>", 0), 0u) << part;
}

TEST(XlsExport, CellsCarryTheirForms)
{
    const std::string sheet = Export(Doc(kAccounts)).Part("xl/worksheets/sheet1.xml");
    for (const char* cell : {
             "<row r='1'><c r='A1' t='str'><v>Name</v></c>",
             "<c r='C2' s='3'><v>-12.5000</v></c>",
             "<c r='D2' t='str' s='2'><v></v></c>",  // unlocked: an empty flag cell
             "<c r='E2' t='str'><v>a &lt;b&gt; &apos;c&apos; &amp; &quot;d&quot;</v></c>",
             "<c r='D3' t='str' s='2'><v>+</v></c>",
             "<cols><col min='1' max='1' width='24' bestFit='1' customWidth='1'/>",
         })
        EXPECT_NE(sheet.find(cell), std::string::npos) << cell << "\n" << sheet;
    EXPECT_EQ(sheet.find("<c r='E3'"), std::string::npos);  // no comment, no cell
}

TEST(XlsExport, SheetNumberingIsContinuous)
{
    const TWorkbook workbook = Export(Doc(
        "<classifiers><classifier><singular-name>S</singular-name><plural-name>P</plural-name><single-tree>"
        "<category><name>Root</name><category><name>Child</name><comment>c</comment></category></category>"
        "</single-tree></classifier></classifiers>"));
    ASSERT_EQ(workbook.hr, Result::kOk);
    EXPECT_NE(workbook.Part("xl/workbook.xml").find("sheetId='1' name='Classifiers'"), std::string::npos);
    const std::string categories = workbook.Part("xl/worksheets/sheet2.xml");
    EXPECT_NE(categories.find("<c r='A3' t='str'><v>Root\\Child</v></c><c r='B3' t='str' s='1'><v>c</v></c>"
                              "<c r='C3' t='str'><v>Root</v></c><c r='D3' t='str'><v>Child</v></c>"),
              std::string::npos)
        << categories;
    EXPECT_NE(workbook.Part("xl/worksheets/sheet1.xml").find("<c r='F2' t='str' s='1'><v>Root</v></c>"),
              std::string::npos);
}

TEST(XlsExport, FailuresAreReportedAndLeaveNothing)
{
    EXPECT_EQ(Export("<fendral><unclosed></fendral>").hr, Result::kFail);
    EXPECT_EQ(Export("<?xml version='1.0'?><other/>").hr, Result::kFail);
    const TWorkbook missing = Export(Doc(""), "no/such/folder/book.xlsx");
    EXPECT_TRUE(Result::Failed(missing.hr));
    const auto folder = std::filesystem::path(TempPath("x")).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(XlsExport, ModuleWritesTheWorkbookAtEndAndRemembersTheFile)
{
    auto* module = new AExportToXLS;
    const std::string path = TempPath("module.xlsx");
    const std::u16string wide(path.begin(), path.end());
    module->SetFileName(wide.c_str());
    EXPECT_EQ(std::u16string(module->GetDefaultExtension()), u"xlsx");
    ExportImport::IStream* stream = nullptr;
    ASSERT_EQ(module->OpenStream(&stream), Result::kOk);
    const std::string text = Doc(kAccounts);
    std::uint32_t written = 0;
    ASSERT_EQ(stream->Write(text.data(), static_cast<std::uint32_t>(text.size()), &written), Result::kOk);
    stream->Release();
    std::filesystem::remove(path);
    ASSERT_EQ(module->End(), Result::kOk);
    EXPECT_TRUE(AZipReader::Open(path));
    module->Destroy();
}

TEST(XlsExport, OpenpyxlReadsTheRichWorkbook)
{
    if (!HaveOpenpyxl())
        GTEST_SKIP() << "python3-openpyxl is not installed";
    const TWorkbook workbook = Export(ReadBytes(kRichDocument), "rich.xlsx");
    ASSERT_EQ(workbook.hr, Result::kOk);
    const std::string dump = RunOpenpyxl("dump", workbook.path);
    for (const char* line : {
             "sheets\tTransactions|Classifiers|Categories|Account plans|Accounts|Currencies|Rates|Export options\n",
             "Transactions\tC2\tdatetime\tm/d/yy h:mm\t2009-01-10 09:05:03\n",
             "Transactions\tD2\tdatetime\tmm-dd-yy\t2009-02-01 00:00:00\n",
             "Transactions\tF2\tstr\t@\tRUR - Карта 'Visa'\n",
             "Transactions\tJ3\tfloat\t#,##0.0000_ ;[Red]\\-#,##0.0000\\ \t-12.3456\n",
             "Transactions\tA2\tstr\t@\t+\n",
             "Transactions\tM2\tstr\t@\tЯнварь & аванс\n",
             "Transactions\tY3\tstr\tGeneral\tВсе статьи расхода\\Дом\\Ремонт\\Краска <белая>\n",
             "Transactions\tX1\tstr\tGeneral\tExtra comment 3\n",
             "Accounts\tD5\tstr\t@\t+\n",
             "Currencies\tC2\tint\tGeneral\t2\n",
             "Rates\tA2\tdatetime\tmm-dd-yy\t2009-01-01 00:00:00\n",
             "Rates\tE4\tfloat\t#,##0.0000_ ;[Red]\\-#,##0.0000\\ \t30.1234\n",
             "Export options\tB4\tdatetime\tm/d/yy h:mm\t2024-03-05 14:07:09.042000\n",
         })
        EXPECT_NE(dump.find(line), std::string::npos) << line << "\n" << dump;
    // Unset flags are empty cells, not values.
    EXPECT_EQ(dump.find("Transactions\tB2\t"), std::string::npos);
}

}  // namespace
