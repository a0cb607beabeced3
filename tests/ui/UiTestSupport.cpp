#include "UiTestSupport.h"

#include "core/LocaleInfo.h"
#include "core/OptionStore.h"
#include "support/DataFiles.h"

#include "win32api/AControl.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
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
    QTest::keyClicks(edit, text);
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
