#include "UiTestSupport.h"

#include "core/LocaleInfo.h"
#include "core/OptionStore.h"
#include "support/DataFiles.h"

#include "win32api/AControl.h"
#include "win32api/DateCtrl.h"
#include "win32api/ReportPicker.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace UiTests {

std::u16string ToU16(const QString& text)
{
    return text.toStdU16String();
}

QWidget* NamedControl(QWidget& window, const QString& name, const QMetaObject& type)
{
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->isVisible() && !qobject_cast<QLabel*>(w) && type.cast(w) &&
            QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) == name)
            return w;
    ADD_FAILURE() << "no control named " << name.toStdString();
    return nullptr;
}

std::vector<std::string> UnnamedControls(QWidget& window, bool hiddenToo)
{
    std::vector<std::string> unnamed;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                             dynamic_cast<Win32API::VelvixControls::AControl*>(w) ||
                             (qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractSpinBox*>(w->parentWidget()));
        if (control && (hiddenToo || w->isVisible()) && !qobject_cast<QLabel*>(w) &&
            QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            unnamed.push_back(w->metaObject()->className());
    }
    return unnamed;
}

void ClickNamed(QWidget& window, const QString& name)
{
    QTest::mouseClick(Named(window, name), Qt::LeftButton);
}

void TypeInto(QWidget& window, const QString& name, const QString& text)
{
    QLineEdit* edit = Named<QLineEdit>(window, name);
    ASSERT_NE(edit, nullptr) << name.toStdString();
    edit->setFocus();
    edit->selectAll();
    // Key by key with the text as its own: the test library makes keys only from Latin-1.
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, c == u' ' ? Qt::Key_Space : Qt::Key_unknown, QString(c), Qt::NoModifier);
}

bool PickText(QWidget& window, const QString& name, std::u16string_view text)
{
    auto* picker = Named<Win32API::VelvixControls::Reports::AReportPicker>(window, name);
    if (!picker)
        return false;
    picker->setFocus();
    const auto shown = [&] { return picker->SelectedItem() && picker->SelectedItem()->SingleText() == text; };
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(picker, Qt::Key_Up);
    for (int i = 0; i < 40 && !shown(); ++i)
        QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_TRUE(shown()) << name.toStdString() << ": " << UtilityClasses::Strings::Utf16ToUtf8(text);
    return shown();
}

void FocusRow(QWidget* list, int row)
{
    ASSERT_NE(list, nullptr);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
}

void PickRow(QWidget& window, const QString& name, int row)
{
    auto* picker = Named<Win32API::VelvixControls::Reports::AReportPicker>(window, name);
    ASSERT_NE(picker, nullptr) << name.toStdString();
    picker->setFocus();
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(picker, Qt::Key_Up);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(picker, Qt::Key_Down);
}

void PickPeriod(QWidget& pane, ADate start, ADate end)
{
    using Win32API::VelvixControls::ADatePicker;
    Named<ADatePicker>(pane, "по:")->SetDate(Dates::FromYmd(9000, 1, 1));
    Named<ADatePicker>(pane, "С:")->SetDate(start);
    Named<ADatePicker>(pane, "по:")->SetDate(end);
    QApplication::processEvents();
}

// ---- dialogs

