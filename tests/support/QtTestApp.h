// The application object that widget tests need, on the offscreen platform unless told
// otherwise. It is created by the first call and destroyed after the last test, while Qt's own
// globals still exist (a function-local static would outlive them).
#pragma once
#include <QApplication>

#include <string_view>

namespace TestSupport {

// `programName` becomes argv[0]: copies of the program are told apart by it, so each test
// binary passes its own name, the same on every call.
QApplication& QtTestApplication(std::string_view programName);

}  // namespace TestSupport
