// What the categories, classifiers and file settings tests share: typing any text as keys (the
// test library makes keys only from Latin-1 characters), a page shown in a form of its own, and
// the hands on the modal dialog a command opens.
#pragma once
#include "UiTestSupport.h"

#include "ui/PageFactory.h"
#include "win32api/DynaForm.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace UiTests {

// Focuses the named line edit, selects its text and types `text` over it, key by key.
inline void TypeAnyInto(QWidget& window, const QString& name, const QString& text)
{
    QLineEdit* edit = Named<QLineEdit>(window, name);
    if (!edit)
        return;
    edit->setFocus();
    edit->selectAll();
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, c == u' ' ? Qt::Key_Space : Qt::Key_unknown, QString(c), Qt::NoModifier);
}

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
