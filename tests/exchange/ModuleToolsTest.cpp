// The tools object modules get: translations, settings kept per library, progress only
// while an operation runs, messages.
#include "ModuleTestSupport.h"
#include "exchange/modules/PluginTools.h"

#include <gtest/gtest.h>

namespace {

using namespace ModuleTest;
using namespace ExportImport;
using ExportImport::Private::APluginToolsImpl;
using UtilityClasses::Strings::AStrings;
using UtilityClasses::Strings::RussianLocale;

class ModuleTools : public ::testing::Test {
protected:
    AStrings strings{RussianLocale()};
    TMemoryOptionStore store;
    TRecordingDisplay display;
    AModuleSession session{strings, store, &display};
    int handle = 0;
    APluginToolsImpl tools{session, "csvexchange.so", &handle};
};

TEST_F(ModuleTools, SettingsAreKeptUnderTheLibraryName)
{
    EXPECT_TRUE(tools.WriteString(u"lastFile", u"/home/u/операции.csv"));
    EXPECT_TRUE(tools.WriteInt(u"columns", -7));
    EXPECT_EQ(store.strings.at("csvexchange.so:lastFile"), "/home/u/операции.csv");
    EXPECT_EQ(store.ints.at("csvexchange.so:columns"), -7);

    char16_t buffer[64];
    ASSERT_TRUE(tools.ReadString(u"lastFile", buffer, 64));
    EXPECT_EQ(std::u16string(buffer), u"/home/u/операции.csv");
    std::int32_t value = 0;
    ASSERT_TRUE(tools.ReadInt(u"columns", &value));
    EXPECT_EQ(value, -7);

    // Another library's module never sees these values.
    APluginToolsImpl other(session, "other.so", nullptr);
    EXPECT_FALSE(other.ReadString(u"lastFile", buffer, 64));
    EXPECT_FALSE(other.ReadInt(u"columns", &value));
    EXPECT_FALSE(tools.ReadString(u"missing", buffer, 64));
    EXPECT_EQ(tools.GetModule(), &handle);
}

TEST_F(ModuleTools, ReadStringCutsToTheBufferAndMissingNamesAndPointersAreRefused)
{
    std::int32_t value = 0;
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_FALSE(tools.WriteString(nullptr, u"x"));
    EXPECT_FALSE(tools.WriteString(u"", u"x"));
    EXPECT_FALSE(tools.WriteInt(nullptr, 1));
    EXPECT_FALSE(tools.ReadInt(u"x", nullptr));
    EXPECT_FALSE(tools.ReadInt(nullptr, &value));
    EXPECT_FALSE(tools.ReadString(nullptr, buffer, 4));
    EXPECT_TRUE(store.strings.empty());
    EXPECT_TRUE(store.ints.empty());
    // A null text is stored as an empty one.
    EXPECT_TRUE(tools.WriteString(u"empty", nullptr));
    EXPECT_EQ(store.strings.at("csvexchange.so:empty"), "");

    tools.WriteString(u"name", u"abcdef");
    ASSERT_TRUE(tools.ReadString(u"name", buffer, 4));
    EXPECT_EQ(std::u16string(buffer), u"abc");
    char16_t one[1] = {u'x'};
    ASSERT_TRUE(tools.ReadString(u"name", one, 1));
    EXPECT_EQ(one[0], u'\0');
    EXPECT_FALSE(tools.ReadString(u"name", buffer, 0));
    EXPECT_FALSE(tools.ReadString(u"name", nullptr, 4));
}

TEST_F(ModuleTools, TranslatesBuiltInTextsIntoTheCurrentLanguage)
{
    strings.SetText(766, u"XML file");
    EXPECT_EQ(std::u16string(tools.Translate(u"Файл XML")), u"XML file");
    // Untranslated built-in texts and unknown texts come back as they are.
    EXPECT_EQ(std::u16string(tools.Translate(u"Валюты")), u"Валюты");
    const char16_t* unknown = u"Не наш текст";
    EXPECT_EQ(tools.Translate(unknown), unknown);
    // A text with characters code page 1251 lacks must not match a text with "?" there.
    strings.SetText(0, u"translated");
    const char16_t* foreign = u"日本";
    EXPECT_EQ(tools.Translate(foreign), foreign);
    EXPECT_EQ(std::u16string(tools.Translate(nullptr)), u"");
}

TEST_F(ModuleTools, ProgressOnlyWhileAnOperationRuns)
{
    EXPECT_EQ(tools.SetProgress(40), static_cast<HRESULT>(0x8000FFFF));
    EXPECT_EQ(tools.SetProgressText(u"Работаю"), static_cast<HRESULT>(0x8000FFFF));
    EXPECT_TRUE(display.captions.empty());
    EXPECT_TRUE(display.percents.empty());

    session.BeginRun();
    session.LoadSteps({3, 1});
    session.NextStep();  // the module reports within the last quarter of the bar
    EXPECT_EQ(tools.SetProgressText(u"Работаю"), Result::kOk);
    EXPECT_EQ(tools.SetProgress(40), Result::kOk);
    EXPECT_EQ(tools.SetProgress(1000), Result::kOk);  // more than 100 is the end
    session.EndRun();
    EXPECT_EQ(tools.SetProgress(50), static_cast<HRESULT>(0x8000FFFF));

    EXPECT_EQ(display.captions, std::vector<std::u16string>{u"Работаю"});
    EXPECT_EQ(display.percents, (std::vector<unsigned>{75, 85, 100}));

    // A run scope accepts progress until it ends.
    {
        ARunScope running(session);
        EXPECT_TRUE(session.Running());
        EXPECT_EQ(tools.SetProgress(50), Result::kOk);
    }
    EXPECT_FALSE(session.Running());
    EXPECT_EQ(tools.SetProgress(60), static_cast<HRESULT>(0x8000FFFF));
    EXPECT_EQ(display.percents.back(), 50u);
}

TEST_F(ModuleTools, MessagesAreCountedAndClearedTogether)
{
    tools.AddError(u"ошибка");
    tools.AddWarning(u"предупреждение");
    tools.AddWarning(nullptr);
    EXPECT_EQ(session.ErrorCount(), 1u);
    EXPECT_EQ(session.WarningCount(), 2u);
    EXPECT_FALSE(session.Clean());
    EXPECT_EQ(session.Messages()[0], (AModuleMessage{true, u"ошибка"}));
    EXPECT_EQ(session.Messages()[1], (AModuleMessage{false, u"предупреждение"}));
    session.ClearMessages();
    EXPECT_TRUE(session.Clean());
    EXPECT_EQ(session.ErrorCount(), 0u);
}

}  // namespace
