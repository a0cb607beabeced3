// Imports through modules: the built-in XML file module and a scripted module that
// fails where told, with the calling order, the messages and the remembered module.
#include "ImportTestSupport.h"
#include "ModuleTestSupport.h"

#include "core/SettingsBlobs.h"
#include "core/TempFolder.h"
#include "exchange/modules/ImportFromXML.h"
#include "exchange/import/ImportRun.h"
#include "exchange/import/ImportSources.h"

namespace {

using namespace ImportTest;
namespace Settings = UserInterface::Settings;

// Hands out its text from a memory stream and fails the operation it was told to.
class TScriptedModule final : public AImportInterface {
public:
    enum class AFail { Nothing, OpenStream, Begin, End };
    TScriptedModule(std::string text, AFail fail) : text_(std::move(text)), fail_(fail) {}

    std::int32_t GetVersion() override { return kInterfaceVersion; }
    AExportImportBaseInterface* SetTools(APluginTools* tools) override
    {
        tools_ = tools;
        return this;
    }
    const AModuleGuid* GetId() override { return &id_; }
    bool UsesFile() override { return false; }
    const char16_t* GetName() override { return u"Scripted"; }
    bool GetFileName(char16_t*, std::uint32_t) override { return false; }
    const char16_t* GetDefaultExtension() override { return u"txt"; }
    bool HasSettings() override { return false; }
    void ShowSettings(AWindowHandle) override {}
    const char16_t* SetFileName(const char16_t*) override
    {
        calls += "SetFileName ";
        return u"";
    }
    HRESULT OpenStream(IStream** stream) override
    {
        calls += "OpenStream ";
        if (fail_ == AFail::OpenStream)
            return Result::kFail;
        *stream = UtilityClasses::Streams::AMemoryStream::Create(text_).Detach();
        return Result::kOk;
    }
    void Destroy() override { delete this; }
    HRESULT Begin() override
    {
        calls += "Begin ";
        progressWhileRunning = tools_->SetProgress(10);
        tools_->AddWarning(u"from the module");
        return fail_ == AFail::Begin ? Result::kFail : Result::kOk;
    }
    HRESULT End() override
    {
        calls += "End ";
        return fail_ == AFail::End ? Result::kFail : Result::kOk;
    }
    HRESULT Reserved1() override { return Result::kOk; }
    const char16_t* Reserved2() override { return u""; }

    std::string calls;
    HRESULT progressWhileRunning = Result::kFail;

private:
    ~TScriptedModule() = default;
    std::string text_;
    AFail fail_;
    APluginTools* tools_ = nullptr;
    AModuleGuid id_ = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
};

class ImportRunTest : public testing::Test {
protected:
    std::vector<std::string> SessionMessages() const
    {
        std::vector<std::string> texts;
        for (const AModuleMessage& message : session.Messages())
            texts.push_back((message.error ? "E: " : "W: ") + U8(message.text));
        return texts;
    }
    // Takes the module into a source list, which hands it its tools.
    TScriptedModule* Scripted(std::string text, TScriptedModule::AFail fail)
    {
        auto* module = new TScriptedModule(std::move(text), fail);
        source.AddBuiltIn(module);
        return module;
    }

