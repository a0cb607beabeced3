// Small record types and an engine over them, for testing the engine alone.
#pragma once

#include "database/engine/dbEngine.h"

#include <gtest/gtest.h>

namespace TestRecords {

using namespace Database::Engine;

// A variable-size text record: 16-bit byte count, then UTF-16 text with its NUL.
struct TNote {
    static constexpr ATableId kTableId = 1;
    static constexpr std::uint32_t kStoredSize = 0;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;
    std::u16string text;

    template <class R, class V>
    static void Fields(R&, V&) {}
    static int Compare(const TNote&, const TNote&, int) { return 0; }
    static bool ReadBody(TNote& note, AByteCursor& cursor)
    {
        std::uint16_t bytes = 0;
        if (!cursor.ReadInt(bytes) || bytes % 2 != 0 || bytes > cursor.Remaining()) {
            (void)cursor.Skip(bytes);  // leaves the cursor failed when the length runs past it
            return false;
        }
        note.text.resize(bytes / 2);
        if (!cursor.Read(note.text.data(), bytes))
            return false;
        if (!note.text.empty())
            note.text.pop_back();
        return true;
    }
    static void WriteBody(const TNote& note, std::vector<std::uint8_t>& out)
    {
        const auto bytes = static_cast<std::uint16_t>(note.text.empty() ? 0 : (note.text.size() + 1) * 2);
        out.push_back(static_cast<std::uint8_t>(bytes));
        out.push_back(static_cast<std::uint8_t>(bytes >> 8));
        const auto* p = reinterpret_cast<const std::uint8_t*>(note.text.c_str());
        out.insert(out.end(), p, p + bytes);
    }
};

// A fixed-size record, 16 bytes: note, value (unique key 2), parent (key 3), flag.
struct TItem {
    static constexpr ATableId kTableId = 2;
    static constexpr std::uint32_t kStoredSize = 16;
    static constexpr int kIndexCount = 4;
    static constexpr std::uint32_t kUniqueIndexes = 1u << 2;
    AReference<TNote> note;
    std::int32_t value = 0;
    AReference<TItem> parent;
    std::uint8_t flag = 0;
    std::uint64_t changeStamp = 0;  // not stored; shows the change counter handed over

    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.note);
        v(r.value);
        v(r.parent);
        v(r.flag);
        v.Pad(3);
    }
    static int Compare(const TItem& a, const TItem& b, int key)
    {
        if (key == 2)
            return a.value < b.value ? -1 : a.value > b.value;
        return a.parent.Word() < b.parent.Word() ? -1 : a.parent.Word() > b.parent.Word();
    }
    void TakeChangeCounter(std::uint64_t counter) { changeStamp = counter; }
};

// Filler tables 3..19 so that the engine has all of its tables.
template <ATableId N>
struct TFiller {
    static constexpr ATableId kTableId = N;
    static constexpr std::uint32_t kStoredSize = 4;
    static constexpr int kIndexCount = 2;
    static constexpr std::uint32_t kUniqueIndexes = 0;
    std::uint32_t word = 0;
    template <class R, class V>
    static void Fields(R& r, V& v)
    {
        v(r.word);
    }
    static int Compare(const TFiller&, const TFiller&, int) { return 0; }
};

class TEngine : public ADBEngine {
public:
    explicit TEngine(AClock clock = FixedClock()) : ADBEngine(std::move(clock))
    {
        AddTable<TNote>();
        AddTable<TItem>();
        AddFillers(std::make_integer_sequence<ATableId, 17>{});
    }
    ATableImpl<TNote>& Notes() { return Table<TNote>(); }
    ATableImpl<TItem>& Items() { return Table<TItem>(); }

    static AClock FixedClock() { return [] { return Dates::ALocalTime{45000, 12 * 3600 * 1000}; }; }

    int afterChangeCalls = 0;

protected:
    void AfterChange() override { ++afterChangeCalls; }

private:
    template <ATableId... I>
    void AddFillers(std::integer_sequence<ATableId, I...>)
    {
        (AddTable<TFiller<I + 3>>(), ...);
    }
};

// Creates an item in the open step.
inline ASlot<TItem>* AddItem(TEngine& db, std::int32_t value, AReference<TItem> parent = {})
{
    TItem item;
    item.value = value;
    item.parent = parent;
    return db.Items().Create(item);
}

// One committed step around the changes.
template <class F>
void Step(TEngine& db, F&& changes)
{
    db.BeginStep();
    changes();
    db.CommitStep();
}

// Records the lists of every notification.
class TRecorder : public ANotify {
public:
    using ANotify::ANotify;
    struct ACall {
        std::vector<ARecordId> changed, removed, added;
    };
    std::vector<ACall> calls;
    void OnChange(const ASlotList& changed, const ASlotList& removed, const ASlotList& added) override
    {
        calls.push_back({Ids(changed), Ids(removed), Ids(added)});
    }
    static std::vector<ARecordId> Ids(const ASlotList& list)
    {
        std::vector<ARecordId> ids;
        for (const ARecordBase* slot : list)
            ids.push_back(slot->id);
        return ids;
    }
};

// Turns assertion failures into test failures instead of ending the process.
class TAssertionGuard {
public:
    TAssertionGuard()
    {
        previous_ = Fendral::SetAssertionHandler([this](const std::string& report) {
            ++failures;
            last = report;
            return true;
        });
    }
    ~TAssertionGuard() { Fendral::SetAssertionHandler(previous_); }
    int failures = 0;
    std::string last;

private:
    Fendral::AssertionHandler previous_;
};

}  // namespace TestRecords