int AScriptedDialogs::ShowMessage(QWidget*, const Win32API::VelvixForms::AMessageBoxOptions& options)
{
    messages.push_back(options.text);
    if (options.offerDontShowAgain && options.dontShowAgain)
        *options.dontShowAgain = tick;
    if (answers.empty())
        return Win32API::VelvixForms::kIdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> AScriptedDialogs::AskOpenFile(QWidget*, const UserInterface::AFileDialogSpec& spec)
{
    fileDialogs.push_back(spec);
    return openFile;
}

std::optional<std::string> AScriptedDialogs::AskSaveFile(QWidget*, const UserInterface::AFileDialogSpec& spec)
{
    fileDialogs.push_back(spec);
    return saveFile;
}

std::optional<std::string> AScriptedDialogs::AskFolder(QWidget*, const std::string&)
{
    return folder;
}

std::optional<std::uint32_t> AScriptedDialogs::ChooseColour(QWidget*, std::uint32_t,
                                                            UserInterface::Settings::ACustomColours& custom)
{
    if (editCustomColours)
        editCustomColours(custom);
    return colour;
}

std::optional<QFont> AScriptedDialogs::ChooseFont(QWidget*, const QFont&)
{
    return font;
}

int AScriptedDialogs::RunModal(QDialog& dialog)
{
    ++modalCount;
    return onModal ? onModal(dialog) : QDialog::Rejected;
}

// ---- the program's context

ATestProgram::ATestProgram()
{
    TestApplication();
    context.strings = std::make_unique<UtilityClasses::Strings::AStrings>(UtilityClasses::Strings::RussianLocale());
    context.fs = &fs;
    context.folders = Folders();
    context.clock = [] { return Dates::ALocalTime{Dates::FromYmd(2025, 3, 15), 12 * 3600 * 1000}; };
    context.dialogs = &dialogs;
    std::filesystem::create_directories(context.folders.programFolder);
    context.settings = std::make_unique<UserInterface::Settings::ASettings>(
        UserInterface::Settings::OptionStorage::ChooseOptionStore(fs, context.folders.programPath,
                                                                  context.folders.configFolder));
    context.LoadSettings();
}

ATestProgram::~ATestProgram() = default;

UserInterface::AProgramFolders ATestProgram::Folders() const
{
    return {Path("bin/fendral"), Path("bin"), Path("config"), Path("data"), Path("run"), Path("bin"), Path("bin")};
}

std::u16string ATestProgram::Message(int id, std::initializer_list<UtilityClasses::Strings::FormatArg> args) const
{
    return context.Strings().Format(id, args);
}

// ---- data files

Database::ATransaction Executed(Database::AReference<Database::AAccount> account, Database::AMoney amount, ADate date,
                                Database::AReference<Database::AAccount> to)
{
    Database::ATransaction t;
    t.account1 = account;
    t.amount1 = amount;
    t.account2 = to;
    t.amount2 = to.IsNull() ? 0 : -amount;
    t.date = t.budgetDate = date;
    t.executed = 1;
    return t;
}

Database::AReference<Database::AAccount> AddAccount(Database::ADatabase& db, std::u16string_view name,
                                                    Database::AReference<Database::AAccountFolder> folder)
{
    using Database::Engine::ATableImpl;
    Database::AAccount record = db.Accounts().Live().front()->Record();
    record.name = db.NewText(name);
    record.comment = {};
    const auto account = ATableImpl<Database::AAccount>::RefTo(db.Accounts().Create(record));
    if (!folder.IsNull())
        db.Placements().Create(Database::AAccountPlacement{account, folder});
    return account;
}

void WriteDataFile(const std::string& path, const std::function<void(Database::ADatabase&)>& change)
{
    Database::ADatabase db;
    db.CreateDefaults();
    if (change) {
        db.BeginStep();
        change(db);
        db.CommitStep();
    }
    ASSERT_EQ(db.SaveAs(path), Result::kOk) << path;
}

void WriteFileWithErrors(const std::string& path)
{
    TestSupport::WriteFileWithDanglingReference(path);
}

void WriteNewerFile(const std::string& path)
{
    WriteDataFile(path);
    TestSupport::SetLowestReaderBuild(path, 300);
}

void WritePasswordFile(const std::string& path, std::u16string_view password)
{
    Database::ADatabase db;
    db.CreateDefaults();
    ASSERT_EQ(Database::ChangePassword(db, u"", password, password, u"Изменить пароль"),
              Database::APasswordChange::Changed);
    ASSERT_EQ(db.SaveAs(path), Result::kOk) << path;
}

}  // namespace UiTests
