#include "DataFileHelpers.h"

#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "core/Settings.h"
#include "core/Trash.h"

#include <fstream>

using namespace DataFileHelpers;

namespace {

// Records what the database asked.
class ARecordingSaver : public AAfterChangeSave {
public:
    bool enabled = true;
    std::vector<std::string> calls;
    std::vector<HRESULT> failures;

    bool Enabled() override { return enabled; }
    void BeforeSave(const std::string& dataFile) override
    {
        calls.push_back("backup " + dataFile);
    }
    void SaveFailed(HRESULT result) override { failures.push_back(result); }
};

class AfterChangeSave : public ::testing::Test {
protected:
    TempFolder temp;
    std::string path = temp.File("Home.fend");
    ARecordingSaver saver;
    ADatabase db{FixedClock()};

    void SetUp() override
    {
        db.CreateDefaults();
        ASSERT_EQ(db.SaveAs(path), Result::kOk);
        db.SetAfterChangeSave(&saver);
    }
    void AddCurrency(std::u16string_view code)
    {
        db.BeginStep();
        db.Currencies().Create(ACurrency{db.NewText(u"Валюта"), db.NewText(code), 2});
        db.CommitStep();
    }
    std::size_t CurrenciesOnDisk()
    {
        ADatabase reopened;
        EXPECT_EQ(reopened.Open(path), Result::kOk);
        return reopened.Currencies().Live().size();
    }
};

}  // namespace

TEST_F(AfterChangeSave, CommitUndoAndRedoEachWriteTheFileAfterTheBackup)
{
    const std::size_t before = db.Currencies().Live().size();
    AddCurrency(u"USD");
    EXPECT_FALSE(db.Modified());
    EXPECT_EQ(saver.calls, std::vector<std::string>{"backup " + path});
    EXPECT_EQ(CurrenciesOnDisk(), before + 1);

    ASSERT_TRUE(db.Undo());
    EXPECT_FALSE(db.Modified());
    EXPECT_EQ(CurrenciesOnDisk(), before);
    ASSERT_TRUE(db.Redo());
    EXPECT_EQ(CurrenciesOnDisk(), before + 1);
    EXPECT_EQ(saver.calls.size(), 3u);
    EXPECT_TRUE(saver.failures.empty());
    EXPECT_TRUE(db.SavesAfterEveryChange());
}

TEST_F(AfterChangeSave, NothingIsWrittenWhenTheOptionIsOffOrThereIsNoFile)
{
    saver.enabled = false;
    AddCurrency(u"USD");
    EXPECT_TRUE(db.Modified());
    EXPECT_TRUE(saver.calls.empty());
    EXPECT_FALSE(db.SavesAfterEveryChange());

    ADatabase unsaved{FixedClock()};
    unsaved.CreateDefaults();
    unsaved.SetAfterChangeSave(&saver);
    saver.enabled = true;
    unsaved.BeginStep();
    unsaved.Currencies().Create(ACurrency{unsaved.NewText(u"Евро"), unsaved.NewText(u"EUR"), 2});
    unsaved.CommitStep();
    EXPECT_TRUE(unsaved.Modified());
    EXPECT_TRUE(saver.calls.empty());
}

TEST_F(AfterChangeSave, AFailedSaveIsReportedAndTheChangeStaysUnsaved)
{
    std::filesystem::remove_all(temp.Path());
    AddCurrency(u"USD");
    ASSERT_EQ(saver.failures.size(), 1u);
    EXPECT_TRUE(Result::Failed(saver.failures[0]));
    EXPECT_TRUE(db.Modified());
    // Once the folder is back, the next change saves both.
    std::filesystem::create_directories(temp.Path());
    ASSERT_EQ(db.SaveAs(path), Result::kOk);
    AddCurrency(u"EUR");
    EXPECT_EQ(saver.failures.size(), 1u);
    EXPECT_FALSE(db.Modified());
}

TEST_F(AfterChangeSave, SettingsSaverMakesTheDueBackupOfTheFileAsItWasOnDisk)
{
    using namespace UserInterface::Settings;
    Files::ALocalFileSystem fs;
    const std::string storePath = temp.File("Fendral.conf");
    std::ofstream(storePath) << "[Settings]\n";
    ASettings settings(std::make_unique<OptionStorage::AStoreIniFile>(fs, storePath));
    settings.SetFlag(kSaveAfterEveryChange, true);
    settings.backupMode.value = kBackupBesideFile;
    const AClock clock = FixedClock();
    Files::ATrash trash(fs, temp.File("Trash"), clock);
    Engine::ABackupCopies backups(fs, trash, temp.Path(), clock);
    std::vector<AMessageRef> messages;
    std::vector<HRESULT> failures;
    ASettingsAfterChangeSave real(
        settings, backups, [&](const AMessageRef& m) { messages.push_back(m); },
        [&](HRESULT r) { failures.push_back(r); });
    db.SetAfterChangeSave(&real);

    const auto sizeBefore = std::filesystem::file_size(path);
    AddCurrency(u"USD");
    EXPECT_FALSE(db.Modified());
    const std::string backup = temp.File(Engine::BackupName(clock().date, "Home.fend"));
    ASSERT_TRUE(std::filesystem::exists(backup));
    EXPECT_EQ(std::filesystem::file_size(backup), sizeBefore);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(failures.empty());

    settings.SetFlag(kSaveAfterEveryChange, false);
    AddCurrency(u"EUR");
    EXPECT_TRUE(db.Modified());
}
