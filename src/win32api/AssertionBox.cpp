#include "win32api/AssertionBox.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace Win32API::VelvixForms {

const char* const kAssertionTitle = "Ошибка времени исполнения";

QString AssertionMessageText(const std::string& report, bool copiedToClipboard)
{
    QString text = QString::fromUtf8(
        "Внимание! Обнаружена ошибка времени исполнения.\r\n\nПожалуйста, сообщите разработчику об этой ошибке "
        "вместе\r\nсо следующими данными:\r\n\n%1\r\n\n%2Продолжить выполнение программы?\r\n");
    QString clipboard = copiedToClipboard ? QString::fromUtf8("Данные об этой ошибке помещены в буфер обмена (Clipboard)\r\n\n")
                                          : QString();
    return text.arg(QString::fromStdString(report), clipboard);
}

namespace {

bool AskWithErrorBox(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title, QString(text).remove(u'\r'), QMessageBox::Yes | QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8("&Да"));
    box.button(QMessageBox::No)->setText(QString::fromUtf8("&Нет"));
    return box.exec() == QMessageBox::Yes;
}

bool CopyToClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return clipboard->text() == text;
}

}  // namespace

Fendral::AssertionHandler MakeGuiAssertionHandler(AAssertionQuestion ask)
{
    if (!ask)
        ask = AskWithErrorBox;
    return [ask](const std::string& report) {
        auto handle = [&] {
            // A failed check while the box is up (say, in painting behind it) goes on
            // quietly rather than stacking boxes.
            static bool asking = false;
            if (asking)
                return true;
            asking = true;
            QString reportText = QString::fromStdString(report);
            bool copied = CopyToClipboard(reportText);
            bool goOn = ask(QString::fromUtf8(kAssertionTitle), AssertionMessageText(report, copied));
            asking = false;
            return goOn;
        };
        if (!qApp)
            return false;
        if (QThread::currentThread() == qApp->thread())
            return handle();
        bool goOn = false;
        QMetaObject::invokeMethod(qApp, [&] { goOn = handle(); }, Qt::BlockingQueuedConnection);
        return goOn;
    };
}

}  // namespace Win32API::VelvixForms