    TImport import;
    ModuleTest::TMemoryOptionStore store;
    AModuleSession session{import.strings, store};
    Private::AImportSource source{session};
    std::unique_ptr<AImportBatch> batch;
};

TEST_F(ImportRunTest, TheXmlModuleReadsAFileAndIsRememberedAfterSaving)
{
    ATempFolder folder;
    const std::string path = folder / "books.xml";
    WriteTextFile(path, Doc("<currencies><currency><name>Рубли</name><code>RUR</code></currency>"
                            "<currency><name>Dollar</name><code>USD</code></currency></currencies>"));
    auto modules = CreateImportSource(session, "");
    ASSERT_GE(modules->Count(), 1u);
    AImportInterface& xml = *modules->Item(0).Module();
    EXPECT_EQ(ModuleIdText(*xml.GetId()), ModuleIdText(FileTypeXML::kImportFromXmlId));
    EXPECT_EQ(std::u16string(xml.GetDefaultExtension()), u"xml");

    ASSERT_TRUE(ReadDocument(xml, import.db, U16(path), session, batch));
    EXPECT_EQ(SessionMessages(),
              std::vector<std::string>{"W: Импортируемая валюта имеет название,\r\nотличное от уже существующего в "
                                       "файле данных.\r\nНовое название будет проигрорировано."});
    EXPECT_EQ(store.strings["fendral:xmlImportFileName"], path);
    EXPECT_FALSE(Settings::LoadLibraryGuid(store, Settings::ALibraryUse::Import));

    ASSERT_EQ(SaveImport(xml, import.db, session, *batch), Result::kOk);
    EXPECT_NE(import.CurrencyCoded(u"USD"), nullptr);
    EXPECT_EQ(Settings::LoadLibraryGuid(store, Settings::ALibraryUse::Import), ToGuid(FileTypeXML::kImportFromXmlId));
}

TEST_F(ImportRunTest, AMissingFileCannotBeOpened)
{
    auto modules = CreateImportSource(session, "");
    const std::u16string path = u"/nonexistent/folder/books.xml";
    EXPECT_FALSE(ReadDocument(*modules->Item(0).Module(), import.db, path, session, batch));
    EXPECT_EQ(SessionMessages(),
              std::vector<std::string>{"E: Невозможно открыть файл \"/nonexistent/folder/books.xml\"."});
}

TEST_F(ImportRunTest, MessagesKeepTheOrderTheyAroseIn)
{
    TScriptedModule* module = Scripted(Doc(Currencies({"USD", "USD"})), TScriptedModule::AFail::End);
    EXPECT_FALSE(ReadDocument(*module, import.db, u"ignored", session, batch));
    // The module uses no file, so it is not given one.
    EXPECT_EQ(module->calls, "OpenStream Begin End ");
    EXPECT_EQ(SessionMessages(),
              (std::vector<std::string>{"W: from the module",
                                        "E: Попытка импортировать одну и ту же валюту более одного раза.",
                                        "E: Неизвестная ошибка модуля импорта."}));
    EXPECT_EQ(module->progressWhileRunning, Result::kOk);
    // Outside the run the module's progress is refused.
    EXPECT_EQ(source.Item(0).Tools().SetProgress(50), Result::kUnexpected);
}

TEST_F(ImportRunTest, AFailingModuleEndsTheReadWithTheUnknownError)
{
    for (const auto fail : {TScriptedModule::AFail::OpenStream, TScriptedModule::AFail::Begin}) {
        TScriptedModule* module = Scripted(Doc(Currencies({"USD"})), fail);
        EXPECT_FALSE(ReadDocument(*module, import.db, u"", session, batch));
        EXPECT_EQ(SessionMessages().back(), "E: Неизвестная ошибка модуля импорта.");
        EXPECT_EQ(module->calls.find("End"), std::string::npos);
    }
}

TEST_F(ImportRunTest, ASecondReadStartsAFreshBatchAndMessageList)
{
    TScriptedModule* module = Scripted(Doc(Currencies({"USD"})), TScriptedModule::AFail::Nothing);
    ASSERT_TRUE(ReadDocument(*module, import.db, u"", session, batch));
    AImportBatch* first = batch.get();
    ASSERT_TRUE(ReadDocument(*module, import.db, u"", session, batch));
    EXPECT_NE(batch.get(), first);
    EXPECT_EQ(batch->Db().Currencies().SlotCount(), 1u);
    EXPECT_EQ(SessionMessages(), std::vector<std::string>{"W: from the module"});
    ASSERT_EQ(SaveImport(*module, import.db, session, *batch), Result::kOk);
    EXPECT_EQ(import.db.Currencies().LiveCount(), 2u);
}

}  // namespace
