// The assertion routine's face in the GUI program: the report goes to the clipboard and a
// task-modal error box asks whether to go on.
#pragma once
#include "core/Assert.h"

#include <QString>

#include <functional>
#include <string>

namespace Win32API::VelvixForms {

extern const char* const kAssertionTitle;

// The box's text around the report; the clipboard line only when the copy worked.
QString AssertionMessageText(const std::string& report, bool copiedToClipboard);

// Asks Yes (go on) or No (end the program).
using AAssertionQuestion = std::function<bool(const QString& title, const QString& text)>;

// A handler that copies the report to the clipboard and asks; without `ask`, an error box
// with Yes and No that blocks the whole program. Called off the GUI thread, it asks on it.
Fendral::AssertionHandler MakeGuiAssertionHandler(AAssertionQuestion ask = {});

}  // namespace Win32API::VelvixForms
