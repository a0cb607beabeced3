#include "UiTestSupport.h"

#include "core/LocaleInfo.h"
#include "ui/CommandLine.h"
#include "ui/DataFileNames.h"
#include "ui/FontSetting.h"
#include "ui/MenuText.h"
#include "ui/PageList.h"
#include "ui/PrintLayout.h"

#include <gtest/gtest.h>

using namespace UserInterface;
using UtilityClasses::Strings::AStrings;

namespace {

class Texts : public ::testing::Test {
protected:
    AStrings strings{UtilityClasses::Strings::RussianLocale()};
};

TEST_F(Texts, AcceleratorTextsFollowTheFlagsAndKeyNames)
{
    using A = AAccelerator;
    struct Case { AAccelerator accelerator; std::u16string text; };
    const Case cases[] = {
        {{A::kVirtualKey | A::kControl, 'S', 0}, u"\tCtrl+S"},
        {{A::kVirtualKey | A::kAlt, VirtualKey::kF1 + 3, 0}, u"\tAlt+F4"},
        {{A::kVirtualKey | A::kShift, VirtualKey::kF1, 0}, u"\tShift+F1"},
        {{A::kVirtualKey, VirtualKey::kF12, 0}, u"\tF12"},
        {{A::kVirtualKey | A::kControl | A::kAlt | A::kShift, 'X', 0}, u"\tCtrl+Alt+Shift+X"},
        // Ctrl is not written before Enter.
        {{A::kVirtualKey | A::kControl, VirtualKey::kReturn, 0}, u"\tEnter"},
        {{A::kVirtualKey, VirtualKey::kSpace, 0}, u"\tSpace"},
        {{A::kVirtualKey, VirtualKey::kHome, 0}, u"\tHome"},
        {{A::kVirtualKey, VirtualKey::kUp, 0}, u"\tUp"},
        {{A::kVirtualKey, VirtualKey::kDown, 0}, u"\tDown"},
        {{A::kVirtualKey, VirtualKey::kInsert, 0}, u"\tInsert"},
        {{A::kVirtualKey | A::kAlt, '7', 0}, u"\tAlt+7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceleratorText(c.accelerator), c.text);
}

TEST_F(Texts, MenuItemsCarryTheirAcceleratorText)
{
    EXPECT_EQ(MenuItemText(strings, Command::kDelete, MainAccelerators()), u"Удалить\tDelete");
    EXPECT_EQ(MenuItemText(strings, 180, MainAccelerators()), u"&Найти...\tCtrl+F");
    EXPECT_EQ(MenuItemText(strings, 181, MainAccelerators()), u"Найти &далее\tF3");
    EXPECT_EQ(MenuItemText(strings, Command::kSettings, MainAccelerators()), u"&Настройки программы...");
    // Every accelerator's key sequence is one Qt can match.
    for (const AAccelerator& accelerator : MainAccelerators())
        EXPECT_FALSE(KeySequenceOf(accelerator).isEmpty()) << accelerator.command;
    EXPECT_EQ(KeySequenceOf(*FindAccelerator(MainAccelerators(), Command::kSave)), QKeySequence(QStringLiteral("Ctrl+S")));
}

TEST_F(Texts, PageItemsCarryAltNumbersForTheFirstNineRecordPositions)
{
    EXPECT_EQ(PageMenuItemText(strings, 1, 0, u"Счета"), u"&1 Счета\tAlt+1");
    EXPECT_EQ(PageMenuItemText(strings, 8, 8, u"Валюты"), u"&8 Валюты\tAlt+8");
    EXPECT_EQ(PageMenuItemText(strings, 9, 9, u"Бюджет"), u"Бюджет");
    // A name's own "&" is shown, not taken for a mnemonic.
    EXPECT_EQ(PageMenuItemText(strings, 2, 1, u"Доходы & расходы"), u"&2 Доходы && расходы\tAlt+2");
}

TEST_F(Texts, RecentFilesAreShownRelativeToTheCurrentFolder)
{
    EXPECT_EQ(RecentFileItemText(strings, 0, "/home/anna/books/a.fend", "/home/anna"), u"&1. books/a.fend");
    EXPECT_EQ(RecentFileItemText(strings, 3, "/srv/b.fend", "/home/anna"), u"&4. /srv/b.fend");
    EXPECT_EQ(PathShownRelativeTo("/home/annabel/c.fend", "/home/anna"), "/home/annabel/c.fend");
    EXPECT_EQ(PathShownRelativeTo("/home/anna/c.fend", "/home/anna/"), "c.fend");
    EXPECT_EQ(PathShownRelativeTo("/home/anna/c.fend", ""), "/home/anna/c.fend");
}

TEST(CommandLine, OnlyTheFirstArgumentNamesTheFile)
{
    struct Case { std::vector<std::string> arguments; std::optional<std::string> file; };
    const Case cases[] = {
        {{"fendral"}, std::nullopt},
        {{"fendral", ""}, std::nullopt},
        {{"fendral", "a.fend"}, "a.fend"},
        {{"fendral", "/home/anna/My books/a.fend"}, "/home/anna/My books/a.fend"},
        // Handed over with its quotes still on, the name is what lies between them.
        {{"fendral", "\"/home/anna/My books/a.fend\""}, "/home/anna/My books/a.fend"},
        {{"fendral", "\"/home/anna/My books/a.fend"}, "/home/anna/My books/a.fend"},
        {{"fendral", "  b.fend"}, "b.fend"},
        {{"fendral", "\"\""}, std::nullopt},
        {{"fendral", "first.fend", "second.fend"}, "first.fend"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataFileArgument(c.arguments), c.file) << (c.arguments.size() > 1 ? c.arguments[1] : "");
}

TEST(CommandLine, PathsAreMadeWhole)
{
    EXPECT_EQ(WholePath("a.fend", "/home/anna"), "/home/anna/a.fend");
    EXPECT_EQ(WholePath("../b/./c.fend", "/home/anna"), "/home/b/c.fend");
    EXPECT_EQ(WholePath("/srv//d.fend", "/home/anna"), "/srv/d.fend");
}

TEST(CommandLine, DesktopLinksNameTheirTarget)
{
    EXPECT_EQ(DesktopLinkTarget("[Desktop Entry]\nType=Link\nURL=file:///home/anna/My%20books/a.fend\n"),
              "/home/anna/My books/a.fend");
    EXPECT_EQ(DesktopLinkTarget("[Desktop Entry]\r\nURL=/srv/b.fend\r\n"), "/srv/b.fend");
    EXPECT_EQ(DesktopLinkTarget("[Other]\nURL=/srv/b.fend\n[Desktop Entry]\nName=x\n"), std::nullopt);
    EXPECT_EQ(DesktopLinkTarget("[Desktop Entry]\nURL=https://example.org/a.fend\n"), std::nullopt);
    EXPECT_EQ(DesktopLinkTarget("[Desktop Entry]\nURL=file://relative\n"), std::nullopt);
    EXPECT_EQ(DesktopLinkTarget(""), std::nullopt);
}

TEST(CommandLine, DroppedLinksAreResolved)
{
    ATempFolder folder;
    WriteTextFile(folder / "real.fend", "x");
    std::filesystem::create_symlink(folder / "real.fend", folder / "link.fend");
    WriteTextFile(folder / "books.desktop", "[Desktop Entry]\nType=Link\nURL=file://" + (folder / "real.fend") + "\n");
    WriteTextFile(folder / "app.desktop", "[Desktop Entry]\nType=Application\nExec=true\n");
    EXPECT_EQ(ResolveDroppedFile(folder / "link.fend"), folder / "real.fend");
    EXPECT_EQ(ResolveDroppedFile(folder / "books.desktop"), folder / "real.fend");
    EXPECT_EQ(ResolveDroppedFile(folder / "app.desktop"), folder / "app.desktop");
    EXPECT_EQ(ResolveDroppedFile(folder / "real.fend"), folder / "real.fend");
}

TEST(DataFileNames, FiltersAndExtensions)
{
    EXPECT_EQ(FileFilter(QStringLiteral("Файлы Fendral"), kOpenExtensions),
              QStringLiteral("Файлы Fendral (*.fend *.fdbf *.fdb *.fbk)"));
    EXPECT_EQ(FileFilter(QStringLiteral("Файлы Fendral"), kSaveExtensions), QStringLiteral("Файлы Fendral (*.fend *.fbk)"));
    EXPECT_TRUE(HasExtension("/a/b.FEND", kSaveExtensions));
    EXPECT_TRUE(HasExtension("b.fbk", kSaveExtensions));
    EXPECT_FALSE(HasExtension("b.fdb", kSaveExtensions));
    EXPECT_FALSE(HasExtension("/a.fend/b", kSaveExtensions));
    EXPECT_FALSE(HasExtension("fend", kSaveExtensions));
    // The old forms open but are never written.
    EXPECT_EQ(WritableDataFileName("/a/old.fdb"), "/a/old.fdb.fend");
    EXPECT_EQ(WritableDataFileName("/a/new"), "/a/new.fend");
    EXPECT_EQ(WritableDataFileName("/a/copy.fbk"), "/a/copy.fbk");
}

TEST(PageElements, IdsAreMinusTheRecordIdOrAFreeEvenOne)
{
    EXPECT_EQ(PageElementId(1, {}), -1);
    EXPECT_EQ(PageElementId(32767, {}), -32767);
    EXPECT_EQ(PageElementId(40001, {}), -32768);
    EXPECT_EQ(PageElementId(40001, {-32768, -32766}), -32764);
}

TEST(Printing, TheSheetKeepsALineForHeaderAndFooterAndRoomAroundTheBody)
{
    const APrintLayout layout = LayOutSheet(QRect(0, 0, 1000, 1400), 20, 40);
    EXPECT_EQ(layout.header, QRect(0, 0, 1000, 20));
    EXPECT_EQ(layout.footer, QRect(0, 1380, 1000, 20));
    EXPECT_EQ(layout.body, QRect(0, 60, 1000, 1280));
}

TEST(FontSettings, AFontSurvivesTheStoredForm)
{
    UiTests::TestApplication();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    font.setItalic(true);
    const auto setting = FontSetting(font);
    EXPECT_EQ(setting.height, -15);
    EXPECT_EQ(setting.weight, 700);
    EXPECT_EQ(setting.faceName, "DejaVu Sans");
    const QFont back = FontFromSetting(setting, QFont());
    EXPECT_EQ(back.family(), font.family());
    EXPECT_EQ(back.pixelSize(), 15);
    EXPECT_TRUE(back.bold());
    EXPECT_TRUE(back.italic());
    // Values a hand-edited store may hold stay within reason.
    UserInterface::Settings::ALogFont odd;
    odd.height = -100000;
    odd.weight = 5000;
    const QFont clamped = FontFromSetting(odd, QFont());
    EXPECT_EQ(clamped.pixelSize(), 200);
    EXPECT_EQ(clamped.weight(), QFont::Black);
}

}  // namespace
