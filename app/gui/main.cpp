// fendral: the GUI program.
#include "ui/CommandLine.h"
#include "ui/MainForm.h"
#include "ui/StartUp.h"
#include "win32api/AssertionBox.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv, argv + argc);
    if (const std::optional<std::string> text = UserInterface::InformationRequest(arguments)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fendral"));
    QApplication::setOrganizationName(QStringLiteral("VelvixSoft"));
    QApplication::setDesktopFileName(QStringLiteral("fendral"));
    Fendral::SetAssertionHandler(Win32API::VelvixForms::MakeGuiAssertionHandler());

    UserInterface::AProgram program(UserInterface::ProcessFolders());
    const int code = program.Start(arguments);
    if (program.HandedOver() || !program.MainWindow())
        return code;

    UserInterface::AMainWindow* window = program.MainWindow();
#ifndef QT_NO_SESSIONMANAGER
    // The session asks before it ends; a modal dialog or a cancelled save prompt refuses.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, window, [window](QSessionManager& manager) {
        if (!window->QueryEndSession())
            manager.cancel();
    });
#endif
    QObject::connect(&application, &QCoreApplication::aboutToQuit, window, [window] {
        if (window->HasDatabase() && window->isVisible())
            window->EndSession();
    });
    // For the start-up benchmark: ends once the window has been shown.
    if (std::getenv("FENDRAL_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
    return application.exec();
}
