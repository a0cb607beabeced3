// Users and the settings record of the data file.
#pragma once

#include "database/TextRecords.h"

namespace Database {

struct AUser {
    static constexpr Engine::ATableId kTableId = 2;
    static constexpr std::uint32_t kStoredSize = 12;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;

    AReference<AString> name;
    AReference<AString> password;  // empty text = no password
    std::uint8_t number = 0;       // the value pages and the password check select the user by

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.name);
        v(r.password);
        v(r.number);
        v.Pad(3);
    }
    static int Compare(const AUser&, const AUser&, int) { return 0; }
};

// The one settings record: switches optional parts of the model on.
struct ADBSettings {
    static constexpr Engine::ATableId kTableId = 12;
    static constexpr std::uint32_t kStoredSize = 28;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;

    std::uint8_t accountFolders = 0;
    std::uint8_t budgetDates = 0;
    std::uint8_t quantities = 0;
    std::uint8_t times = 0;
    std::uint8_t extraCommentInUse[4] = {};
    AReference<AString> extraCommentCaption[4];
    std::uint8_t accountPlans = 0;

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.accountFolders);
        v(r.budgetDates);
        v(r.quantities);
        v(r.times);
        for (auto& flag : r.extraCommentInUse)
            v(flag);
        for (auto& caption : r.extraCommentCaption)
            v(caption);
        v(r.accountPlans);
        v.Pad(3);
    }
    static int Compare(const ADBSettings&, const ADBSettings&, int) { return 0; }
};

}  // namespace Database
