// The sample CSV plug-in through the program's own calling order: export, import and
// round trip, and its readers fed damaged input.
#include "ExportTestSupport.h"
#include "ModuleTestSupport.h"
#include "core/CodePage.h"
#include "core/TempFolder.h"
#include "exchange/export/ExportRun.h"
#include "exchange/import/ImportRun.h"
#include "exchange/modules/ModuleSource.h"
#include "exchange/xml/xmlReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

using namespace ExportTest;
using namespace ModuleTest;
using UtilityClasses::Strings::Utf16ToUtf8;
using UtilityClasses::Strings::Utf8ToUtf16;

const std::string kCsvPlugin = std::string(FENDRAL_PLUGIN_DIR) + "/csvexchange.so";

class PluginCsv : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(exports.LoadPlugin(kCsvPlugin), 1u);
        ASSERT_EQ(imports.LoadPlugin(kCsvPlugin), 1u);
    }
    AExportInterface& Exporter() { return *exports.Item(0).Module(); }
    AImportInterface& Importer() { return *imports.Item(0).Module(); }

    HRESULT ExportCsv(ADatabase& db, const std::string& path)
    {
        AExportRun run;
        run.selection = Everything(db);
        run.fileName = Utf8ToUtf16(path);
        run.clock = ExportTime;
        return RunExport(Exporter(), db, run, session);
    }

    // The document the import module hands over for the file: OpenStream, Begin, the
    // whole stream read (size first), End.
    std::string ImportedDocument(const std::string& path)
    {
        Importer().SetFileName(Utf8ToUtf16(path).c_str());
        UtilityClasses::ARefPtr<IStream> stream;
        if (Result::Failed(Importer().OpenStream(stream.Out())) || !stream)
            return "open failed";
        EXPECT_EQ(Importer().Begin(), Result::kOk);
        std::uint64_t size = 0;
        EXPECT_EQ(stream->Seek(0, UtilityClasses::Streams::ESeekOrigin::End, &size), Result::kOk);
        EXPECT_EQ(stream->Seek(0, UtilityClasses::Streams::ESeekOrigin::Set, nullptr), Result::kOk);
        std::string text;
        EXPECT_EQ(UtilityClasses::Streams::ReadToEnd(*stream, &text, 1u << 30), Result::kOk);
        EXPECT_EQ(text.size(), size);
        EXPECT_EQ(Importer().End(), Result::kOk);
        return text;
    }

    std::vector<std::u16string> Warnings() const
    {
        std::vector<std::u16string> texts;
        for (const AModuleMessage& message : session.Messages())
            texts.push_back(message.text);
        return texts;
    }

    UtilityClasses::Strings::AStrings strings{UtilityClasses::Strings::RussianLocale()};
    TMemoryOptionStore store;
    TRecordingDisplay display;
    AModuleSession session{strings, store, &display};
    Private::AExportSource exports{session};
    Private::AImportSource imports{session};
    ATempFolder folder;
};

TEST_F(PluginCsv, ModulesDescribeThemselves)
{
    EXPECT_EQ(std::u16string(Exporter().GetName()), u"Операции в файле CSV");
    EXPECT_EQ(std::u16string(Importer().GetDefaultExtension()), u"csv");
    EXPECT_TRUE(Exporter().UsesFile());
    EXPECT_NE(ModuleIdText(*Exporter().GetId()), ModuleIdText(*Importer().GetId()));
    EXPECT_EQ(Importer().Reserved1(), Result::kOk);
    EXPECT_EQ(std::u16string(Importer().Reserved2()), u"");
}

