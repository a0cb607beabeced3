// Accounts, account folders (a top-level folder is an account plan) and placements.
#pragma once

#include "database/CurrencyRecords.h"

namespace Database {

struct AAccountFolder;

struct AAccount {
    static constexpr Engine::ATableId kTableId = 7;
    static constexpr std::uint32_t kStoredSize = 28;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AString> name;
    AReference<ACurrency> currency;  // never 0 for an account
    // Older files kept the account's folder here, and folders themselves as
    // account records without currency; reading turns those into placements and
    // folders, and the word is written as 0.
    AReference<AAccountFolder> olderFolder;
    AMoney initialBalance = 0;
    std::uint8_t locked = 0;
    AReference<AString> comment;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.name);
        v(r.currency);
        v(r.olderFolder);
        v(r.initialBalance);
        v.Pad(1);
        v(r.locked);
        v.Pad(2);
        v(r.comment);
    }
    static int Compare(const AAccount&, const AAccount&, int) { return 0; }
};

struct AAccountFolder {
    static constexpr Engine::ATableId kTableId = 18;
    static constexpr std::uint32_t kStoredSize = 16;
    static constexpr int kIndexCount = 3;  // 2: parent
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AString> name;
    AReference<AString> comment;
    AReference<AAccountFolder> parent;  // 0 for an account plan
    std::uint8_t locked = 0;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.name);
        v(r.comment);
        v(r.parent);
        v(r.locked);
        v.Pad(3);
    }
    static int Compare(const AAccountFolder& a, const AAccountFolder& b, int) { return Compare3(a.parent, b.parent); }
};

struct AAccountPlacement {
    static constexpr Engine::ATableId kTableId = 19;
    static constexpr std::uint32_t kStoredSize = 8;
    static constexpr int kIndexCount = 4;  // 2: account, 3: folder
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AAccount> account;
    AReference<AAccountFolder> folder;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.account);
        v(r.folder);
    }
    static int Compare(const AAccountPlacement& a, const AAccountPlacement& b, int key)
    {
        return key == 2 ? Compare3(a.account, b.account) : Compare3(a.folder, b.folder);
    }
};

}  // namespace Database
