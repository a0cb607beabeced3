// The budget tree and its yearly limits.
#pragma once

#include "database/SeriesRecords.h"

namespace Database {

struct ABudgetItem {
    static constexpr Engine::ATableId kTableId = 16;
    static constexpr std::uint32_t kStoredSize = 12;
    static constexpr int kIndexCount = 3;  // 2: parent
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AString> name;
    AReference<ASeries> series;      // selects the item's transactions
    AReference<ABudgetItem> parent;  // 0 at the top

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.name);
        v(r.series);
        v(r.parent);
    }
    static int Compare(const ABudgetItem& a, const ABudgetItem& b, int) { return Compare3(a.parent, b.parent); }
};

// The plan of one budget item for one year in one currency.
struct ABudgetLimit {
    static constexpr Engine::ATableId kTableId = 17;
    static constexpr std::uint32_t kStoredSize = 120;
    static constexpr int kIndexCount = 5;  // 2: item, 3: year, 4: year then item
    static constexpr std::uint32_t kUniqueIndexes = 1u << 4;

    enum AKind : std::uint32_t { kNoPlan = 0, kYearTotal = 1, kPerMonth = 2, kPerWeek = 3, kEachMonth = 4 };

    AMoney amount = 0;  // kinds 1-3
    AMoney months[12] = {};  // kind 4, January first
    AReference<ABudgetItem> item;
    AReference<ACurrency> currency;
    std::uint32_t kind = kNoPlan;
    std::uint32_t year = 0;  // the low 16 bits are the year

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.amount);
        for (auto& month : r.months)
            v(month);
        v(r.item);
        v(r.currency);
        v(r.kind);
        v(r.year);
    }
    static int Compare(const ABudgetLimit& a, const ABudgetLimit& b, int key)
    {
        const auto yearA = static_cast<std::uint16_t>(a.year), yearB = static_cast<std::uint16_t>(b.year);
        switch (key) {
        case 2: return Compare3(a.item, b.item);
        case 3: return Compare3(yearA, yearB);
        default: return CompareKeys(Compare3(yearA, yearB), Compare3(a.item, b.item));
        }
    }
};

}  // namespace Database
