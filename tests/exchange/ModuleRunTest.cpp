// Exports through the built-in XML module: the file, the remembered file and module, and
// what a failure leaves behind.
#include "ExportTestSupport.h"
#include "ModuleTestSupport.h"
#include "core/SettingsBlobs.h"
#include "core/CodePage.h"
#include "core/TempFolder.h"
#include "exchange/export/ExportRun.h"
#include "exchange/export/ExportSources.h"
#include "exchange/modules/XmlExportModule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using namespace ExportTest;
using namespace ModuleTest;
namespace Settings = UserInterface::Settings;
using UtilityClasses::Strings::AStrings;
using UtilityClasses::Strings::RussianLocale;

class ModuleRun : public ::testing::Test {
protected:
    AExportInterface& XmlModule()
    {
        EXPECT_GE(source->Count(), 1u);
        return *source->Item(0).Module();
    }
    AExportRun Run(const std::string& path)
    {
        AExportRun run;
        run.selection = Everything(books.db);
        run.fileName = UtilityClasses::Strings::Utf8ToUtf16(path);
        run.clock = ExportTime;
        return run;
    }

    TRichBooks books;
    AStrings strings{RussianLocale()};
    TMemoryOptionStore store;
    TRecordingDisplay display;
    AModuleSession session{strings, store, &display};
    std::unique_ptr<Private::AExportSource> source = CreateExportSource(session, "");
    ATempFolder folder;
};

TEST_F(ModuleRun, TheXmlModuleDescribesItself)
{
    AExportInterface& xml = XmlModule();
    EXPECT_EQ(xml.GetVersion(), 1);
    EXPECT_TRUE(xml.UsesFile());
    EXPECT_FALSE(xml.HasSettings());
    EXPECT_EQ(std::u16string(xml.GetName()), u"Файл XML");
    EXPECT_EQ(std::u16string(xml.GetDefaultExtension()), u"xml");
    EXPECT_EQ(ModuleIdText(*xml.GetId()), ModuleIdText(FileTypeXML::kExportToXmlId));
    // The name follows the language.
    strings.SetText(766, u"XML file");
    EXPECT_EQ(std::u16string(xml.GetName()), u"XML file");
}

TEST_F(ModuleRun, TheXmlModuleWritesTheDocumentAndRemembersFileAndModule)
{
    const std::string path = folder / "books.xml";
    AExportInterface& xml = XmlModule();
    char16_t buffer[256];
    EXPECT_FALSE(xml.GetFileName(buffer, 256));

    ASSERT_EQ(RunExport(xml, books.db, Run(path), session), Result::kOk);
    EXPECT_TRUE(session.Clean());

    AExportSelection selection = Everything(books.db);
    selection.module = FileTypeXML::kExportToXmlId;
    EXPECT_EQ(ReadTextFile(path), ExportText(books.db, selection));
    EXPECT_EQ(store.strings.at("fendral:xmlExportFileName"), path);
    ASSERT_TRUE(xml.GetFileName(buffer, 256));
    EXPECT_EQ(UtilityClasses::Strings::Utf16ToUtf8(buffer), path);
    EXPECT_EQ(Settings::LoadLibraryGuid(store, Settings::ALibraryUse::Export), ToGuid(FileTypeXML::kExportToXmlId));

    // The bar went through the section captions to the end.
    EXPECT_EQ(display.captions.front(), u"Валюты");
    EXPECT_EQ(display.captions.back(), u"Операции");
    ASSERT_FALSE(display.percents.empty());
    EXPECT_TRUE(std::is_sorted(display.percents.begin(), display.percents.end()));
    EXPECT_GE(display.percents.back(), 80u);
}

TEST_F(ModuleRun, AFileThatCannotBeCreatedIsReportedWithTheSystemsText)
{
    const std::string path = folder / "missing/books.xml";
    const HRESULT hr = RunExport(XmlModule(), books.db, Run(path), session);
    EXPECT_EQ(hr, Result::FromErrno(ENOENT));
    ASSERT_EQ(session.Messages().size(), 1u);
    EXPECT_TRUE(session.Messages()[0].error);
    EXPECT_EQ(session.Messages()[0].text, u"Невозможно создать файл \"" + UtilityClasses::Strings::Utf8ToUtf16(path) +
                                              u"\".\r\n\r\n" +
                                              UtilityClasses::Strings::Utf8ToUtf16(std::strerror(ENOENT)));
    EXPECT_FALSE(Settings::LoadLibraryGuid(store, Settings::ALibraryUse::Export));
    EXPECT_EQ(store.strings.count("fendral:xmlExportFileName"), 0u);
}

TEST_F(ModuleRun, WithoutEndTheOldFileStaysAsItWas)
{
    const std::string path = folder / "books.xml";
    WriteTextFile(path, "old content");
    AExportInterface& xml = XmlModule();
    xml.SetFileName(UtilityClasses::Strings::Utf8ToUtf16(path).c_str());
    {
        UtilityClasses::ARefPtr<IStream> stream;
        ASSERT_EQ(xml.OpenStream(stream.Out()), Result::kOk);
        ASSERT_EQ(UtilityClasses::Streams::WriteAll(*stream, "<fendral>half a docu"), Result::kOk);
    }
    // A second attempt drops the first one's unfinished file.
    {
        UtilityClasses::ARefPtr<IStream> stream;
        ASSERT_EQ(xml.OpenStream(stream.Out()), Result::kOk);
    }
    source.reset();  // destroys the module without End
    EXPECT_EQ(ReadTextFile(path), "old content");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST_F(ModuleRun, EndWithoutAStreamIsRefused)
{
    EXPECT_EQ(XmlModule().End(), Result::kUnexpected);
    UtilityClasses::ARefPtr<IStream> stream;
    // No file chosen: nothing to open.
    EXPECT_TRUE(Result::Failed(XmlModule().OpenStream(stream.Out())));
    EXPECT_FALSE(stream);
}

TEST_F(ModuleRun, ExportFailureMessages)
{
    EXPECT_EQ(ExportFailureMessage(strings, u"a.xml", Result::kAccessDenied),
              u"Невозможно создать файл \"a.xml\".\r\n\r\n" + UtilityClasses::Strings::Utf8ToUtf16(std::strerror(EACCES)));
    EXPECT_EQ(ExportFailureMessage(strings, u"a.xml", Result::kFail),
              u"Невозможно создать файл \"a.xml\".\r\n\r\nUnspecified error");
    // A code the system can't describe gives the module's unknown error alone.
    EXPECT_EQ(ExportFailureMessage(strings, u"a.xml", Result::Code(0x80041234)),
              u"Модуль экспорта сообщил о неизвестной ошибке.");
    // The failing part of the system text is the language's.
    strings.SetText(769, u"Cannot create \"#s\": #s");
    EXPECT_EQ(ExportFailureMessage(strings, u"a.xml", Result::kFail), u"Cannot create \"a.xml\": Unspecified error");
}

}  // namespace
