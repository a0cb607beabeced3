#include "UiTestSupport.h"

#include "core/Autostart.h"
#include "core/SettingsBlobs.h"
#include "ui/SettingsDialog.h"
#include "win32api/DynaForm.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace UserInterface;
using namespace UserInterface::Settings;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    SettingsDialog()
    {
        test.context.Options().SetSavedHook([this] { ++broadcasts; });
    }
    QAbstractButton* Button(ASettingsForm& dialog, int page, int id)
    {
        return dialog.Page(page)->ControlAs<QAbstractButton>(static_cast<std::int16_t>(id));
    }
    QLineEdit* Edit(ASettingsForm& dialog, int page, int id)
    {
        return dialog.Page(page)->ControlAs<QLineEdit>(static_cast<std::int16_t>(id));
    }
    void SetBackupPage(ASettingsForm& dialog, bool enabled, int place, const char* copies, const std::string& folder)
    {
        Button(dialog, ASettingsForm::kBackup, 117)->setChecked(enabled);
        Button(dialog, ASettingsForm::kBackup, 119 + place)->click();
        Edit(dialog, ASettingsForm::kBackup, -6)->setText(QString::fromUtf8(copies));
        Edit(dialog, ASettingsForm::kBackup, -5)->setText(QString::fromStdString(folder));
    }

    UiTests::ATestProgram test;
    int broadcasts = 0;
};

TEST_F(SettingsDialog, TheBackupPageRefusesWhatCannotBeApplied)
{
    WriteTextFile(test.Path("plain-file"), "x");
    struct Case { bool enabled; int place; const char* copies; std::string folder; int message; };
    const Case cases[] = {
        {true, 0, "0", "", 491},   {true, 0, "10", "", 491},  {true, 0, "два", "", 491},
        {true, 2, "3", "", 492},   {true, 2, "3", test.Path("plain-file/sub"), 493},
        {true, 2, "12", test.Path("copies"), 491},
        // The trash keeps as many copies as it likes; switched off, nothing is checked.
        {true, 1, "0", "", 0},     {false, 2, "0", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.copies) + " " + std::to_string(c.place));
        test.dialogs.messages.clear();
        ASettingsForm dialog(test.context, nullptr);
        SetBackupPage(dialog, c.enabled, c.place, c.copies, c.folder);
        dialog.Press(ASettingsForm::kOk);
        if (c.message == 0) {
            EXPECT_TRUE(test.dialogs.messages.empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        } else {
            EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(c.message)});
            EXPECT_NE(dialog.result(), QDialog::Accepted);
        }
    }
}

// Cancel, or OK with a page refused, keeps every setting as it was.
TEST_F(SettingsDialog, ARefusedPageOrCancelKeepsEverySettingAsItWas)
{
    for (const bool refused : {true, false}) {
        ASettingsForm dialog(test.context, nullptr);
        Button(dialog, ASettingsForm::kGeneral, 115)->setChecked(true);
        Button(dialog, ASettingsForm::kGeneral, 116)->setChecked(true);
        SetBackupPage(dialog, true, 2, "3", "");
        dialog.Press(refused ? ASettingsForm::kOk : ASettingsForm::kCancel);
        EXPECT_FALSE(test.context.Options().Flag(kMinimizeToTray)) << refused;
        EXPECT_FALSE(test.context.Options().Flag(kMinimizeOnClose)) << refused;
        EXPECT_EQ(broadcasts, 0) << refused;
    }
}

