// What the categories, classifiers and file settings tests share: typing any text as keys (the
// test library makes keys only from Latin-1 characters).
#pragma once
#include "UiTestSupport.h"

#include <QLineEdit>
#include <QTest>

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

}  // namespace UiTests
