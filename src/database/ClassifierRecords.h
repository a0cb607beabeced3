// Classifiers, their category trees, and the relations that put transactions into categories.
#pragma once

#include "database/TextRecords.h"

namespace Database {

struct ATransaction;

// A node of a classifier's tree.
struct ACategory {
    static constexpr Engine::ATableId kTableId = 8;
    static constexpr std::uint32_t kStoredSize = 12;
    static constexpr int kIndexCount = 3;  // 2: parent
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AString> name;
    AReference<AString> comment;
    AReference<ACategory> parent;  // 0 for the root of a tree

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.name);
        v(r.comment);
        v(r.parent);
    }
    static int Compare(const ACategory& a, const ACategory& b, int) { return Compare3(a.parent, b.parent); }
    template <class K>
    static void IndexKey(const ACategory& r, int, K& k)
    {
        k(r.parent);
    }
};

// A named dimension by which transactions are classified.
struct AClassifier {
    static constexpr Engine::ATableId kTableId = 9;
    static constexpr std::uint32_t kStoredSize = 24;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AString> singular;
    AReference<AString> plural;
    AReference<ACategory> root1;  // the single tree, or the income tree
    AReference<ACategory> root2;  // the expense tree (0 when single)
    AReference<ACategory> root3;  // the transfer tree (0 when single or not used in transfers)
    std::uint8_t useInTransfers = 0;
    std::uint8_t separateTrees = 0;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.singular);
        v(r.plural);
        v(r.root1);
        v(r.root2);
        v(r.root3);
        v(r.useInTransfers);
        v(r.separateTrees);
        v.Pad(2);
    }
    static int Compare(const AClassifier&, const AClassifier&, int) { return 0; }
};

// Puts one transaction into one category.
struct ARelation {
    static constexpr Engine::ATableId kTableId = 11;
    static constexpr std::uint32_t kStoredSize = 8;
    static constexpr int kIndexCount = 4;  // 2: category, 3: transaction
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<ACategory> category;
    AReference<ATransaction> transaction;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.category);
        v(r.transaction);
    }
    static int Compare(const ARelation& a, const ARelation& b, int key)
    {
        return key == 2 ? Compare3(a.category, b.category) : Compare3(a.transaction, b.transaction);
    }
    template <class K>
    static void IndexKey(const ARelation& r, int key, K& k)
    {
        key == 2 ? k(r.category) : k(r.transaction);
    }
};

}  // namespace Database
