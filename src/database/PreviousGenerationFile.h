// Data files of the previous generation ("FendBase"): reading them into plain lists.
#pragma once

#include "core/ADate.h"
#include "core/Result.h"
#include "database/CurrencyRecords.h"
#include "database/engine/Notify.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Database::PreviousGeneration {

// Every old record is named by its file offset; references between old records
// are offsets too.
using AOffset = std::uint32_t;

struct AOldCurrency {
    AOffset offset = 0;
    std::u16string name;
    std::u16string code;
};

struct AOldAccount {
    AOffset offset = 0;
    std::u16string name;
    AOffset currency = 0;
};

struct AOldRate {
    AOffset offset = 0;
    ADate date = 0;
    AMoney amount1 = 0;
    AMoney amount2 = 0;
    AOffset currency1 = 0;
    AOffset currency2 = 0;
};

struct AOldCategory {
    AOffset offset = 0;
    int parent = -1;  // index in the tree's nodes; -1 for the root
    std::u16string name;
    std::optional<std::u16string> comment;
};

// A category tree with parents before their children; empty when the file has no root.
struct AOldTree {
    std::vector<AOldCategory> nodes;
    bool HasChildren() const { return nodes.size() > 1; }
};

struct AOldTransaction {
    AOffset offset = 0;
    ADate date = 0;
    std::int32_t time = 0;  // milliseconds, not yet made unique
    bool executed = false;
    bool locked = false;
    bool transfer = false;
    AOffset account1 = 0;
    AOffset account2 = 0;  // transfers only
    AMoney amount1 = 0, balance1 = 0, amount2 = 0, balance2 = 0;
    AOffset itemCategory = 0;    // single-sided only
    AOffset agentCategory = 0;   // single-sided only
    AOffset projectCategory = 0;
    std::optional<std::u16string> comment;
    std::uint32_t recurrence[3] = {};  // planned transactions only
};

// Everything the conversion takes from the file, lists in file order.
struct AOldData {
    std::uint32_t passwordCheck = 0;  // 0 = no password
    std::uint64_t progressTotal = 0;
    std::vector<AOldCurrency> currencies;
    std::vector<AOldRate> rates;
    std::vector<AOldAccount> accounts;
    AOldTree income, expense, agents, projects;
    std::vector<AOldTransaction> transactions;
};

// The day and the time of day of an OLE date: the whole part is the day (towards
// zero), the fraction of the absolute value is the time, rounded to the millisecond.
// None for a value that is not a finite date within 0100-01-01 .. 9999-12-31.
struct ADateTime {
    ADate date;
    std::int32_t milliseconds;
};
std::optional<ADateTime> FromOleDate(double value);

// Whether the bytes begin with the header of such a file.
bool HasOldHeader(std::span<const std::uint8_t> bytes);

// Reads the whole content. Anything out of place (an offset outside the file or
// its block, a cycle in a list or a tree, a reference to a record that is not in
// its list, a text without its end) gives kNotDataFile. Texts are 8-bit in
// `codePage`. The progress reporter, when given, counts the bytes of the records read.
[[nodiscard]] HRESULT ParseOldFile(std::span<const std::uint8_t> bytes, std::uint32_t codePage, AOldData& out,
                                   Engine::AProgress* progress = nullptr);

// Reads the file from disk: a Win32 error when it can't be read, kNotDataFile when
// it is not such a file.
[[nodiscard]] HRESULT ReadOldFile(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace Database::PreviousGeneration
