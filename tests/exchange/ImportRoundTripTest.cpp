// The rich books exported, imported into a new data file and exported again give the same
// document; so does the same document taken through a workbook.
#include "ExportTestSupport.h"
#include "ImportTestSupport.h"
#include "XlsTestSupport.h"

#include "database/Recurrence.h"

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

// Account plans stay in the data file: the import does not read them.
std::string WithoutAccountPlans(std::string text)
{
    const auto open = text.find("<account-plans>");
    const auto close = text.find("</account-plans>");
    if (open != std::string::npos && close != std::string::npos)
        text.erase(open, close + 16 - open);
    return text;
}

// Into a new data file without the defaults, which would match the books' and keep their values.
std::string ImportedAndExported(const std::string& document)
{
    ImportTest::TImport import(false);
    SwitchFeaturesOn(import.db);
    import.Import(document);
    return WithoutAccountPlans(ExportTest::ExportText(import.db));
}

void ExpectEveryPart(const std::string& text, std::initializer_list<const char*> parts)
{
    for (const char* part : parts)
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST(ImportRoundTrip, ExportImportExportGivesTheSameDocument)
{
    ExportTest::TRichBooks books;
    books.Step([&] {
        // The last working day of every month, regenerated, until a date.
        Database::Recurrence::ARule rule;
        rule.active = true;
        rule.kind = static_cast<std::uint8_t>(Database::Recurrence::AKind::MonthNth);
        rule.maskOrSelector = Database::Recurrence::kWorkingDay;
        rule.instance = Database::Recurrence::kLastInstance;
        rule.interval = 1;
        rule.endsAtDate = true;
        rule.end = ExportTest::Day(2010, 1, 1);
        rule.regenerate = true;
        auto t = ExportTest::TBooks::Planned(books.card, ExportTest::M(50), ExportTest::Day(2009, 3, 3));
        t.recurrence = rule.Word();
        t.recurrenceCount = rule.CountWord();
        t.recurrenceEnd = rule.end;
        books.Add(t);
    });
    const std::string document = WithoutAccountPlans(ExportTest::ExportText(books.db));
    EXPECT_EQ(ImportedAndExported(document), document);
    ExpectEveryPart(document, {"<rate>", "<recurrence type='weekly'>", "<recurrence type='month-nth'>", "<regenerate/>",
                               "<end-date>", "<transfer>", "<balance>", "<extra-comment n='3'>", "<transfer-tree>",
                               "<use-in-transfers/>", "<locked/>", "<quantity>", "<budget-date>", "T09:05:03:000"});
}

TEST(ImportRoundTrip, WorkbookImportGivesTheSameRecordsAsTheDocument)
{
    ExportTest::TRichBooks books;
    const std::string document = ExportTest::ExportText(books.db);

    const std::string path = XlsTest::TempPath("round-trip.xlsx");
    ASSERT_EQ(XlsTest::AExportToXLS::WriteWorkbook(document, path), Result::kOk);
    const XlsTest::TRead read = XlsTest::ReadWorkbookFile(path);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.messages, std::vector<std::string>{});

    const std::string throughWorkbook = ImportedAndExported(read.text);
    EXPECT_EQ(ImportedAndExported(document), throughWorkbook);
    ExpectEveryPart(throughWorkbook, {"<rate>", "<transfer>", "<balance>", "<recurrence type=", "<extra-comment n='3'>",
                                      "<transfer-tree>", "<locked/>", "<quantity>", "<budget-date>", "T09:05:03:000",
                                      "Краска &lt;белая&gt;", "<comment>Всё для ремонта</comment>"});
}

}  // namespace
