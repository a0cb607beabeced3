#include "core/Assert.h"
#include "core/Result.h"

#include <cerrno>
#include <gtest/gtest.h>

TEST(Result, ErrnoMapsToWin32Codes)
{
    struct Case { int error; std::uint32_t expected; };
    const Case cases[] = {
        {ENOENT, 0x80070002}, {EACCES, 0x80070005}, {EROFS, 0x80070013}, {ENOSPC, 0x80070070},
        {EWOULDBLOCK, 0x80070020}, {ENOMEM, 0x80070008}, {0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(Result::FromErrno(c.error)), c.expected) << c.error;
    EXPECT_TRUE(Result::Succeeded(Result::kOpenedWithErrors));
    EXPECT_TRUE(Result::Failed(Result::kNotDataFile));
}

TEST(Assertion, ReportNamesFileLineAndVersionAndHandlerDecides)
{
    std::string seen;
    auto previous = Fendral::SetAssertionHandler([&](const std::string& report) {
        seen = report;
        return true;
    });
    int line = __LINE__ + 1;
    bool held = FD_VERIFY(1 + 1 == 3);
    Fendral::SetAssertionHandler(previous);
    EXPECT_FALSE(held);
    EXPECT_EQ(seen.rfind("Файл: ResultTest.cpp (" + std::to_string(line) + ")\r\nВерсия: 2.1.235\r\n", 0), 0u) << seen;
    EXPECT_NE(seen.find("Стек вызовов: "), std::string::npos);
}
