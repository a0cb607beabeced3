#include "core/FileSystem.h"
#include "core/SettingsBlobs.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace UserInterface::Settings;

namespace {

struct AStoreFile {
    ATempFolder folder;
    Files::ALocalFileSystem fs;
    std::string path = folder / "Fendral.conf";
    OptionStorage::AStoreRegistry store{fs, path};
    void Write(const std::string& body) { WriteTextFile(path, "[Settings]\n" + body); }
};

}  // namespace

TEST(SettingsBlobs, WindowPlacementRoundTripsAndAWrongLengthFieldIsRefused)
{
    AStoreFile f;
    EXPECT_EQ(LoadWindowPlacement(f.store), std::nullopt);
    AWindowPlacement p;
    p.showCmd = 3;
    p.minPosition[0] = -1;
    p.normalPosition[0] = 10;
    p.normalPosition[3] = -32000;
    SaveWindowPlacement(f.store, p);
    EXPECT_EQ(LoadWindowPlacement(f.store), p);

    std::string text;
    ASSERT_TRUE(f.store.ReadString("WindowPlacement", text));
    EXPECT_EQ(text.size(), 44u * 2 + 2);
    EXPECT_EQ(text.substr(0, 8), "2C000000");
    text.replace(0, 2, "2D");  // length 45, checksum fixed up below
    const int sum = std::stoi(text.substr(88, 2), nullptr, 16) + 1;
    char fixed[3];
    std::snprintf(fixed, sizeof fixed, "%02X", sum & 0xFF);
    text.replace(88, 2, fixed);
    f.store.WriteString("WindowPlacement", text);
    EXPECT_EQ(LoadWindowPlacement(f.store), std::nullopt);
}

TEST(SettingsBlobs, PageSetupDefaultsSavingWithoutAPrinterModeAndRoundTrip)
{
    AStoreFile f;
    const APageSetup defaults = LoadPageSetup(f.store);
    EXPECT_EQ(defaults, (APageSetup{3000, 2000, 2000, 2000, std::nullopt, 0}));

    SavePageSetup(f.store, defaults);
    std::string text;
    ASSERT_TRUE(f.store.ReadString("PageInfo", text));
    EXPECT_EQ(text, "B80B0000D0070000D0070000D0070000010009000700000059");
    EXPECT_EQ(LoadPageSetup(f.store), (APageSetup{3000, 2000, 2000, 2000, APrinterMode{1, 9, 7}, 0}));

    const APageSetup custom{-5, 0, 1234567, 2000, APrinterMode{2, 8, 15}, 0xBEEF};
    SavePageSetup(f.store, custom);
    EXPECT_EQ(LoadPageSetup(f.store), custom);

    f.Write("PageInfo=B80B0000D0070000D0070000D007000001000900070000005A\n");
    EXPECT_EQ(LoadPageSetup(f.store), defaults) << "a damaged value gives the defaults";
}

TEST(SettingsBlobs, FontTextIsWrittenAndReadTheWayTheListFontWas)
{
    ALogFont font{-13, 0, 0, 0, 700, 1, 0, 0, 204, 0, 0, 5, 34, "DejaVu Sans"};
    EXPECT_EQ(FormatFontText(font), "-13,0,0,0,700,1,0,0,204,0,0,5,34,DejaVu Sans");
    EXPECT_EQ(ParseFontText(FormatFontText(font)), font);

    struct Case { const char* text; ALogFont expected; };
    const Case cases[] = {
        {"", {}},
        {"-13", {-13}},
        {"-13,5", {-13, 5}},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, ""}},
        {"1,2,3,4,5,300,7,8,9,10,11,12,13,X", {1, 2, 3, 4, 5, 44, 7, 8, 9, 10, 11, 12, 13, "X"}},
        {"Arial", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"}},
        {"1,2,3,4,5,-6,Arial", {1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0, 0, "-6,Arial"}},
        {"0,0,0,0,0,0,0,0,0,0,0,0,0,Очень длинное имя шрифта больше тридцати",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Очень длинное имя шрифта больше"}},
        {"4294967295,99999999999", {-1, 1215752191}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseFontText(c.text), c.expected) << c.text;

    AStoreFile f;
    EXPECT_EQ(LoadFont(f.store), std::nullopt) << "no value means the default font";
    SaveFont(f.store, font);
    EXPECT_EQ(LoadFont(f.store), font);
}

TEST(SettingsBlobs, CustomColoursDefaultToWhiteAndWhiteIsStoredByDeleting)
{
    AStoreFile f;
    ACustomColours colours = LoadCustomColours(f.store);
    for (std::uint32_t c : colours)
        EXPECT_EQ(c, kWhite);
    colours[3] = 0x000000FF;
    colours[15] = 0;
    SaveCustomColours(f.store, colours);
    EXPECT_EQ(ReadTextFile(f.path), "[Settings]\nclr03=255\nclr15=0\n");
    EXPECT_EQ(LoadCustomColours(f.store), colours);

    colours[3] = kWhite;
    SaveCustomColours(f.store, colours);
    EXPECT_EQ(ReadTextFile(f.path), "[Settings]\nclr15=0\n");
    EXPECT_EQ(LoadCustomColours(f.store)[3], kWhite);
}

TEST(SettingsBlobs, LibraryGuidsUseTheRegistryTextForm)
{
    const AGuid guid = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    EXPECT_EQ(GuidToText(guid), "{00112233-4455-6677-8899-AABBCCDDEEFF}");
    EXPECT_EQ(GuidFromText("{00112233-4455-6677-8899-aabbccddeeff}"), guid);
    for (const char* bad : {"", "00112233-4455-6677-8899-AABBCCDDEEFF", "{00112233-4455-6677-8899-AABBCCDDEEF}",
                            "{00112233-4455-6677-8899+AABBCCDDEEFF}", "{0011223G-4455-6677-8899-AABBCCDDEEFF}",
                            "{00112233-4455-6677-8899-AABBCCDDEEFF}x"})
        EXPECT_EQ(GuidFromText(bad), std::nullopt) << bad;

    AStoreFile f;
    EXPECT_EQ(LoadLibraryGuid(f.store, ALibraryUse::Export), std::nullopt);
    SaveLibraryGuid(f.store, ALibraryUse::Export, guid);
    EXPECT_EQ(LoadLibraryGuid(f.store, ALibraryUse::Export), guid);
    EXPECT_EQ(LoadLibraryGuid(f.store, ALibraryUse::Import), std::nullopt);
    EXPECT_EQ(ReadTextFile(f.path), "[Settings]\nExportLibrary={00112233-4455-6677-8899-AABBCCDDEEFF}\n");
}
