// The one assertion routine for broken internal invariants.
#pragma once
#include <functional>
#include <string>

namespace Fendral {

// Answers whether the program may go on after the failed check (the Yes button).
using AssertionHandler = std::function<bool(const std::string& report)>;

// Report text: file name without its folder, line, version and call stack.
std::string BuildAssertionReport(const char* file, int line);

// Calls the installed handler; when it declines to continue, the process ends with
// exit code 3. Returns only when continuing was chosen.
void AssertionFailed(const char* file, int line);

// Installs a handler (the GUI shows its message box, tests record the failure).
// Returns the previous one. The default prints the report and ends the process.
AssertionHandler SetAssertionHandler(AssertionHandler handler);

}  // namespace Fendral

// True when the condition holds; otherwise reports and yields false, so that the
// caller can stop the operation: if (!FD_VERIFY(x)) return;
#define FD_VERIFY(cond) ((cond) ? true : (::Fendral::AssertionFailed(__FILE__, __LINE__), false))
