// The application object of the toolkit tests (see support/QtTestApp.h).
#pragma once
#include "support/QtTestApp.h"

namespace ToolkitTests {

inline QApplication& TestApplication()
{
    return TestSupport::QtTestApplication("toolkit_tests");
}

}  // namespace ToolkitTests
