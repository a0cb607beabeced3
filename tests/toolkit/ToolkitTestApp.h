// The application object widget tests need, on the offscreen platform unless told otherwise.
#pragma once
#include <QApplication>

namespace ToolkitTests {

inline QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "toolkit_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

}  // namespace ToolkitTests
