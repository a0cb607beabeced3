// Finding a text inside another regardless of letter case, as the comment filter does.
#pragma once

#include <string>
#include <string_view>

namespace UserInterface::Filters {

// The lower-case form of one UTF-16 unit for the scripts our users write in: Latin
// (with Latin-1 and Latin Extended-A), Greek and Cyrillic. Other units stay as they are.
char16_t FoldCase(char16_t unit);
std::u16string FoldCase(std::u16string_view text);

// Whether `part` occurs in `text`, ignoring case; an empty part occurs everywhere.
// `foldedPart` must already be folded (the filter folds its text once for many comments).
bool ContainsFolded(std::u16string_view text, std::u16string_view foldedPart);

}  // namespace UserInterface::Filters
