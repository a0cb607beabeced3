#include "DataFileHelpers.h"
#include "OldFileSample.h"

#include "database/DataFileSession.h"

#include <fstream>

using namespace DataFileHelpers;

namespace {

TEST(DataFileSession, EveryOpenResultHasItsOutcomeAndMessage)
{
    struct Case { HRESULT result; AFileOutcome outcome; int message; };
    const Case cases[] = {
        {Result::kOk, AFileOutcome::Done, 0},
        {Result::kFalse, AFileOutcome::Done, 0},
        {Result::kOpenedWithErrors, AFileOutcome::OpenedWithErrors, 499},
        {Result::kPasswordCancelled, AFileOutcome::PasswordCancelled, 0},
        {Result::kNewerVersion, AFileOutcome::NewerVersion, 695},
        {Result::kFileNotFound, AFileOutcome::NotFound, 489},
        {Result::Code(0x80070003), AFileOutcome::NotFound, 489},
        {Result::kNotDataFile, AFileOutcome::Unreadable, 498},
        {Result::kStgDocFileCorrupt, AFileOutcome::Unreadable, 498},
        {Result::kAccessDenied, AFileOutcome::Unreadable, 498},
    };
    for (const Case& c : cases) {
        const AFileReport report = ADataFileSession::JudgeOpen(c.result);
        EXPECT_EQ(report.outcome, c.outcome) << std::hex << c.result;
        EXPECT_EQ(report.messageId, c.message) << std::hex << c.result;
    }
}

class Session : public ::testing::Test {
protected:
    Session()
    {
        hooks.withProgress = [this](ADatabase&, int titleId, const std::u16string&, const std::function<HRESULT()>& work) {
            titles.push_back(titleId);
            return work();
        };
        hooks.backupBeforeSave = [this](const std::string& file) -> std::optional<AMessageRef> {
            backups.push_back(file);
            return AMessageRef{516, {}};
        };
        ADatabase made(FixedClock());
        made.CreateDefaults();
        EXPECT_EQ(made.SaveAs(path), Result::kOk);
    }
    void AddCurrency(ADatabase& db)
    {
        db.BeginStep();
        db.Currencies().Create(ACurrency{db.NewText(u"Валюта"), db.NewText(u"ZZZ"), 2});
        db.CommitStep();
    }

    TempFolder temp;
    std::string path = temp.File("Home.fend");
    ADataFileHooks hooks;
    std::vector<int> titles;
    std::vector<std::string> backups;
};

// Open to change refuses what can't be saved in place; Save refuses it before a backup copy.
TEST_F(Session, ReadOnlyFilesAreRefusedBeforeAnythingHappens)
{
    const OldFileSample old;
    const std::string oldPath = temp.File("old.fdb");
    std::ofstream(oldPath, std::ios::binary).write(reinterpret_cast<const char*>(old.Bytes().data()),
                                                   static_cast<std::streamsize>(old.Bytes().size()));
    ADatabase holder(FixedClock());
    ASSERT_EQ(holder.Open(path), Result::kOk);
    ADataFileSession session(hooks);
    for (const std::string& file : {oldPath, path}) {
        ADatabase db(FixedClock());
        const AFileReport forReading = session.Open(db, file, u"shown", AOpenPurpose::Read);
        EXPECT_EQ(forReading.outcome, AFileOutcome::Done) << file;
        EXPECT_TRUE(db.ReadOnly()) << file;
        const AFileReport saved = session.Save(db);
        EXPECT_EQ(saved.outcome, AFileOutcome::ReadOnly) << file;
        EXPECT_EQ(saved.messageId, 504);
        ADatabase toChange(FixedClock());
        const AFileReport refused = session.Open(toChange, file, u"shown", AOpenPurpose::Change);
        EXPECT_EQ(refused.outcome, AFileOutcome::ReadOnly) << file;
        EXPECT_EQ(refused.messageId, 504);
        EXPECT_EQ(refused.Args().front().text(), u"shown");
    }
    EXPECT_TRUE(backups.empty());
}

// The open file saved as under its own name, and opened again, keeps its write access.
TEST_F(Session, TheOpenFileCanBeSavedAsAndReopenedUnderItsOwnName)
{
    ADataFileSession session(hooks);
    ADatabase db(FixedClock());
    ASSERT_TRUE(session.Open(db, path, u"Home.fend", AOpenPurpose::Change).Succeeded());
    AddCurrency(db);
    const AFileReport savedAs = session.SaveAs(db, temp.Path() + "/./Home.fend", u"Home.fend");
    ASSERT_TRUE(savedAs.Succeeded()) << std::hex << savedAs.result;
    EXPECT_FALSE(db.Modified());

    ADatabase again(FixedClock());
    const AFileReport reopened = session.Open(again, path, u"Home.fend", AOpenPurpose::Change, &db);
    ASSERT_TRUE(reopened.Succeeded()) << std::hex << reopened.result;
    EXPECT_FALSE(again.ReadOnly());
    EXPECT_EQ(again.Currencies().LiveCount(), db.Currencies().LiveCount());
    EXPECT_FALSE(db.HasStorage());  // the old one gave its lock away
    // Saving in place makes the backup copy first and passes its message on.
    AddCurrency(again);
    const AFileReport saved = session.Save(again);
    EXPECT_TRUE(saved.Succeeded());
    EXPECT_EQ(backups, std::vector<std::string>{path});
    EXPECT_EQ(saved.backupMessage, (AMessageRef{516, {}}));

    // Not told which database holds it, a second open finds the lock taken.
    ADatabase other(FixedClock());
    ASSERT_TRUE(session.Open(other, path, u"Home.fend", AOpenPurpose::Read).Succeeded());
    EXPECT_TRUE(other.ReadOnly());
    EXPECT_TRUE(again.HasStorage());
}

}  // namespace
