// A data file exported to a workbook and imported into a new data file holds the same
// records as one that took the interchange document directly.
#include "ExportTestSupport.h"
#include "ImportTestSupport.h"
#include "XlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The features of the rich books, switched on in a new file before the import.
void SwitchFeaturesOn(Database::ADatabase& db)
{
    db.BeginStep();
    ExportTest::ADBSettings& features = ExportTest::ChangeFeatures(db);
    features.accountFolders = features.budgetDates = features.quantities = features.times = 1;
    features.extraCommentInUse[0] = features.extraCommentInUse[2] = 1;
    features.extraCommentCaption[0] = db.NewText(u"Чек");
    features.extraCommentCaption[2] = db.NewText(u"Место & <время>");
    features.accountPlans = 1;
    db.CommitStep();
}

// Account plans stay in the data file: the workbook import does not read them.
std::string WithoutAccountPlans(std::string text)
{
    const auto open = text.find("<account-plans>");
    const auto close = text.find("</account-plans>");
    if (open != std::string::npos && close != std::string::npos)
        text.erase(open, close + 16 - open);
    return text;
}

std::string ImportedAndExported(const std::string& document)
{
    ImportTest::TImport import(false);
    SwitchFeaturesOn(import.db);
    import.Import(document);
    return WithoutAccountPlans(ExportTest::ExportText(import.db));
}

TEST(XlsRoundTrip, WorkbookImportGivesTheSameRecordsAsTheDocument)
{
    ExportTest::TRichBooks books;
    const std::string document = ExportTest::ExportText(books.db);

    const std::string path = XlsTest::TempPath("round-trip.xlsx");
    ASSERT_EQ(XlsTest::AExportToXLS::WriteWorkbook(document, path), Result::kOk);
    const XlsTest::TRead read = XlsTest::ReadWorkbookFile(path);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.messages, std::vector<std::string>{});

    const std::string direct = ImportedAndExported(document);
    const std::string throughWorkbook = ImportedAndExported(read.text);
    EXPECT_EQ(direct, throughWorkbook);
    for (const char* part : {"<rate>", "<transfer>", "<balance>", "<recurrence type=", "<extra-comment n='3'>",
                             "<transfer-tree>", "<locked/>", "<quantity>", "<budget-date>", "T09:05:03:000",
                             "Краска &lt;белая&gt;", "<comment>Всё для ремонта</comment>"})
        EXPECT_NE(throughWorkbook.find(part), std::string::npos) << part;
}

}  // namespace
