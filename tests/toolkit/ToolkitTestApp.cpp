#include "ToolkitTestApp.h"

#include <gtest/gtest.h>

#include <memory>

namespace ToolkitTests {

namespace {

int argc = 1;
char name[] = "toolkit_tests";
char* argv[] = {name, nullptr};
std::unique_ptr<QApplication> application;

class AApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { application.reset(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new AApplicationEnvironment);

}  // namespace

QApplication& TestApplication()
{
    if (!application) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    }
    return *application;
}

}  // namespace ToolkitTests
