// Reading layout strings into element trees.
#pragma once
#include "win32api/LayoutElement.h"

#include <cstddef>
#include <memory>
#include <source_location>
#include <string_view>
#include <vector>

namespace Win32API::VelvixForms {

using AElementList = std::vector<std::unique_ptr<ALayoutElement>>;

struct ALayoutParseResult {
    AElementList elements;
    bool ok = false;
    std::size_t errorOffset = 0;   // where the string left the grammar, when !ok
};

// One element and nothing after it, or (`sequence`) any number of elements one after
// another, as inserted into an existing element at run time. Never asserts.
ALayoutParseResult TryParseLayout(std::string_view text, bool sequence = false);

// Layout strings are constants of the program, so one that does not parse is a programming
// error: the assertion routine is told the line that gave the string, and null comes back.
std::unique_ptr<ALayoutElement> ParseLayout(std::string_view text,
                                            std::source_location where = std::source_location::current());
// Null-free list, empty after a failed assertion.
AElementList ParseLayoutSequence(std::string_view text,
                                 std::source_location where = std::source_location::current());

}  // namespace Win32API::VelvixForms
