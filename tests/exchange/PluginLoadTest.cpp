// Plug-in libraries: which lists they join, skipped slots, unloading, and the calling
// order of an export through a plug-in's module.
#include "ExportTestSupport.h"
#include "ModuleTestSupport.h"
#include "core/CodePage.h"
#include "core/SettingsBlobs.h"
#include "core/TempFolder.h"
#include "exchange/export/ExportRun.h"
#include "exchange/modules/ModuleSource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <filesystem>

namespace {

using namespace ExportTest;
using namespace ModuleTest;
using Private::AExportSource;
using Private::AImportSource;
using UtilityClasses::Strings::AStrings;
using UtilityClasses::Strings::RussianLocale;

const std::string kPluginFolder = FENDRAL_TEST_PLUGIN_DIR;
const std::string kGaps = kPluginFolder + "/testplugin_gaps.so";
const std::string kImportOnly = kPluginFolder + "/testplugin_import_only.so";
const std::string kEmpty = kPluginFolder + "/testplugin_empty.so";

bool Loaded(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// The log of a loaded test plug-in, and its failure switch.
class TPluginControl {
public:
    explicit TPluginControl(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD))
    {
        if (handle_) {
            log_ = reinterpret_cast<const char* (*)()>(dlsym(handle_, "TestPluginLog"));
            failAt_ = reinterpret_cast<void (*)(const char*)>(dlsym(handle_, "TestPluginFailAt"));
        }
    }
    ~TPluginControl()
    {
        if (handle_)
            dlclose(handle_);
    }
    bool Ok() const { return log_ && failAt_; }
    // Without the releases of earlier streams, which depend on the runs before.
    std::string Log() const
    {
        std::string log = log_();
        for (std::size_t at; (at = log.find("Release stream;")) != std::string::npos;)
            log.erase(at, 15);
        return log;
    }
    void FailAt(const char* slot) const { failAt_(slot); }

private:
    void* handle_;
    const char* (*log_)() = nullptr;
    void (*failAt_)(const char*) = nullptr;
};

class PluginLoad : public ::testing::Test {
protected:
    AStrings strings{RussianLocale()};
    TMemoryOptionStore store;
    TRecordingDisplay display;
    AModuleSession session{strings, store, &display};
};

TEST_F(PluginLoad, ANullInterfaceSkipsOnlyItsIndex)
{
    AExportSource source(session);
    EXPECT_EQ(source.LoadPlugin(kGaps), 2u);
    ASSERT_EQ(source.Count(), 2u);
    EXPECT_EQ(source.Item(0).Module()->GetId()->data1, 0xAABBCC00u);
    EXPECT_EQ(source.Item(1).Module()->GetId()->data1, 0xAABBCC02u);
    EXPECT_EQ(source.Item(0).Library()->FileName(), "testplugin_gaps.so");
    TPluginControl control(kGaps);
    ASSERT_TRUE(control.Ok());
    // Every module got its tools as it was added, before anything else.
    EXPECT_EQ(control.Log(), "SetTools 0;SetTools 2;");
}

TEST_F(PluginLoad, ALibraryWithOnlyImportFunctionsIsOnlyAnImportSource)
{
    {
        AExportSource exports(session);
        EXPECT_EQ(exports.LoadPlugin(kImportOnly), 0u);
        EXPECT_EQ(exports.Count(), 0u);
        EXPECT_FALSE(Loaded(kImportOnly));  // unloaded again
        AImportSource imports(session);
        EXPECT_EQ(imports.LoadPlugin(kImportOnly), 1u);
        EXPECT_EQ(std::u16string(imports.Item(0).Module()->GetName()), u"Первый модуль");
        EXPECT_TRUE(Loaded(kImportOnly));
    }
    EXPECT_FALSE(Loaded(kImportOnly));
    // And the other way round.
    AImportSource imports(session);
    EXPECT_EQ(imports.LoadPlugin(kGaps), 0u);
    EXPECT_FALSE(Loaded(kGaps));
}

TEST_F(PluginLoad, LibrariesOfferingNothingAreUnloaded)
{
    AExportSource exports(session);
    AImportSource imports(session);
    EXPECT_EQ(exports.LoadPlugin(kEmpty), 0u);
    EXPECT_EQ(imports.LoadPlugin(kEmpty), 0u);
    EXPECT_FALSE(Loaded(kEmpty));
    EXPECT_EQ(exports.LoadPlugin(kPluginFolder + "/no-such.so"), 0u);
}

TEST_F(PluginLoad, DestroyingTheListDestroysModulesThenUnloads)
{
    auto source = std::make_unique<AExportSource>(session);
    source->LoadPlugin(kGaps);
    {
        TPluginControl control(kGaps);
        ASSERT_TRUE(control.Ok());
        control.FailAt("");  // clears the log
    }
    // Watch the log through a handle of our own, which keeps the library loaded.
    void* own = dlopen(kGaps.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(own, nullptr);
    auto log = reinterpret_cast<const char* (*)()>(dlsym(own, "TestPluginLog"));
    source.reset();
    EXPECT_EQ(std::string(log()), "Destroy 2;Destroy 0;");
    dlclose(own);
    EXPECT_FALSE(Loaded(kGaps));
}

TEST_F(PluginLoad, AFolderIsSearchedForSharedLibrariesOnly)
{
    ATempFolder folder;
    std::filesystem::copy_file(kGaps, folder / "b-gaps.so");
    std::filesystem::copy_file(kImportOnly, folder / "a-import.so");
    std::filesystem::copy_file(kGaps, folder / "c-gaps.so.bak");
    WriteTextFile(folder / "broken.so", "not a library at all");
    std::filesystem::create_directory(folder / "folder.so");

    AExportSource exports(session);
    EXPECT_EQ(exports.LoadPlugins(folder.Path()), 2u);
    ASSERT_EQ(exports.Count(), 2u);
    EXPECT_EQ(exports.Item(0).Library()->FileName(), "b-gaps.so");
    AImportSource imports(session);
    EXPECT_EQ(imports.LoadPlugins(folder.Path()), 1u);
    EXPECT_EQ(imports.Item(0).Library()->FileName(), "a-import.so");
    EXPECT_EQ(imports.LoadPlugins(folder / "missing"), 0u);
}

TEST_F(PluginLoad, ModulesAreFoundByTheirIdentifier)
{
    AExportSource source(session);
    source.LoadPlugin(kGaps);
    const AModuleGuid second = *source.Item(1).Module()->GetId();
    ASSERT_NE(source.FindById(ToGuid(second)), nullptr);
    EXPECT_EQ(source.FindById(ToGuid(second))->Module(), source.Item(1).Module());
    EXPECT_EQ(source.FindById(AGuid{}), nullptr);
}

class PluginExport : public PluginLoad {
protected:
    void SetUp() override
    {
        source.LoadPlugin(kGaps);
        controlHolder = std::make_unique<TPluginControl>(kGaps);  // the library is loaded now
        ASSERT_TRUE(control().Ok());
        control().FailAt("");
    }
    AExportRun Run()
    {
        AExportRun run;
        run.selection = Everything(books.db);
        run.fileName = u"/tmp/chosen.log";
        run.clock = ExportTime;
        return run;
    }
    std::vector<std::u16string> MessageTexts() const
    {
        std::vector<std::u16string> texts;
        for (const AModuleMessage& message : session.Messages())
            texts.push_back((message.error ? u"E: " : u"W: ") + message.text);
        return texts;
    }

    TRichBooks books;
    AExportSource source{session};
    std::unique_ptr<TPluginControl> controlHolder;
    TPluginControl& control() { return *controlHolder; }
};

TEST_F(PluginExport, TheCallingOrder)
{
    AExportInterface& module = *source.Item(0).Module();
    ASSERT_EQ(RunExport(module, books.db, Run(), session), Result::kOk);
    const std::string document = ExportText(books.db, [&] {
        AExportSelection selection = Everything(books.db);
        selection.module = *module.GetId();
        return selection;
    }());
    EXPECT_EQ(control().Log(), "SetFileName;OpenStream;Begin;early progress 2147549183;End " +
                                 std::to_string(document.size()) + " bytes;progress 0 0;module handle;");
    // The module's own message makes the export not clean, but it still succeeded.
    EXPECT_EQ(MessageTexts(), std::vector<std::u16string>{u"W: Предупреждение модуля"});
    EXPECT_EQ(display.captions.back(), u"Модуль работает");
    EXPECT_EQ(store.strings.at("testplugin_gaps.so:file"), "/tmp/chosen.log");
    EXPECT_EQ(UserInterface::Settings::LoadLibraryGuid(store, UserInterface::Settings::ALibraryUse::Export),
              ToGuid(*module.GetId()));
}

TEST_F(PluginExport, AModuleWithoutFileIsNotGivenOne)
{
    ASSERT_EQ(RunExport(*source.Item(1).Module(), books.db, Run(), session), Result::kOk);
    EXPECT_EQ(control().Log().rfind("OpenStream;Begin;", 0), 0u) << control().Log();
}

TEST_F(PluginExport, FailuresEndTheExport)
{
    const std::u16string accessDenied =
        u"E: Невозможно создать файл \"/tmp/chosen.log\".\r\n\r\n" +
        UtilityClasses::Strings::Utf8ToUtf16(std::strerror(EACCES));
    const struct {
        const char* slot;
        std::string log;
        std::vector<std::u16string> messages;
    } cases[] = {
        {"OpenStream", "SetFileName;OpenStream;", {accessDenied}},
        {"Begin", "SetFileName;OpenStream;Begin;early progress 2147549183;",
         {u"E: Модуль экспорта сообщил о неизвестной ошибке."}},
        // A document that did not reach the stream is not finished with End.
        {"Write", "SetFileName;OpenStream;Begin;early progress 2147549183;", {accessDenied}},
        {"End", "", {u"W: Предупреждение модуля", accessDenied}},
    };
    for (const auto& c : cases) {
        control().FailAt(c.slot);
        EXPECT_TRUE(Result::Failed(RunExport(*source.Item(0).Module(), books.db, Run(), session))) << c.slot;
        if (!c.log.empty()) {
            EXPECT_EQ(control().Log(), c.log) << c.slot;
        }
        EXPECT_EQ(MessageTexts(), c.messages) << c.slot;
        EXPECT_FALSE(UserInterface::Settings::LoadLibraryGuid(store, UserInterface::Settings::ALibraryUse::Export))
            << c.slot;
    }
}

}  // namespace
