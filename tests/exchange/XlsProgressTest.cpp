// The workbook modules move the progress bar: through the tools while a run is on, from
// the start to the end and never back.
#include "ModuleTestSupport.h"
#include "XlsTestSupport.h"

#include "core/CodePage.h"
#include "exchange/modules/PluginTools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using namespace XlsTest;
using namespace ModuleTest;
using namespace ExportImport;

// Enough transactions to fill several runs of rows, so the bar has room to move.
std::string InterchangeText(int transactions)
{
    std::string text = "<?xml version='1.0'?><fendral><export-options><module>{X}</module></export-options>"
                       "<currencies><currency><name>R</name><code>RUR</code><precision>2</precision></currency>"
                       "</currencies><accounts><account><name>Cash</name><currency>RUR</currency></account></accounts>"
                       "<transactions>";
    for (int i = 0; i < transactions; ++i)
        text += "<transaction><date>2009-01-01</date><comment>Покупка " + std::to_string(i) +
                "</comment><income><income-account><name>Cash</name><currency>RUR</currency></income-account>"
                "<income-amount>" + std::to_string(i) + ".0000</income-amount></income></transaction>";
    return text + "</transactions></fendral>";
}

class TRecordingNotifier final : public UtilityClasses::XML::AUserProgressNotifier {
public:
    void Notify(unsigned percent) override { percents.push_back(percent); }
    std::vector<unsigned> percents;
};

void ExpectRisingToTheEnd(const std::vector<unsigned>& percents, const std::string& what)
{
    ASSERT_FALSE(percents.empty()) << what;
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << what;
    EXPECT_EQ(percents.back(), 100u) << what;
    // Not only a jump to the end: the bar moved on the way.
    EXPECT_GE(std::set<unsigned>(percents.begin(), percents.end()).size(), 10u) << what;
}

TEST(XlsProgress, WritingAndReadingRiseToTheEnd)
{
    const std::string path = TempPath("progress.xlsx");
    TRecordingNotifier writing;
    ASSERT_EQ(AExportToXLS::WriteWorkbook(InterchangeText(3000), path, &writing), Result::kOk);
    ExpectRisingToTheEnd(writing.percents, "writing");

    TRecordingNotifier reading;
    std::string text;
    ASSERT_TRUE(AImportFromXLS::ReadWorkbook(path, [](const std::string&) {}, text, AZipReader::kDefaultPartLimit,
                                             &reading));
    ExpectRisingToTheEnd(reading.percents, "reading");
}

// A sheet that must be read whole reads every sheet again; the bar does not go back.
TEST(XlsProgress, ReadingOverAgainNeverGoesBack)
{
    std::vector<std::vector<std::string>> rows{{"A1| t='str'|Name", "B1| t='str'|Currency"}};
    for (int i = 2; i <= 2000; ++i)
        rows.push_back({"A" + std::to_string(i) + "| t='str'|Account " + std::to_string(i),
                        "B" + std::to_string(i) + "| t='str'|RUR"});
    std::string accounts = Worksheet(rows);
    accounts.insert(accounts.find("</sheetData>"), "<row r='5'><c r='A5' t='str'><v>Again</v></c></row>");
    const std::string path = TempPath("again.xlsx");
    WritePackage(path, Workbook({{"Accounts", accounts}}));

    TRecordingNotifier reading;
    std::vector<std::string> messages;
    std::string text;
    ASSERT_TRUE(AImportFromXLS::ReadWorkbook(
        path, [&](const std::string& message) { messages.push_back(message); }, text, AZipReader::kDefaultPartLimit,
        &reading));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(text.find("<name ref='A5'>Again</name>"), std::string::npos);
    ASSERT_FALSE(reading.percents.empty());
    EXPECT_TRUE(std::is_sorted(reading.percents.begin(), reading.percents.end()));
    EXPECT_EQ(reading.percents.back(), 100u);
}

// Through the tools of a running session, as the wizard and the command line see it.
class XlsModuleProgress : public ::testing::Test {
protected:
    UtilityClasses::Strings::AStrings strings{UtilityClasses::Strings::RussianLocale()};
    TMemoryOptionStore store;
    TRecordingDisplay display;
    AModuleSession session{strings, store, &display};
    Private::APluginToolsImpl tools{session, AModuleSession::kProgramModuleName, nullptr};
};

TEST_F(XlsModuleProgress, TheModulesReportThroughTheTools)
{
    const std::string path = TempPath("module-progress.xlsx");
    auto* exporter = new AExportToXLS;
    exporter->SetTools(&tools);
    exporter->SetFileName(UtilityClasses::Strings::Utf8ToUtf16(path).c_str());
    IStream* stream = nullptr;
    ASSERT_EQ(exporter->OpenStream(&stream), Result::kOk);
    const std::string text = InterchangeText(3000);
    ASSERT_EQ(UtilityClasses::Streams::WriteAll(*stream, text), Result::kOk);
    stream->Release();
    session.BeginRun();
    ASSERT_EQ(exporter->End(), Result::kOk);
    session.EndRun();
    exporter->Destroy();
    EXPECT_EQ(display.captions, std::vector<std::u16string>{u"Окончательная обработка экспортируемых данных."});
    ExpectRisingToTheEnd(display.percents, "export");

    display.percents.clear();
    auto* importer = new AImportFromXLS;
    importer->SetTools(&tools);
    importer->SetFileName(UtilityClasses::Strings::Utf8ToUtf16(path).c_str());
    session.BeginRun();
    ASSERT_EQ(importer->OpenStream(&stream), Result::kOk);
    session.EndRun();
    stream->Release();
    importer->Destroy();
    EXPECT_TRUE(session.Clean());
    ExpectRisingToTheEnd(display.percents, "import");
}

}  // namespace
