// Texts and page settings: the two record types whose bodies carry their length.
#pragma once

#include "database/RecordKeys.h"
#include "database/engine/FieldIO.h"

#include <string>
#include <vector>

namespace Database {

using Engine::AByteCursor;
using Engine::AReference;

// One text, owned by the one record that references it.
struct AString {
    static constexpr Engine::ATableId kTableId = 1;
    static constexpr std::uint32_t kStoredSize = 0;
    static constexpr int kIndexCount = 4;  // 2: by text, 3: by length
    static constexpr std::uint32_t kUniqueIndexes = 0;

    std::u16string text;

    template <class R, class V>
    static void Fields(R&, V&) {}
    static int Compare(const AString& a, const AString& b, int key);
    template <class K>
    static void IndexKey(const AString& r, int key, K& k)
    {
        key == 3 ? k(std::uint64_t{r.text.size()}) : k(r.text);
    }
    // A 16-bit byte count, then UTF-16LE text with its terminating NUL (0 = no text).
    // Refuses a body whose count is odd or whose text does not end in NUL.
    static bool ReadBody(AString& record, AByteCursor& cursor);
    static void WriteBody(const AString& record, std::vector<std::uint8_t>& out);
};

// One page (tab) of the main window for one user; the page's own settings are opaque.
struct APageInfo {
    static constexpr Engine::ATableId kTableId = 3;
    static constexpr std::uint32_t kStoredSize = 0;
    static constexpr int kIndexCount = 3;  // 2: user, then position
    static constexpr std::uint32_t kUniqueIndexes = 1u << 2;

    // Page type codes; categories pages are kCategoriesBase + the classifier's identifier.
    static constexpr std::uint32_t kBudget = 199, kAccounts = 200, kTransactions = 201, kReports = 202,
                                   kClassifiers = 203, kCurrencies = 204, kCategoriesBase = 205;

    std::uint32_t type = 0;
    AReference<AString> name;
    std::int16_t position = 0;
    std::int8_t user = 0;
    std::uint8_t visible = 0;
    std::vector<std::uint8_t> settings;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.type);
        v(r.name);
        v(r.position);
        v(r.user);
        v(r.visible);
    }
    static int Compare(const APageInfo& a, const APageInfo& b, int)
    {
        return CompareKeys(Compare3(a.user, b.user), Compare3(a.position, b.position));
    }
    static bool ReadBody(APageInfo& record, AByteCursor& cursor);
    static void WriteBody(const APageInfo& record, std::vector<std::uint8_t>& out);
};

}  // namespace Database
