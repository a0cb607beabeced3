// Finding rate-source plug-ins in a folder: the test plug-in, built as a library of
// its own from the public header only, is found; anything else is passed over.
#include "rates/RatesTestSupport.h"

#include "core/TempFolder.h"

#include <filesystem>

namespace RatesTest {
namespace {

namespace fs = std::filesystem;

class RateSourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy_file(PluginPath("testrates.so"), folder / "rates.so");
        // A library without the exports, a file that is no library, and a plug-in
        // that is not named like one.
        fs::copy_file("/usr/lib/x86_64-linux-gnu/libz.so.1", folder / "zlib.so");
        WriteTextFile(folder / "broken.so", "not a library at all");
        fs::copy_file(PluginPath("testrates.so"), folder / "rates.dll");
    }
    ATempFolder folder;
};

TEST_F(RateSourcesTest, OnlyUsableLibrariesAreListedWithTheirTexts)
{
    const auto sources = FindRateSources(folder.Path(), 1251);
    ASSERT_EQ(sources.size(), 1u);
    const ADataSourceItem& source = *sources[0];
    EXPECT_EQ(source.FileName(), "rates.so");
    // The plug-in's code page 0 is the language's: its 1251 texts read right.
    EXPECT_EQ(source.Name(), u"Тестовый источник");
    const ASourceDetails details = source.Details();
    EXPECT_EQ(details.baseCode, u"RUR");
    EXPECT_EQ(details.baseName, u"Российские рубли");
    EXPECT_EQ(details.author, u"Fendral tests");
    EXPECT_EQ(details.email, u"tests@fendral.invalid");
    EXPECT_EQ(details.site, u"http://fendral.invalid/tests");
    EXPECT_NE(source.Exports().fetchRates, nullptr);
}

TEST_F(RateSourcesTest, CodePageZeroFollowsTheLanguage)
{
    const auto sources = FindRateSources(folder.Path(), 65001);
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0]->CodePage(), 65001u);
    // 1251 bytes are no UTF-8: each turns into a replacement character, none is lost.
    EXPECT_EQ(sources[0]->Name(), std::u16string(8, u'\uFFFD') + u" " + std::u16string(8, u'\uFFFD'));
}

TEST_F(RateSourcesTest, RecordSmallerThanItsNineFieldsIsRefused)
{
    for (const std::size_t size : {std::size_t{0}, std::size_t{36}, sizeof(ALibraryInfo) - 1}) {
        AScopedEnv small("FENDRAL_TEST_RATES_INFO_SIZE", std::to_string(size));
        EXPECT_TRUE(FindRateSources(folder.Path(), 1251).empty()) << size;
    }
    AScopedEnv larger("FENDRAL_TEST_RATES_INFO_SIZE", std::to_string(sizeof(ALibraryInfo) + 8));
    EXPECT_EQ(FindRateSources(folder.Path(), 1251).size(), 1u);
}

TEST_F(RateSourcesTest, MissingFolderGivesNoSources)
{
    EXPECT_TRUE(FindRateSources(folder / "nowhere", 1251).empty());
}

const ALibraryInfo* NoInfo() { return nullptr; }
void NoResources(APackedDate, ACallback*) {}
void NoRates(const char*, std::uint32_t, ACallback*) {}
ALibraryInfo nullTexts = {sizeof(ALibraryInfo), 1251, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
const ALibraryInfo* NullTexts() { return &nullTexts; }

TEST(RateSourceExportsTest, SourcesThatCannotBeCalledAreRefused)
{
    EXPECT_EQ(ADataSourceItem::FromExports({&NoInfo, &NoResources, &NoRates}, "x", 1251), nullptr);
    EXPECT_EQ(ADataSourceItem::FromExports({&NullTexts, nullptr, &NoRates}, "x", 1251), nullptr);
    EXPECT_EQ(ADataSourceItem::FromExports({&NullTexts, &NoResources, nullptr}, "x", 1251), nullptr);
    // Null texts are empty ones.
    const auto item = ADataSourceItem::FromExports({&NullTexts, &NoResources, &NoRates}, "x", 1251);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Name(), u"");
    EXPECT_EQ(item->Host(), "");
    EXPECT_EQ(item->Details().baseCode, u"");
}

TEST(PluginTextTest, UnknownCodePageKeepsAscii)
{
    EXPECT_EQ(PluginText("USD \xC0", 99999), u"USD \uFFFD");
    EXPECT_EQ(PluginText("\xC0\xEB", 1251), u"Ал");
    EXPECT_EQ(PluginText(nullptr, 1251), u"");
}

}  // namespace
}  // namespace RatesTest
