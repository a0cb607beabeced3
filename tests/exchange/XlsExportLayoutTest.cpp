// The workbook export reads a large document a run of items at a time: the workbook
// stays what the document says whatever the layout of its sections, and a category
// column first named far into the transactions still gets its header.
#include "XlsTestSupport.h"
#include "exchange/workbook/XlsZip.h"

#include <gtest/gtest.h>

namespace {

using namespace XlsTest;

const std::string kOptions = "<export-options><module>{X}</module><time/></export-options>";
const std::string kCurrencies =
    "<currencies><currency><name>R</name><code>RUR</code><precision>2</precision></currency></currencies>";
const std::string kClassifiers = "<classifiers><classifier><singular-name>P</singular-name><plural-name>Ps"
                                 "</plural-name><single-tree><category><name>All</name></category></single-tree>"
                                 "</classifier></classifiers>";

// More transactions than one run holds; from `lateFrom` on every third names a
// classifier the list does not hold.
std::string Transactions(int count, int lateFrom = -1)
{
    std::string text = "<transactions>";
    for (int i = 0; i < count; ++i) {
        std::string categories = "<category classifier='P'><name>All</name></category>";
        if (lateFrom >= 0 && i >= lateFrom && i % 3 == 0)
            categories += "<category classifier='Late'><name>L" + std::to_string(i) + "</name></category>";
        text += "<transaction><date>2009-01-01T10:00:00:000</date><income><income-account><name>Cash</name>"
                "<currency>RUR</currency></income-account><income-amount>" + std::to_string(i) +
                ".0000</income-amount>" + categories + "</income></transaction>";
    }
    return text + "</transactions>";
}

std::string Doc(const std::string& body) { return "<?xml version='1.0'?><fendral>" + body + "</fendral>"; }

std::string Package(const std::string& document, const std::string& name)
{
    const std::string path = TempPath(name);
    EXPECT_EQ(AExportToXLS::WriteWorkbook(document, path), Result::kOk) << name;
    return ReadBytes(path);
}

TEST(XlsExportLayout, TheLayoutOfTheSectionsDoesNotChangeTheWorkbook)
{
    const std::string transactions = Transactions(700);
    const std::string expected = Package(Doc(kOptions + kCurrencies + kClassifiers + transactions), "plain.xlsx");
    const struct {
        const char* what;
        std::string document;
    } layouts[] = {
        {"reversed", Doc(transactions + kClassifiers + kCurrencies + kOptions)},
        {"later sections of a name", Doc(kOptions + kCurrencies + kClassifiers + transactions + Transactions(3) +
                                         "<currencies><currency><name>X</name></currency></currencies>")},
        {"empty sections", Doc("<rates/><accounts> </accounts>" + kOptions + kCurrencies + kClassifiers +
                               transactions + "<account-plans><!-- none --></account-plans>")},
        {"other nodes between", Doc("<!-- a --><other><transactions/></other>" + kOptions + " text " + kCurrencies +
                                    "<other/>" + kClassifiers + transactions + "<!-- b -->") +
                                    "<!-- after -->"},
    };
    for (const auto& layout : layouts)
        EXPECT_EQ(Package(layout.document, "layout.xlsx"), expected) << layout.what;
}

TEST(XlsExportLayout, AClassifierFirstNamedLateGetsItsColumnHeader)
{
    const std::string path = TempPath("late.xlsx");
    ASSERT_EQ(AExportToXLS::WriteWorkbook(Doc(kOptions + kClassifiers + Transactions(700, 600)), path), Result::kOk);
    std::string sheet;
    ASSERT_EQ(AZipReader::Open(path)->Read("xl/worksheets/sheet1.xml", sheet), AZipReadError::None);
    // P from the list in column W, Late after it at the end of the header row; the 601st
    // transaction is row 602.
    const std::size_t header =
        sheet.find("<c r='W1' t='str'><v>Category of P</v></c><c r='X1' t='str'><v>Category of Late</v></c></row>");
    EXPECT_LT(header, sheet.find("<row r='2'>"));
    EXPECT_NE(sheet.find("<c r='X602' t='str'><v>L600</v></c>"), std::string::npos);
    EXPECT_EQ(sheet.find("<c r='X601'"), std::string::npos);
}

}  // namespace
