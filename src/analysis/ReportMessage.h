// A message the analysis computes for its page to show: a string id and the texts for
// its "#s" placeholders, in order. The page (or the command-line program) formats it.
#pragma once

#include "core/AStrings.h"

#include <string>
#include <vector>

namespace UserInterface {

struct AReportMessage {
    int id = 0;
    std::vector<std::u16string> texts;

    bool operator==(const AReportMessage&) const = default;
    std::u16string Format(const UtilityClasses::Strings::AStrings& strings) const;
};

}  // namespace UserInterface
