// The application object widget tests need, on the offscreen platform unless told otherwise.
// It is created before the first test and destroyed after the last one, while Qt's own
// globals still exist (a function-local static would outlive them).
#pragma once
#include <QApplication>

namespace ToolkitTests {

QApplication& TestApplication();

}  // namespace ToolkitTests
