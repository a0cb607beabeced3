// Chart series and the accounts and categories that belong to them.
#pragma once

#include "database/AccountRecords.h"
#include "database/ClassifierRecords.h"

namespace Database {

struct ASeries {
    static constexpr Engine::ATableId kTableId = 13;
    static constexpr std::uint32_t kStoredSize = 12;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;
    static constexpr std::uint8_t kNoHue = 250;

    AReference<AString> name;
    std::uint8_t hue = kNoHue;  // 0, 10, ..., 230
    std::uint8_t income = 0;
    std::uint8_t expense = 0;
    std::uint8_t transferCredits = 0;
    std::uint8_t transferDebits = 0;
    std::uint8_t debitsAboveZero = 0;
    std::uint8_t noBars = 0;
    std::uint8_t noLine = 0;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.name);
        v(r.hue);
        v(r.income);
        v(r.expense);
        v(r.transferCredits);
        v(r.transferDebits);
        v(r.debitsAboveZero);
        v(r.noBars);
        v(r.noLine);
    }
    static int Compare(const ASeries&, const ASeries&, int) { return 0; }
};

struct ASeriesAccountFilter {
    static constexpr Engine::ATableId kTableId = 14;
    static constexpr std::uint32_t kStoredSize = 8;
    static constexpr int kIndexCount = 5;  // 2: series, 3: account, 4: series then account
    static constexpr std::uint32_t kUniqueIndexes = 1u << 4;

    AReference<ASeries> series;
    AReference<AAccount> account;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.series);
        v(r.account);
    }
    static int Compare(const ASeriesAccountFilter& a, const ASeriesAccountFilter& b, int key)
    {
        switch (key) {
        case 2: return Compare3(a.series, b.series);
        case 3: return Compare3(a.account, b.account);
        default: return CompareKeys(Compare3(a.series, b.series), Compare3(a.account, b.account));
        }
    }
};

struct ASeriesNodeFilter {
    static constexpr Engine::ATableId kTableId = 15;
    static constexpr std::uint32_t kStoredSize = 8;
    static constexpr int kIndexCount = 4;  // 2: series, 3: category
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<ASeries> series;
    AReference<ACategory> category;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.series);
        v(r.category);
    }
    static int Compare(const ASeriesNodeFilter& a, const ASeriesNodeFilter& b, int key)
    {
        return key == 2 ? Compare3(a.series, b.series) : Compare3(a.category, b.category);
    }
};

}  // namespace Database
