#include "core/Assert.h"

#include "core/Version.h"

#include <cstdio>
#include <cstdlib>
#include <execinfo.h>
#include <mutex>

namespace Fendral {

namespace {

bool DefaultHandler(const std::string& report)
{
    std::fprintf(stderr, "Ошибка времени исполнения\n%s\n", report.c_str());
    return false;
}

std::mutex handlerMutex;
AssertionHandler& Handler()
{
    static AssertionHandler handler = DefaultHandler;
    return handler;
}

const char* BaseName(const char* path)
{
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            base = p + 1;
    return base;
}

std::string CallStack()
{
    void* frames[18];
    int count = backtrace(frames, 18);
    std::string text;
    // Skip this function and the routine itself; up to 16 return addresses, four to a line.
    int shown = 0;
    for (int i = 2; i < count && shown < 16; ++i, ++shown) {
        char word[24];
        const char* separator = shown == 0 ? "" : (shown % 4 == 0 ? "\r\n" : " ");
        std::snprintf(word, sizeof word, "%s%8.8x", separator,
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(frames[i])));
        text += word;
    }
    return text;
}

}  // namespace

std::string BuildAssertionReport(const char* file, int line)
{
    char head[512];
    std::snprintf(head, sizeof head, "Файл: %s (%d)\r\nВерсия: %d.%d.%d\r\n\nСтек вызовов: ", BaseName(file), line,
                  Version::kMajor, Version::kMinor, Version::kBuild);
    return head + CallStack();
}

void AssertionFailed(const char* file, int line)
{
    AssertionHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = Handler();
    }
    if (!handler || !handler(BuildAssertionReport(file, line)))
        std::exit(3);
}

AssertionHandler SetAssertionHandler(AssertionHandler handler)
{
    std::lock_guard lock(handlerMutex);
    AssertionHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

}  // namespace Fendral
