// A transaction: income, expense, balance correction or transfer, executed or planned.
#pragma once

#include "database/AccountRecords.h"

namespace Database {

enum class ATransactionKind { Income, Expense, Transfer, Balance };

struct ATransaction {
    static constexpr Engine::ATableId kTableId = 10;
    static constexpr std::uint32_t kStoredSize = 104;
    // 2: date; 3: date, time, change stamp (the order within a day); 4: budget date;
    // 5 and 6: the account of side 1 and side 2, then the order of index 3, so
    // that one account's transactions can be walked in order.
    static constexpr int kIndexCount = 7;
    static constexpr std::uint32_t kUniqueIndexes = 1u << 3;

    std::uint64_t changeStamp = 0;
    AMoney quantity = 0;
    AMoney amount1 = 0;   // negative: money leaves the account
    AMoney balance1 = 0;  // after this transaction (for a balance transaction: the one it sets)
    AReference<AAccount> account1;
    AMoney amount2 = 0;
    AMoney balance2 = 0;
    AReference<AAccount> account2;  // set only for a transfer
    std::uint32_t recurrence = 0;
    std::uint32_t recurrenceCount = 0;  // bits 0-7 occurrences, bit 8 regenerate
    ADate recurrenceEnd = 0;            // exclusive
    ADate date = 0;
    std::int32_t time = 0;  // milliseconds since midnight, whole seconds
    ADate budgetDate = 0;
    AReference<AString> comment;
    std::uint8_t executed = 0;
    std::uint8_t locked = 0;
    std::uint8_t balance = 0;
    std::uint8_t fourthFlag = 0;  // copied with the record, otherwise untouched
    AReference<AString> extraComment[4];

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.changeStamp);
        v(r.quantity);
        v(r.amount1);
        v(r.balance1);
        v(r.account1);
        v(r.amount2);
        v(r.balance2);
        v(r.account2);
        v(r.recurrence);
        v(r.recurrenceCount);
        v(r.recurrenceEnd);
        v(r.date);
        v(r.time);
        v(r.budgetDate);
        v(r.comment);
        v(r.executed);
        v(r.locked);
        v(r.balance);
        v(r.fourthFlag);
        for (auto& extra : r.extraComment)
            v(extra);
    }

    static int Compare(const ATransaction& a, const ATransaction& b, int key)
    {
        switch (key) {
        case 2: return Compare3(a.date, b.date);
        case 3: return DayOrder(a, b);
        case 4: return Compare3(a.budgetDate, b.budgetDate);
        case 5: return CompareKeys(Compare3(a.account1, b.account1), DayOrder(a, b));
        default: return CompareKeys(Compare3(a.account2, b.account2), DayOrder(a, b));
        }
    }
    // The same orders as packed keys, for sorting when a file is opened.
    template <class K>
    static void IndexKey(const ATransaction& r, int key, K& k)
    {
        switch (key) {
        case 2: k(r.date); return;
        case 4: k(r.budgetDate); return;
        case 5: k(r.account1); break;
        case 6: k(r.account2); break;
        default: break;
        }
        k(r.date);
        k(r.time);
        k(r.changeStamp);
    }
    // Keys 5 and 6 order by an account, then as key 3 does: when a file is opened, each
    // is key 3's order sorted stably by the account alone, a far smaller key.
    static constexpr int RefinedKey(int key) { return key == 5 || key == 6 ? 3 : 0; }
    template <class K>
    static void RefiningField(const ATransaction& r, int key, K& k)
    {
        k(key == 5 ? r.account1 : r.account2);
    }
    void TakeChangeCounter(std::uint64_t counter) { changeStamp = counter; }

    // Derived, never stored.
    ATransactionKind Kind() const
    {
        if (account2)
            return ATransactionKind::Transfer;
        if (balance)
            return ATransactionKind::Balance;
        return amount1 < 0 ? ATransactionKind::Expense : ATransactionKind::Income;
    }
    // Times are kept in whole seconds.
    static std::int32_t WholeSeconds(std::int32_t milliseconds) { return milliseconds / 1000 * 1000; }

private:
    static int DayOrder(const ATransaction& a, const ATransaction& b)
    {
        return CompareKeys(Compare3(a.date, b.date), Compare3(a.time, b.time), Compare3(a.changeStamp, b.changeStamp));
    }
};

}  // namespace Database
