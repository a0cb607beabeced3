// Reading a table stream through a window: the pieces the source hands out, and the
// table parser fed cut, mutated and oversized streams, which must fail cleanly.
#include "TestRecords.h"

#include "database/engine/ByteSource.h"

#include <cstring>
#include <random>

using namespace TestRecords;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31 + i / 256);
    return bytes;
}

// A source over bytes in memory that counts its reads and can fail or end early.
struct TMemory {
    const Bytes& bytes;
    int reads = 0;
    int failOnRead = -1;              // answers this code on that read
    std::size_t endsAt = SIZE_MAX;    // bytes past this position are missing
    HRESULT failure = static_cast<HRESULT>(0x80070005);

    AByteSource Source()
    {
        return AByteSource(bytes.size(), [this](std::uint64_t position, std::uint8_t* out, std::size_t count,
                                                std::size_t* got) {
            if (reads++ == failOnRead)
                return failure;
            const std::size_t end = std::min(bytes.size(), endsAt);
            const std::size_t n = position >= end ? 0 : std::min<std::size_t>(count, end - position);
            std::memcpy(out, bytes.data() + position, n);
            *got = n;
            return Result::kOk;
        });
    }
};

void Append32(Bytes& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A stream of the item table: header (24 bytes), then slots of 16 + 16 bytes.
Bytes ItemStream(int items, std::uint32_t slotHeaderSize = 16, std::uint32_t recordSize = 16)
{
    Bytes out;
    for (std::uint32_t word : {24u, slotHeaderSize, recordSize, static_cast<std::uint32_t>(items) * 2 + 1, 1u, 0u})
        Append32(out, word);
    for (int i = 0; i < items; ++i) {
        Append32(out, static_cast<std::uint32_t>(i) * 2 + 1);  // identifier
        out.insert(out.end(), slotHeaderSize - 4, 0);           // stamp, deleted flag, padding
        Append32(out, 0);                                        // note
        Append32(out, static_cast<std::uint32_t>(1000 - i));    // value
        out.insert(out.end(), recordSize - 8, 0);
    }
    return out;
}

HRESULT LoadItems(const Bytes& bytes, std::size_t& loaded)
{
    TEngine db;
    TMemory memory{bytes};
    AByteSource source = memory.Source();
    std::uint32_t errors = 0;
    const HRESULT result = db.Items().Load(source, errors);
    loaded = db.Items().SlotCount();
    return result;
}

}  // namespace

TEST(ByteSource, PiecesOfAnySizeFollowTheStreamAcrossWindows)
{
    const Bytes content = Pattern(3 * AByteSource::kWindow + 123);
    TMemory memory{content};
    AByteSource source = memory.Source();
    const std::size_t pieces[] = {1, 7, 4093, AByteSource::kWindow + 5, 2, AByteSource::kWindow - 1, 0};
    std::size_t position = 0;
    for (const std::size_t n : pieces) {
        const std::uint8_t* piece = source.Take(n);
        ASSERT_NE(piece, nullptr) << n;
        EXPECT_TRUE(std::equal(piece, piece + n, content.begin() + static_cast<std::ptrdiff_t>(position))) << n;
        position += n;
        EXPECT_EQ(source.Position(), position);
        EXPECT_EQ(source.Remaining(), content.size() - position);
    }
    const std::size_t rest = content.size() - position;
    const std::uint8_t* piece = source.Take(rest);
    ASSERT_NE(piece, nullptr);
    EXPECT_TRUE(std::equal(piece, piece + rest, content.end() - static_cast<std::ptrdiff_t>(rest)));
    EXPECT_EQ(source.Remaining(), 0u);
    EXPECT_EQ(source.Failure(), Result::kOk);
    EXPECT_LE(memory.reads, 6) << "read in windows, not piece by piece";
}

TEST(ByteSource, FailuresStickAndSayWhy)
{
    const Bytes content = Pattern(200000);
    struct Case {
        const char* what;
        int failOnRead;
        std::size_t endsAt;
        std::size_t take;
        HRESULT expected;
    };
    const Case cases[] = {
        {"more than remains", -1, SIZE_MAX, content.size() + 1, Result::kStgDocFileCorrupt},
        {"the reader fails", 1, SIZE_MAX, 100000, static_cast<HRESULT>(0x80070005)},
        {"the stream ends early", -1, 150000, 100000, Result::kStgDocFileCorrupt},
    };
    for (const Case& c : cases) {
        TMemory memory{content};
        memory.failOnRead = c.failOnRead;
        memory.endsAt = c.endsAt;
        AByteSource source = memory.Source();
        EXPECT_NE(source.Take(100000), nullptr) << c.what;
        EXPECT_EQ(source.Take(c.take), nullptr) << c.what;
        EXPECT_EQ(source.Failure(), c.expected) << c.what;
        EXPECT_EQ(source.Take(1), nullptr) << c.what << ": a failed source stays failed";
    }
}

TEST(TableLoad, CutAtEveryLengthGivesTheWholeSlotsOrACleanFailure)
{
    // 2,100 slots of 32 bytes run past the first window, with a slot across its edge.
    const Bytes stream = ItemStream(2100);
    for (std::size_t length = 0; length <= stream.size(); length += length < 200 ? 1 : 29) {
        const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length));
        std::size_t loaded = 0;
        const HRESULT result = LoadItems(cut, loaded);
        const bool wholeSlots = length == 0 || (length >= 24 && (length - 24) % 32 == 0);
        ASSERT_EQ(result, wholeSlots ? Result::kOk : Result::kStgDocFileCorrupt) << length;
        if (wholeSlots) {
            ASSERT_EQ(loaded, length == 0 ? 0 : (length - 24) / 32) << length;
        }
    }
}

TEST(TableLoad, LargerStoredSlotsAndOversizedDeclarationsAreReadOrRefusedCleanly)
{
    struct Case {
        const char* what;
        Bytes stream;
        HRESULT expected;
        std::size_t slots;
    };
    Bytes hugeSlot = ItemStream(1, 1u << 20, 1u << 20);  // one slot of 2 MiB, as large as allowed
    Bytes tooLarge = ItemStream(0, 16, (1u << 20) + 1);
    Bytes declaredPastTheEnd = ItemStream(3);
    declaredPastTheEnd[0] = 0xFF;  // header size far beyond the stream
    const Case cases[] = {
        {"a writer with larger slots", ItemStream(5000, 40, 100), Result::kOk, 5000},
        {"one slot of the largest size", hugeSlot, Result::kOk, 1},
        {"a record size above the limit", tooLarge, Result::kStgDocFileCorrupt, 0},
        {"a header size past the end", declaredPastTheEnd, Result::kStgDocFileCorrupt, 0},
    };
    for (const Case& c : cases) {
        std::size_t loaded = 0;
        EXPECT_EQ(LoadItems(c.stream, loaded), c.expected) << c.what;
        EXPECT_EQ(loaded, c.slots) << c.what;
    }
}

TEST(TableLoad, RandomAndMutatedStreamsFailCleanly)
{
    std::mt19937 random(99);
    const Bytes original = ItemStream(3000);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes = original;
        if (round % 3 == 0) {
            bytes.resize(random() % 4096);
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(random());
        } else {
            for (int flip = 0; flip < 1 + round % 6; ++flip)
                bytes[random() % (round % 2 ? 24 : bytes.size())] ^= static_cast<std::uint8_t>(1 + random() % 255);
        }
        std::size_t loaded = 0;
        const HRESULT result = LoadItems(bytes, loaded);
        EXPECT_TRUE(result == Result::kOk || result == Result::kStgDocFileCorrupt) << round;
    }
}