TEST_F(PluginCsv, ExportWritesOneLinePerTransaction)
{
    TRichBooks books;
    const std::string path = folder / "books.csv";
    ASSERT_EQ(ExportCsv(books.db, path), Result::kOk);
    EXPECT_TRUE(session.Clean());
    EXPECT_EQ(ReadTextFile(path),
              "date,kind,executed,account,currency,amount,to_account,to_currency,to_amount,comment\r\n"
              "2009-01-10T09:05:03:000,income,1,Карта 'Visa',RUR,50000.0000,,,,Январь & аванс\r\n"
              "2009-01-11T18:00:00:000,expense,1,Карта 'Visa',RUR,-12.3456,,,,\r\n"
              "2009-01-12T00:00:00:000,transfer,1,Карта 'Visa',RUR,-3000.0000,Доллары,USD,100.0000,\r\n"
              "2009-01-12T00:00:00:000,transfer,1,Доллары,USD,-10.0000,Наличные,RUR,300.0000,\r\n"
              "2009-01-13T00:00:00:000,balance,1,Евро,EUR,20.0000,,,,\r\n"
              "2009-02-01T00:00:00:000,balance,0,Наличные,RUR,999.0000,,,,\r\n"
              "2009-02-02T00:00:00:000,expense,0,Наличные,RUR,-500.0000,,,,\r\n"
              "2009-02-05T00:00:00:000,expense,0,Наличные,RUR,-7000.0000,,,,\r\n");
    // The module's own caption and progress reached the display; its file is remembered.
    EXPECT_EQ(display.captions.back(), u"Операции");
    EXPECT_EQ(display.percents.back(), 100u);
    EXPECT_EQ(store.strings.at("csvexchange.so:csvExportFileName"), path);
    char16_t buffer[256];
    ASSERT_TRUE(Exporter().GetFileName(buffer, 256));
    EXPECT_EQ(Utf16ToUtf8(buffer), path);
}

TEST_F(PluginCsv, ExportWithoutTransactionsWarns)
{
    TBooks books;
    const std::string path = folder / "empty.csv";
    ASSERT_EQ(ExportCsv(books.db, path), Result::kOk);
    EXPECT_EQ(Warnings(), std::vector<std::u16string>{u"В документе нет операций."});
    EXPECT_EQ(ReadTextFile(path), "date,kind,executed,account,currency,amount,to_account,to_currency,to_amount,comment\r\n");
}

TEST_F(PluginCsv, ImportMakesADocumentAndWarnsAboutBadRecords)
{
    const std::string path = folder / "bank.csv";
    WriteTextFile(path,
                  "date,kind,executed,account,currency,amount,to_account,to_currency,to_amount,comment\n"
                  "2009-03-01,expense,1,Наличные,RUR,-10.5,,,,\"Кафе, \"\"У моря\"\"\"\n"
                  "2009-03-02,gift,1,Наличные,RUR,1,,,,\n"
                  "\n"
                  "2009-03-03,transfer,0,Наличные,RUR,-100,Карта,RUR,100\n"
                  "2009-03-04,income,1,Наличные,RUR,много,,,,\n");
    const std::string document = ImportedDocument(path);
    const std::string transactions = ElementText(document, "transactions");
    EXPECT_EQ(transactions,
              "<transactions><transaction><date>2009-03-01</date><expense><executed/><expense-account>"
              "<name>Наличные</name><currency>RUR</currency></expense-account><expense-amount>-10.5</expense-amount>"
              "</expense><comment>Кафе, &quot;У моря&quot;</comment></transaction><transaction><date>2009-03-03</date>"
              "<transfer><expense-account><name>Наличные</name><currency>RUR</currency></expense-account>"
              "<expense-amount>-100</expense-amount><income-account><name>Карта</name><currency>RUR</currency>"
              "</income-account><income-amount>100</income-amount></transfer></transaction></transactions>");
    EXPECT_EQ(Warnings(), (std::vector<std::u16string>{u"CSV record 3 is left out: unknown kind \"gift\"",
                                                        u"CSV record 6 is left out: a date, an account and an amount "
                                                        u"are needed"}));
    EXPECT_EQ(store.strings.at("csvexchange.so:csvImportFileName"), path);
    // The accounts and currencies the transactions name come along.
    EXPECT_EQ(ElementText(document, "accounts"),
              "<accounts><account><name>Наличные</name><currency>RUR</currency></account><account><name>Карта</name>"
              "<currency>RUR</currency></account></accounts>");
    EXPECT_EQ(ElementText(document, "currencies"),
              "<currencies><currency><name>RUR</name><code>RUR</code></currency></currencies>");
}

