#include "DataFileHelpers.h"

#include "database/Password.h"

#include <gtest/gtest.h>

using namespace DataFileHelpers;

namespace {

// A prompt that gives its answers in turn and then cancels; it notes what each
// answer was told.
struct ScriptedPrompt {
    std::vector<std::u16string> answers;
    std::vector<bool> verdicts;
    int shown = 0;
    std::string fileName;

    APasswordPrompt Prompt()
    {
        return [this](const std::string& name, const std::function<bool(const std::u16string&)>& accept) {
            ++shown;
            fileName = name;
            for (const std::u16string& answer : answers) {
                verdicts.push_back(accept(answer));
                if (verdicts.back())
                    return true;
            }
            return false;
        };
    }
};

std::string SaveWithPassword(const TempFolder& folder, const std::u16string& password)
{
    ADatabase db(FixedClock());
    db.CreateDefaults({.password = password});
    const std::string path = folder.File("guarded.fend");
    EXPECT_EQ(db.SaveAs(path), Result::kOk);
    return path;
}

HRESULT OpenWith(const std::string& path, ScriptedPrompt& prompt)
{
    ADatabase db(FixedClock());
    db.SetPasswordPrompt(prompt.Prompt());
    return db.Open(path);
}

}  // namespace

TEST(Password, AFileWithoutPasswordOpensWithoutAPrompt)
{
    TempFolder folder;
    const std::string path = SaveWithPassword(folder, u"");
    ScriptedPrompt prompt;
    EXPECT_EQ(OpenWith(path, prompt), Result::kOk);
    EXPECT_EQ(prompt.shown, 0);
}

TEST(Password, OnlyTheExactTextOpensTheFile)
{
    TempFolder folder;
    const std::string path = SaveWithPassword(folder, u"Сезам");
    ScriptedPrompt prompt{{u"сезам", u"Сезам ", u"Сезам"}};
    EXPECT_EQ(OpenWith(path, prompt), Result::kOk);
    EXPECT_EQ(prompt.shown, 1);
    EXPECT_EQ(prompt.verdicts, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(prompt.fileName, path);
}

TEST(Password, CancellingOrHavingNoPromptRefusesTheFile)
{
    TempFolder folder;
    const std::string path = SaveWithPassword(folder, u"secret");
    ScriptedPrompt wrongThenCancel{{u"SECRET"}};
    EXPECT_EQ(OpenWith(path, wrongThenCancel), Result::kPasswordCancelled);
    EXPECT_EQ(wrongThenCancel.verdicts, std::vector<bool>{false});

    ADatabase noPrompt(FixedClock());
    EXPECT_EQ(noPrompt.Open(path), Result::kPasswordCancelled);

    // A prompt that claims success for a wrong text does not open the file either.
    ADatabase liar(FixedClock());
    liar.SetPasswordPrompt([](const std::string&, const std::function<bool(const std::u16string&)>& accept) {
        accept(u"guess");
        return true;
    });
    EXPECT_EQ(liar.Open(path), Result::kPasswordCancelled);
}

TEST(Password, ChangeIsOneUndoableStep)
{
    ADatabase db(FixedClock());
    db.CreateDefaults({.password = u"old"});
    const std::u16string label = u"Изменить пароль";
    EXPECT_EQ(ChangePassword(db, u"Old", u"new", u"new", label), APasswordChange::WrongCurrent);
    EXPECT_EQ(ChangePassword(db, u"old", u"new", u"New", label), APasswordChange::NewDiffers);
    EXPECT_FALSE(db.Modified());

    EXPECT_EQ(ChangePassword(db, u"old", u"new", u"new", label), APasswordChange::Changed);
    EXPECT_EQ(PasswordOf(db), u"new");
    EXPECT_EQ(db.UndoLabel(), label);
    EXPECT_TRUE(db.Modified());
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(PasswordOf(db), u"old");
    EXPECT_FALSE(db.Modified());
    ASSERT_TRUE(db.Redo());
    EXPECT_EQ(PasswordOf(db), u"new");
}

TEST(Password, RemovedPasswordIsSavedAndTheFileOpensWithoutAPrompt)
{
    TempFolder folder;
    const std::string path = folder.File("file.fend");
    {
        ADatabase db(FixedClock());
        db.CreateDefaults({.password = u"pw"});
        ASSERT_EQ(db.SaveAs(path), Result::kOk);
        ASSERT_EQ(ChangePassword(db, u"pw", u"", u"", u"Изменить пароль"), APasswordChange::Changed);
        ASSERT_EQ(db.Save(), Result::kOk);
    }
    ScriptedPrompt prompt;
    EXPECT_EQ(OpenWith(path, prompt), Result::kOk);
    EXPECT_EQ(prompt.shown, 0);
}

TEST(Password, TheLastUserOfTheCurrentNumberHoldsThePassword)
{
    ADatabase db(FixedClock());
    db.CreateDefaults({.password = u"first"});
    db.BeginStep();
    AUser other;
    other.number = 1;
    other.password = db.NewText(u"other user");
    db.Users().Create(other);
    AUser later;
    later.password = db.NewText(u"second");
    db.Users().Create(later);
    db.CommitStep();
    EXPECT_EQ(PasswordOf(db), u"second");

    // A user without a password text gets one when the password is set.
    db.BeginStep();
    db.Users().Change(PasswordUser(db))->password = {};
    db.CommitStep();
    EXPECT_EQ(PasswordOf(db), u"");
    EXPECT_EQ(ChangePassword(db, u"", u"x", u"x", u""), APasswordChange::Changed);
    EXPECT_EQ(PasswordOf(db), u"x");

    // A file without a user record gets one holding the password; Undo takes both away.
    ADatabase empty(FixedClock());
    EXPECT_EQ(PasswordUser(empty), nullptr);
    EXPECT_EQ(ChangePassword(empty, u"wrong", u"x", u"x", u""), APasswordChange::WrongCurrent);
    EXPECT_EQ(ChangePassword(empty, u"", u"x", u"x", u""), APasswordChange::Changed);
    EXPECT_EQ(PasswordOf(empty), u"x");
    ASSERT_TRUE(empty.Undo());
    EXPECT_EQ(PasswordUser(empty), nullptr);
}

TEST(Password, CheckValueOfPreviousGenerationFiles)
{
    struct Case {
        std::u16string text;
        std::uint16_t expected;
    };
    // ((sum * 214013 + 2531011) mod 2^32 >> 16) & 0x7FFF, sum of the UTF-16 units.
    const Case cases[] = {
        {u"", 0},
        {u"abc", 998},               // sum 294
        {u"пароль", 21317},          // sum 6516
        {std::u16string(30000, u'я'), 21959},  // the product wraps past 32 bits
        {std::u16string(1, u'\0'), 0},  // a sum of 0 means no password
    };
    for (const Case& c : cases)
        EXPECT_EQ(PasswordCheckValue(c.text), c.expected) << c.text.size();
}
