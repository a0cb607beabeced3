#include "support/QtTestApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace TestSupport {

namespace {

// QApplication keeps references to argc and argv for its whole life.
int argc = 1;
std::string name;
char* argv[] = {nullptr, nullptr};
std::unique_ptr<QApplication> application;

class AApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { application.reset(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new AApplicationEnvironment);

}  // namespace

QApplication& QtTestApplication(std::string_view programName)
{
    if (!application) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        name = programName;
        argv[0] = name.data();
        application = std::make_unique<QApplication>(argc, argv);
    } else if (programName != name) {
        // One binary, one name: the second one would silently be ignored.
        ADD_FAILURE() << "the test application is \"" << name << "\", not \"" << programName << "\"";
    }
    return *application;
}

}  // namespace TestSupport
