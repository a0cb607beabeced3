// What the program's tests share: the application object, dialogs that answer as a test
// scripts them, a program context over a temporary folder, data files and records made for
// tests, and the user's hands on named controls.
#pragma once
#include "ui/DatabaseModel.h"

#include "core/CodePage.h"
#include "core/FileSystem.h"
#include "core/TempFolder.h"
#include "ui/PageFactory.h"
#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"
#include "win32api/DynaForm.h"

#include "support/QtTestApp.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace UiTests {

// The application object; running copies of the program are told apart by this name.
inline QApplication& TestApplication()
{
    return TestSupport::QtTestApplication("ui_tests");
}

// Answers every question from the script and remembers what was asked.
class AScriptedDialogs final : public UserInterface::AUserDialogs {
public:
    int ShowMessage(QWidget* parent, const Win32API::VelvixForms::AMessageBoxOptions& options) override;
    std::optional<std::string> AskOpenFile(QWidget* parent, const UserInterface::AFileDialogSpec& spec) override;
    std::optional<std::string> AskSaveFile(QWidget* parent, const UserInterface::AFileDialogSpec& spec) override;
    std::optional<std::string> AskFolder(QWidget* parent, const std::string& initialFolder) override;
    std::optional<std::uint32_t> ChooseColour(QWidget* parent, std::uint32_t initial,
                                              UserInterface::Settings::ACustomColours& custom) override;
    std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override;
    int RunModal(QDialog& dialog) override;

    std::vector<std::u16string> messages;  // the texts of the message boxes, in order
    std::deque<int> answers;               // the buttons pressed, in order; then OK (1)
    bool tick = false;                     // the tick of the boxes that offer it
    std::optional<std::string> openFile, saveFile, folder;
    std::vector<UserInterface::AFileDialogSpec> fileDialogs;
    std::optional<std::uint32_t> colour;
    std::function<void(UserInterface::Settings::ACustomColours&)> editCustomColours;
    std::optional<QFont> font;
    // Drives a modal dialog and answers its result; without one, dialogs are cancelled.
    std::function<int(QDialog&)> onModal;
    int modalCount = 0;
};

// A context like the program's, over a temporary folder: the built-in Russian texts and
// locale, the user's store in the folder, a fixed clock (15 March 2025, noon).
class ATestProgram {
public:
    ATestProgram();
    ~ATestProgram();

    std::string Path(const std::string& name) const { return folder / name; }
    // The text of message `id` as the program fills it in.
    std::u16string Message(int id, std::initializer_list<UtilityClasses::Strings::FormatArg> args = {}) const;
    UserInterface::AProgramFolders Folders() const;

    ATempFolder folder;
    Files::ALocalFileSystem fs;
    AScriptedDialogs dialogs;
    UserInterface::AProgramContext context;
};

// A new database with its default contents saved at `path`, after `change` ran inside a step.
void WriteDataFile(const std::string& path, const std::function<void(Database::ADatabase&)>& change = {});
// A file whose only account was deleted without its placement: opens with one error.
void WriteFileWithErrors(const std::string& path);
// A file that only a newer program may read.
void WriteNewerFile(const std::string& path);
// A file protected by `password`.
void WritePasswordFile(const std::string& path, std::u16string_view password);

std::u16string ToU16(const QString& text);

// The visible control of `window` that a screen reader finds by `name` (labels skipped).
QWidget* NamedControl(QWidget& window, const QString& name, const QMetaObject& type);
template <typename T = QWidget>
T* Named(QWidget& window, const QString& name)
{
    return static_cast<T*>(NamedControl(window, name, T::staticMetaObject));
}
// The controls of `window` (the visible ones, unless `hiddenToo`) that a screen reader would
// find without a name, by class.
std::vector<std::string> UnnamedControls(QWidget& window, bool hiddenToo = false);
void ClickNamed(QWidget& window, const QString& name);
// Focuses the named line edit, selects its text and types over it, any characters.
void TypeInto(QWidget& window, const QString& name, const QString& text);

// An executed transaction of `amount` on `account` dated `date` (the budget date too); with
// `to`, a transfer of the amount there.
Database::ATransaction Executed(Database::AReference<Database::AAccount> account, Database::AMoney amount, ADate date,
                                Database::AReference<Database::AAccount> to = {});
// A copy of the file's first account under `name`, without its comment; placed in `folder`
// when one is given. Inside the caller's step.
Database::AReference<Database::AAccount> AddAccount(Database::ADatabase& db, std::u16string_view name,
                                                    Database::AReference<Database::AAccountFolder> folder = {});

// Chooses the row showing `text` in the named picker: from the top, down with the arrow keys.
bool PickText(QWidget& window, const QString& name, std::u16string_view text);
// Focuses `list` and moves its focus to row `row` with Home and Down.
void FocusRow(QWidget* list, int row);
// Row `row` of the named picker, reached with the arrow keys from its top.
void PickRow(QWidget& window, const QString& name, int row);
// The dates as the user picks them in the two date fields ("С:" and "по:").
void PickPeriod(QWidget& pane, ADate start, ADate end);

// A page built into a shown form of its own.
struct AShownPage {
    std::unique_ptr<Win32API::VelvixForms::ADialogForm> form;
    std::unique_ptr<UserInterface::AAbstractPage> page;
};

inline AShownPage ShowPage(ATestProgram& test, Database::ADatabase& db, std::uint32_t type)
{
    AShownPage shown;
    shown.form = std::make_unique<Win32API::VelvixForms::ADialogForm>("{bW600H300{S#-1{b#-2}}}", test.context.strings.get());
    shown.form->Create();
    shown.form->show();
    shown.page = UserInterface::CreatePage(test.context, db, type);
    shown.page->CreateInto(*shown.form, -2);
    shown.page->Shown();
    return shown;
}

// The next modal dialogs are shown and driven by `hands`; one left open is cancelled.
inline void OnModal(ATestProgram& test, std::function<void(QDialog&)> hands)
{
    test.dialogs.onModal = [hands = std::move(hands)](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        hands(dialog);
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    };
}

// Runs the page's command with `hands` on the dialog it opens; the dialog's title.
inline QString RunCommandOnModal(ATestProgram& test, UserInterface::AAbstractPage& page, int command,
                                 const std::function<void(QDialog&)>& hands)
{
    QString title;
    OnModal(test, [&](QDialog& dialog) {
        title = dialog.windowTitle();
        hands(dialog);
    });
    page.RunCommand(command);
    return title;
}

}  // namespace UiTests