TEST_F(PluginCsv, RoundTripThroughTheImport)
{
    TRichBooks books;
    const std::string path = folder / "books.csv";
    ASSERT_EQ(ExportCsv(books.db, path), Result::kOk);
    const std::size_t before = books.db.Transactions().LiveCount();

    std::unique_ptr<AImportBatch> batch;
    ASSERT_TRUE(ReadDocument(Importer(), books.db, Utf8ToUtf16(path), session, batch));
    ASSERT_EQ(SaveImport(Importer(), books.db, session, *batch), Result::kOk);
    // A CSV file names currencies by code only, so the three existing ones differ in name.
    EXPECT_EQ(session.ErrorCount(), 0u);
    EXPECT_EQ(session.WarningCount(), 3u);
    EXPECT_EQ(books.db.Transactions().LiveCount(), 2 * before);

    // Exported again, every line of the first file is there twice.
    const std::string again = folder / "again.csv";
    ASSERT_EQ(ExportCsv(books.db, again), Result::kOk);
    const std::string first = ReadTextFile(path);
    const std::string second = ReadTextFile(again);
    for (std::size_t start = first.find("\r\n") + 2, end; (end = first.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string line = first.substr(start, end + 2 - start);
        const std::size_t at = second.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_NE(second.find(line, at + 1), std::string::npos) << line;
    }
}

// ---- damaged input: never a crash, and every document made is well formed ----

void ExpectWellFormed(const std::string& document, const std::string& what)
{
    UtilityClasses::XML::ADocument parsed;
    const auto result = UtilityClasses::XML::ParseDocument(parsed, document);
    EXPECT_TRUE(result.Ok()) << what << " code " << result.code << " at " << result.line << ":" << result.column;
}

TEST_F(PluginCsv, ImportOfRandomAndCutFilesGivesWellFormedDocuments)
{
    const std::string good = "date,kind,executed,account,currency,amount,to_account,to_currency,to_amount,comment\n"
                             "2009-03-01,expense,1,\"Нал, ичные\",RUR,-10.5,,,,\"a \"\"b\"\" <c> & d\"\n"
                             "2009-03-03,transfer,0,Наличные,RUR,-100,Карта,RUR,100,x\n";
    const std::string path = folder / "fuzz.csv";
    for (std::size_t length = 0; length <= good.size(); ++length) {
        WriteTextFile(path, good.substr(0, length));
        ExpectWellFormed(ImportedDocument(path), "cut at " + std::to_string(length));
    }
    std::mt19937 random(20240305);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = good;
        for (int flips = 0; flips < 4; ++flips)
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        if (round % 4 == 0) {
            bytes.resize(random() % 300);
            for (char& c : bytes)
                c = static_cast<char>(random() % 256);
        }
        WriteTextFile(path, bytes);
        ExpectWellFormed(ImportedDocument(path), "round " + std::to_string(round));
    }
}

TEST_F(PluginCsv, ImportRefusesMissingAndHugeFiles)
{
    Importer().SetFileName(Utf8ToUtf16(folder / "missing.csv").c_str());
    UtilityClasses::ARefPtr<IStream> stream;
    EXPECT_TRUE(Result::Failed(Importer().OpenStream(stream.Out())));
    EXPECT_FALSE(stream);

    const std::string huge = folder / "huge.csv";
    WriteTextFile(huge, "");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 32);  // sparse: no disk used
    Importer().SetFileName(Utf8ToUtf16(huge).c_str());
    EXPECT_TRUE(Result::Failed(Importer().OpenStream(stream.Out())));
    EXPECT_FALSE(stream);
}

// Hands the export module a document directly, as the program would, and ends it.
HRESULT ExportDocumentText(AExportInterface& module, const std::string& path, const std::string& document)
{
    module.SetFileName(Utf8ToUtf16(path).c_str());
    UtilityClasses::ARefPtr<IStream> stream;
    if (Result::Failed(module.OpenStream(stream.Out())))
        return Result::kFail;
    EXPECT_EQ(UtilityClasses::Streams::WriteAll(*stream, document), Result::kOk);
    stream.Reset();
    return module.End();
}

TEST_F(PluginCsv, ExportOfCutFlippedAndDeepDocumentsNeverCrashes)
{
    TRichBooks books;
    const std::string document = ExportText(books.db);
    const std::string path = folder / "out.csv";
    int refused = 0;
    for (std::size_t length = 0; length < document.size(); length += 7)
        refused += Result::Failed(ExportDocumentText(Exporter(), path, document.substr(0, length)));
    // Only complete documents are taken.
    EXPECT_EQ(refused, static_cast<int>((document.size() + 6) / 7));
    EXPECT_EQ(ExportDocumentText(Exporter(), path, document), Result::kOk);

    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = document;
        for (int flips = 0; flips < 3; ++flips)
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        ExportDocumentText(Exporter(), path, bytes);
    }
    // Nesting far deeper than any document has is refused, not a stack overflow.
    std::string deep = "<fendral>";
    for (int level = 0; level < 100000; ++level)
        deep += "<a>";
    EXPECT_TRUE(Result::Failed(ExportDocumentText(Exporter(), path, deep)));
    EXPECT_EQ(session.Messages().back().text, u"Полученный документ повреждён.");
}

}  // namespace
