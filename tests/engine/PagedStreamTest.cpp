#include "database/engine/PagedStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace Database::Engine;

namespace {

// A stream kept in a vector, standing in for a stream of a compound file.
class MemoryStream final : public ACompoundStream {
public:
    std::vector<std::uint8_t> bytes;
    std::uint64_t Size() const override { return bytes.size(); }
    HRESULT ReadAt(std::uint64_t position, void* buffer, std::size_t count, std::size_t* read) override
    {
        const std::size_t n = position >= bytes.size() ? 0 : std::min<std::size_t>(count, bytes.size() - position);
        if (n != 0)
            std::memcpy(buffer, bytes.data() + position, n);
        *read = n;
        return Result::kOk;
    }
    HRESULT WriteAt(std::uint64_t position, const void* buffer, std::size_t count) override
    {
        ++writes;
        if (bytes.size() < position + count)
            bytes.resize(position + count);
        std::memcpy(bytes.data() + position, buffer, count);
        return Result::kOk;
    }
    HRESULT SetSize(std::uint64_t size) override
    {
        bytes.resize(size);
        return Result::kOk;
    }
    int writes = 0;
};

std::vector<std::uint8_t> Pattern(std::size_t n, unsigned seed)
{
    std::vector<std::uint8_t> data(n);
    std::mt19937 random(seed);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(random());
    return data;
}

std::vector<std::uint8_t> ReadBack(MemoryStream& raw)
{
    APagedStream stream(raw, false);
    std::vector<std::uint8_t> data(stream.Size());
    std::size_t got = 0;
    EXPECT_EQ(stream.Read(0, data.data(), data.size(), &got), Result::kOk);
    EXPECT_EQ(got, data.size());
    return data;
}

// Writes the data at the start of the raw stream through a paged stream of its own.
void WriteThrough(MemoryStream& raw, const std::vector<std::uint8_t>& data, std::size_t at = 0)
{
    APagedStream stream(raw, true);
    ASSERT_EQ(stream.Write(at, data.data() + at, data.size() - at), Result::kOk);
    ASSERT_EQ(stream.Flush(), Result::kOk);
}

}  // namespace

TEST(PagedStream, SizeArithmetic)
{
    struct Case { std::uint64_t logical, physical; };
    const Case cases[] = {{0, 0}, {1, 5}, {4092, 4096}, {4093, 4096 + 5}, {8184, 8192}, {8185, 8197}};
    for (const Case& c : cases) {
        EXPECT_EQ(APagedStream::PhysicalSize(c.logical), c.physical) << c.logical;
        EXPECT_EQ(APagedStream::LogicalSize(c.physical), c.logical) << c.physical;
    }
    // A last page too short to hold its seed holds no data.
    EXPECT_EQ(APagedStream::LogicalSize(4096 + 3), 4092u);
}

TEST(PagedStream, WritesScrambledPagesThatReadBackClear)
{
    PageScrambler::SetState(12345);
    MemoryStream raw;
    const auto data = Pattern(4093, 1);
    WriteThrough(raw, data);
    ASSERT_EQ(raw.bytes.size(), 4096u + 5u);
    // The first page: seed = the generator state, data XOR-ed with the following states.
    std::uint32_t seed;
    std::memcpy(&seed, raw.bytes.data(), 4);
    EXPECT_EQ(seed, 12345u);
    std::uint32_t word, clear;
    std::memcpy(&word, raw.bytes.data() + 4, 4);
    std::memcpy(&clear, data.data(), 4);
    EXPECT_EQ(word ^ clear, PageScrambler::Next(12345));
    EXPECT_EQ(ReadBack(raw), data);
}

// Seed 0 means "stored in the clear": a page scrambled from state 0 would read back wrong.
TEST(PagedStream, SeedZeroIsStoredInTheClearAndNeverUsedToScramble)
{
    MemoryStream clear;
    clear.bytes = {0, 0, 0, 0, 'a', 'b', 'c'};
    EXPECT_EQ(ReadBack(clear), (std::vector<std::uint8_t>{'a', 'b', 'c'}));

    // The same content written twice differs on disk, even from the generator's state 0.
    PageScrambler::SetState(0);
    const auto data = Pattern(100, 2);
    MemoryStream a, b;
    WriteThrough(a, data);
    WriteThrough(b, data);
    EXPECT_NE(a.bytes, b.bytes);
    EXPECT_EQ(ReadBack(a), data);
    EXPECT_EQ(ReadBack(b), data);
}

TEST(PagedStream, EqualBytesDoNotDirtyAPage)
{
    MemoryStream raw;
    const auto data = Pattern(5000, 4);
    WriteThrough(raw, data);
    const auto before = raw.bytes;
    raw.writes = 0;
    WriteThrough(raw, {data.begin(), data.begin() + 4510}, 10);
    EXPECT_EQ(raw.writes, 0);
    EXPECT_EQ(raw.bytes, before);
}

TEST(PagedStream, RandomWritesAndCutsMatchAPlainBuffer)
{
    std::mt19937 random(5);
    MemoryStream raw;
    std::vector<std::uint8_t> model;
    for (int round = 0; round < 200; ++round) {
        APagedStream stream(raw, true);
        ASSERT_EQ(stream.Size(), model.size());
        const std::size_t at = model.empty() ? 0 : random() % (model.size() + 10);
        if (round % 7 == 6) {
            ASSERT_EQ(stream.SetSize(at), Result::kOk);
            model.resize(at);
        } else {
            const auto data = Pattern(random() % 9000, static_cast<unsigned>(round));
            ASSERT_EQ(stream.Write(at, data.data(), data.size()), Result::kOk);
            if (model.size() < at + data.size())
                model.resize(at + data.size());
            std::copy(data.begin(), data.end(), model.begin() + static_cast<std::ptrdiff_t>(at));
        }
        ASSERT_EQ(stream.Flush(), Result::kOk);
        ASSERT_EQ(raw.bytes.size(), APagedStream::PhysicalSize(model.size()));
    }
    EXPECT_EQ(ReadBack(raw), model);
}

TEST(PagedStream, ReadOnlyStreamRefusesWrites)
{
    MemoryStream raw;
    APagedStream stream(raw, false);
    const std::uint8_t byte = 1;
    EXPECT_EQ(stream.Write(0, &byte, 1), Result::kUnexpected);
    EXPECT_EQ(stream.SetSize(0), Result::kUnexpected);
}