TEST_F(SettingsDialog, OkAppliesSavesAndAnnouncesEveryPage)
{
    {
        ASettingsForm dialog(test.context, nullptr);
        Button(dialog, ASettingsForm::kGeneral, 116)->setChecked(true);
        Button(dialog, ASettingsForm::kGeneral, 640)->setChecked(true);
        SetBackupPage(dialog, true, 2, " 7 ", test.Path("copies/deep"));
        Button(dialog, ASettingsForm::kBackup, 125)->click();
        Button(dialog, ASettingsForm::kInterface, 131)->setChecked(true);  // flat headers
        Button(dialog, ASettingsForm::kInterface, 135)->setChecked(false); // no underlines
        Button(dialog, ASettingsForm::kInterface, 651)->setChecked(true);
        Button(dialog, ASettingsForm::kTransactions, 137)->setChecked(false);
        Button(dialog, ASettingsForm::kTransactions, 144)->click();
        dialog.Press(ASettingsForm::kOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(broadcasts, 1);
    // What another copy reads back from the store.
    ASettings reread(OptionStorage::ChooseOptionStore(test.fs, test.context.folders.programPath,
                                                      test.context.folders.configFolder));
    reread.LoadAll();
    EXPECT_TRUE(reread.Flag(kMinimizeOnClose));
    EXPECT_TRUE(reread.Flag(kSaveAfterEveryChange));
    EXPECT_EQ(reread.backupMode.value, kBackupToFolder);
    EXPECT_EQ(reread.backupPeriod.value, 2);
    EXPECT_EQ(reread.backupVersions.value, 7);
    EXPECT_EQ(reread.backupFolder.value, test.Path("copies/deep"));
    EXPECT_TRUE(std::filesystem::is_directory(test.Path("copies/deep")));
    EXPECT_FALSE(reread.Flag(kRaisedHeaders));
    EXPECT_TRUE(reread.Flag(kLinksNotUnderlined));
    EXPECT_TRUE(reread.Flag(kHideClosedAccounts));
    EXPECT_TRUE(reread.Flag(kHideCommandPanel));
    EXPECT_EQ(reread.initDupDate.value, 1);
    // A dialog opened now shows what was stored.
    ASettingsForm again(test.context, nullptr);
    EXPECT_TRUE(Button(again, ASettingsForm::kBackup, 121)->isChecked());
    EXPECT_TRUE(Button(again, ASettingsForm::kBackup, 125)->isChecked());
    EXPECT_EQ(Edit(again, ASettingsForm::kBackup, -6)->text(), QStringLiteral("7"));
    EXPECT_TRUE(Button(again, ASettingsForm::kInterface, 131)->isChecked());
    EXPECT_TRUE(Button(again, ASettingsForm::kTransactions, 144)->isChecked());
    EXPECT_FALSE(Button(again, ASettingsForm::kTransactions, 143)->isChecked());
}

TEST_F(SettingsDialog, TheAutostartEntryIsWrittenReadAndRemoved)
{
    const std::string entry = AutostartPath(test.context.folders.configFolder);
    {
        ASettingsForm dialog(test.context, nullptr);
        EXPECT_FALSE(Button(dialog, ASettingsForm::kGeneral, 112)->isEnabled());
        EXPECT_FALSE(Edit(dialog, ASettingsForm::kGeneral, -4)->isEnabled());
        Button(dialog, ASettingsForm::kGeneral, 111)->setChecked(true);
        EXPECT_TRUE(Button(dialog, ASettingsForm::kGeneral, 112)->isEnabled());
        EXPECT_FALSE(Edit(dialog, ASettingsForm::kGeneral, -4)->isEnabled());
        Button(dialog, ASettingsForm::kGeneral, 113)->click();
        EXPECT_TRUE(Edit(dialog, ASettingsForm::kGeneral, -4)->isEnabled());
        Edit(dialog, ASettingsForm::kGeneral, -4)->setText(QString::fromStdString(test.Path("My books/дом.fend")));
        dialog.Press(ASettingsForm::kOk);
    }
    const auto written = ReadAutostart(test.fs, entry);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->programPath, test.context.folders.programPath);
    EXPECT_EQ(written->dataFile, test.Path("My books/дом.fend"));
    {
        ASettingsForm dialog(test.context, nullptr);
        EXPECT_TRUE(Button(dialog, ASettingsForm::kGeneral, 111)->isChecked());
        EXPECT_TRUE(Button(dialog, ASettingsForm::kGeneral, 113)->isChecked());
        EXPECT_EQ(Edit(dialog, ASettingsForm::kGeneral, -4)->text().toStdString(), test.Path("My books/дом.fend"));
        Button(dialog, ASettingsForm::kGeneral, 112)->click();
        dialog.Press(ASettingsForm::kOk);
    }
    EXPECT_EQ(ReadAutostart(test.fs, entry)->dataFile, std::nullopt);  // the file of the last session
    {
        ASettingsForm dialog(test.context, nullptr);
        Button(dialog, ASettingsForm::kGeneral, 111)->setChecked(false);
        dialog.Press(ASettingsForm::kOk);
    }
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(SettingsDialog, ColourButtonsKeepTheCustomColoursAndResetToTheDefaults)
{
    ASettingsForm dialog(test.context, nullptr);
    auto* page = dialog.Page(ASettingsForm::kInterface);
    test.dialogs.editCustomColours = [](ACustomColours& custom) { custom[0] = 0x00123456; };
    test.dialogs.colour = std::nullopt;  // cancelled: the custom colours are kept all the same
    page->ControlAs<QPushButton>(-7)->click();
    EXPECT_EQ(LoadCustomColours(test.context.Options().Store())[0], 0x00123456u);
    test.dialogs.colour = 0x000000FF;
    page->ControlAs<QPushButton>(-9)->click();
    page->ControlAs<QPushButton>(-10)->click();
    dialog.Press(ASettingsForm::kOk);
    EXPECT_EQ(test.context.Options().oddLineColor.value, 0x000000FF);
    EXPECT_EQ(test.context.Options().evenLineColor.value, 0x000000FF);
    ASettingsForm again(test.context, nullptr);
    again.Page(ASettingsForm::kInterface)->ControlAs<QPushButton>(706)->click();
    again.Press(ASettingsForm::kOk);
    EXPECT_EQ(test.context.Options().oddLineColor.value, kDefaultOddLineColor);
    EXPECT_EQ(test.context.Options().evenLineColor.value, kDefaultEvenLineColor);
}

// A store that can't be written: every read fails.
class AUnusableStore final : public OptionStorage::AOptionStore {
public:
    bool IsUnusable() override { return true; }
    bool ReadBinary(std::string_view, std::span<std::uint8_t>) override { return false; }
    bool WriteBinary(std::string_view, std::span<const std::uint8_t>) override { return false; }
    bool ReadInt(std::string_view, std::int32_t&) override { return false; }
    bool WriteInt(std::string_view, std::int32_t) override { return false; }
    bool ReadString(std::string_view, std::string&) override { return false; }
    bool WriteString(std::string_view, std::optional<std::string_view>) override { return false; }
};

TEST_F(SettingsDialog, AnUnusableStoreDisablesEveryPage)
{
    test.context.settings = std::make_unique<ASettings>(std::make_unique<AUnusableStore>());
    ASettingsForm dialog(test.context, nullptr);
    for (int page = 0; page < ASettingsForm::kPageCount; ++page)
        EXPECT_FALSE(dialog.Page(page)->isEnabled()) << page;
}

}  // namespace
