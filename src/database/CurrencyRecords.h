// Currencies and their exchange rates.
#pragma once

#include "core/ADate.h"
#include "database/TextRecords.h"

namespace Database {

// A money amount, quantity or rate amount in 1/10000 units.
using AMoney = std::int64_t;

struct ACurrency {
    static constexpr Engine::ATableId kTableId = 4;
    static constexpr std::uint32_t kStoredSize = 12;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AString> name;
    AReference<AString> code;  // for example "RUR"
    std::uint32_t precision = 2;  // decimal places shown, 0..4

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.name);
        v(r.code);
        v(r.precision);
    }
    static int Compare(const ACurrency&, const ACurrency&, int) { return 0; }
};

// A currency pair for which rates are kept.
struct ARateHeader {
    static constexpr Engine::ATableId kTableId = 5;
    static constexpr std::uint32_t kStoredSize = 8;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<ACurrency> currency1;
    AReference<ACurrency> currency2;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.currency1);
        v(r.currency2);
    }
    static int Compare(const ARateHeader&, const ARateHeader&, int) { return 0; }
};

// One quotation: amount 1 of currency 1 is worth amount 2 of currency 2 on a date.
struct ARateValue {
    static constexpr Engine::ATableId kTableId = 6;
    static constexpr std::uint32_t kStoredSize = 24;
    static constexpr int kIndexCount = 4;  // 2: header then date, 3: date
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<ARateHeader> header;
    ADate date = 0;
    AMoney amount1 = 0;
    AMoney amount2 = 0;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.header);
        v(r.date);
        v(r.amount1);
        v(r.amount2);
    }
    static int Compare(const ARateValue& a, const ARateValue& b, int key)
    {
        if (key == 2)
            return CompareKeys(Compare3(a.header, b.header), Compare3(a.date, b.date));
        return Compare3(a.date, b.date);
    }
    template <class K>
    static void IndexKey(const ARateValue& r, int key, K& k)
    {
        if (key == 2)
            k(r.header);
        k(r.date);
    }
};

}  // namespace Database
