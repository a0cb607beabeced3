// A message the user is to be shown, named by its string-table id. The core never formats
// texts itself: whoever shows the message fills the "#"-placeholders from `numbers`.
#pragma once
#include <vector>

struct AMessageRef {
    int id = 0;
    std::vector<int> numbers;

    bool operator==(const AMessageRef&) const = default;
};
