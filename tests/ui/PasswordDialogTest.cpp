#include "UiTestSupport.h"

#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/Passwords.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace UserInterface;

namespace {

constexpr int kMismatch = 512, kNewDiffers = 513;

class PasswordDialog : public ::testing::Test {
protected:
    PasswordDialog() { window.NewDatabase(); }

    // Types into the dialog's fields and presses OK; waits until a wrong password was told.
    static void Confirm(APasswords& dialog, std::initializer_list<const char16_t*> fields)
    {
        int i = 0;
        for (const char16_t* text : fields)
            dialog.Field(i++)->setText(QString::fromUtf16(text));
        dialog.Press(APasswords::kOk);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.IsRefusing(); }, 5000));
    }

    UiTests::ATestProgram test;
    AMainWindow window{test.context};
};

TEST_F(PasswordDialog, AWrongPasswordIsToldAfterADelayAndTheUserTriesAgainAsOftenAsNeeded)
{
    UiTests::WritePasswordFile(test.Path("secret.fend"), u"Тайна");
    std::vector<qint64> waits;
    UiTests::OnModal(test, [&](QDialog& shown) {
        auto& dialog = dynamic_cast<APasswords&>(shown);
        EXPECT_EQ(dialog.Mode(), APasswords::AMode::Enter);
        EXPECT_EQ(dialog.Field(0)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(dialog.Field(0)->maxLength(), 1023);
        for (const char16_t* wrong : {u"тайна", u"ТАЙНА", u""}) {  // letter case counts
            QElapsedTimer timer;
            timer.start();
            Confirm(dialog, {wrong});
            waits.push_back(timer.elapsed());
            EXPECT_FALSE(dialog.isHidden() && dialog.result() == QDialog::Accepted);
        }
        Confirm(dialog, {u"Тайна"});
    });
    ASSERT_EQ(window.OpenFile(test.Path("secret.fend")), Result::kOk);
    EXPECT_EQ(window.CurrentDatabase().FileName().FullPath(), test.Path("secret.fend"));
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>(3, test.Message(kMismatch)));
    for (qint64 wait : waits)
        EXPECT_GE(wait, APasswords::kMismatchDelayMs - 20);
}

TEST_F(PasswordDialog, TheFileIsNamedInTheQuestion)
{
    UiTests::WritePasswordFile(test.Path("named.fend"), u"1");
    QString text;
    test.dialogs.onModal = [&](QDialog& shown) {
        for (auto* label : shown.findChildren<QLabel*>())
            if (label->text().contains(QStringLiteral("named.fend")))
                text = label->text();
        return int(QDialog::Rejected);
    };
    EXPECT_EQ(window.OpenFile(test.Path("named.fend")), Result::kPasswordCancelled);
    EXPECT_EQ(UiTests::ToU16(text), UiTests::ToU16(QString::fromStdU16String(test.Message(506, {u"named.fend"})).remove(u'\r')));
    EXPECT_TRUE(test.dialogs.messages.empty());  // a cancelled prompt says nothing
    EXPECT_TRUE(window.CurrentDatabase().FileName().Empty());
}

TEST_F(PasswordDialog, ChangingChecksTheCurrentPasswordAndTheRepetitionAndIsOneUndoableStep)
{
    UiTests::OnModal(test, [&](QDialog& shown) {
        auto& dialog = dynamic_cast<APasswords&>(shown);
        EXPECT_EQ(dialog.Mode(), APasswords::AMode::Change);
        dialog.SetMismatchDelay(0);
        Confirm(dialog, {u"не тот", u"новый", u"новый"});
        Confirm(dialog, {u"", u"новый", u"другой"});
        Confirm(dialog, {u"", u"новый", u"новый"});
    });
    window.RunCommand(Command::kPassword);
    EXPECT_EQ(test.dialogs.messages, (std::vector{test.Message(kMismatch), test.Message(kNewDiffers)}));
    auto& db = window.CurrentDatabase();
    EXPECT_EQ(Database::PasswordOf(db), u"новый");
    EXPECT_EQ(db.UndoLabel(), std::u16string(u"Изменить пароль"));
    window.RunCommand(Command::kUndo);
    EXPECT_EQ(Database::PasswordOf(db), u"");
}

TEST_F(PasswordDialog, AnEmptyNewPasswordRemovesTheProtection)
{
    UiTests::WritePasswordFile(test.Path("open.fend"), u"старый");
    UiTests::OnModal(test, [&](QDialog& shown) {
        auto& dialog = dynamic_cast<APasswords&>(shown);
        Confirm(dialog, dialog.Mode() == APasswords::AMode::Enter ? std::initializer_list<const char16_t*>{u"старый"}
                                                                   : std::initializer_list<const char16_t*>{u"старый", u"", u""});
    });
    ASSERT_EQ(window.OpenFile(test.Path("open.fend")), Result::kOk);
    window.RunCommand(Command::kPassword);
    ASSERT_TRUE(window.Save());
    const int asked = test.dialogs.modalCount;
    ASSERT_EQ(window.OpenFile(test.Path("open.fend")), Result::kOk);
    EXPECT_EQ(test.dialogs.modalCount, asked);  // no prompt any more
}

}  // namespace
