#include "core/MemoryStream.h"
#include "core/Streams.h"

#include <gtest/gtest.h>

#include <limits>

using namespace UtilityClasses;
using namespace UtilityClasses::Streams;

namespace {

std::string ReadAt(IStream& stream, std::uint64_t position, std::uint32_t size)
{
    EXPECT_EQ(stream.Seek(static_cast<std::int64_t>(position), ESeekOrigin::Set, nullptr), Result::kOk);
    std::string buffer(size, '\xEE');
    std::uint32_t read = 99;
    EXPECT_EQ(stream.Read(buffer.data(), size, &read), Result::kOk);
    buffer.resize(read);
    return buffer;
}

// Counts its own AddRef/Release so tests can see the pointer's bookkeeping.
struct ACounted {
    int references = 1;
    int destroyed = 0;
    std::uint32_t AddRef() { return ++references; }
    std::uint32_t Release()
    {
        if (--references == 0)
            ++destroyed;
        return references;
    }
};

}  // namespace

TEST(MemoryStream, SeekFromEachOriginAndRejectsMovesBeforeTheStart)
{
    auto stream = AMemoryStream::Create("0123456789");
    struct Case { std::uint64_t start; std::int64_t move; ESeekOrigin origin; HRESULT hr; std::uint64_t expected; };
    const Case cases[] = {
        {5, 3, ESeekOrigin::Set, Result::kOk, 3},
        {5, 2, ESeekOrigin::Cur, Result::kOk, 7},
        {5, -5, ESeekOrigin::Cur, Result::kOk, 0},
        {5, -6, ESeekOrigin::Cur, Result::kStgInvalidFunction, 5},
        {5, -1, ESeekOrigin::End, Result::kOk, 9},
        {5, 4, ESeekOrigin::End, Result::kOk, 14},
        {5, -11, ESeekOrigin::End, Result::kStgInvalidFunction, 5},
        {5, -1, ESeekOrigin::Set, Result::kStgInvalidFunction, 5},
        {5, std::numeric_limits<std::int64_t>::min(), ESeekOrigin::End, Result::kStgInvalidFunction, 5},
        {5, std::numeric_limits<std::int64_t>::max(), ESeekOrigin::Cur, Result::kStgInvalidFunction, 5},
        {5, 0, static_cast<ESeekOrigin>(3), Result::kStgInvalidFunction, 5},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(stream->Seek(static_cast<std::int64_t>(c.start), ESeekOrigin::Set, nullptr), Result::kOk);
        std::uint64_t position = 12345;
        EXPECT_EQ(stream->Seek(c.move, c.origin, &position), c.hr) << c.move;
        EXPECT_EQ(stream->Position(), c.expected) << c.move;
        if (Result::Succeeded(c.hr)) {
            EXPECT_EQ(position, c.expected);
        }
    }
}

TEST(MemoryStream, ReadsShortAtTheEndAndNothingPastIt)
{
    auto stream = AMemoryStream::Create("abcdef");
    EXPECT_EQ(ReadAt(*stream, 0, 4), "abcd");
    EXPECT_EQ(ReadAt(*stream, 4, 4), "ef");
    EXPECT_EQ(stream->Position(), 6u);
    EXPECT_EQ(ReadAt(*stream, 6, 4), "");
    EXPECT_EQ(ReadAt(*stream, 100, 4), "");
    std::uint32_t read = 7;
    EXPECT_EQ(stream->Read(nullptr, 1, &read), Result::kStgInvalidPointer);
    EXPECT_EQ(read, 0u);
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros)
{
    auto stream = AMemoryStream::Create("ab");
    ASSERT_EQ(stream->Seek(5, ESeekOrigin::Set, nullptr), Result::kOk);
    std::uint32_t written = 0;
    ASSERT_EQ(stream->Write("xy", 2, &written), Result::kOk);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(stream->Bytes(), std::string_view("ab\0\0\0xy", 7));
    ASSERT_EQ(stream->Seek(1, ESeekOrigin::Set, nullptr), Result::kOk);
    ASSERT_EQ(stream->Write("Q", 1, nullptr), Result::kOk);
    EXPECT_EQ(stream->Bytes(), std::string_view("aQ\0\0\0xy", 7));
    EXPECT_EQ(stream->Position(), 2u);
}

TEST(MemoryStream, SetSizeCutsOrGrowsWithoutMovingThePosition)
{
    auto stream = AMemoryStream::Create("abcdef");
    ASSERT_EQ(stream->Seek(5, ESeekOrigin::Set, nullptr), Result::kOk);
    ASSERT_EQ(stream->SetSize(2), Result::kOk);
    EXPECT_EQ(stream->Position(), 5u);
    std::uint64_t size = 0;
    ASSERT_EQ(GetSize(*stream, &size), Result::kOk);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(ReadAt(*stream, 5, 4), "");
    ASSERT_EQ(stream->SetSize(4), Result::kOk);
    EXPECT_EQ(stream->Bytes(), std::string_view("ab\0\0", 4));
}

TEST(MemoryStream, RefusesToGrowBeyondItsLimitAndKeepsItsContent)
{
    auto stream = AMemoryStream::Create("abc", 8);
    ASSERT_EQ(stream->Seek(0, ESeekOrigin::End, nullptr), Result::kOk);
    std::uint32_t written = 9;
    EXPECT_EQ(stream->Write("123456", 6, &written), Result::kStgMediumFull);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(stream->Bytes(), "abc");
    EXPECT_EQ(stream->Write("12345", 5, &written), Result::kOk);
    EXPECT_EQ(stream->SetSize(9), Result::kStgMediumFull);
    EXPECT_EQ(stream->SetSize(std::numeric_limits<std::uint64_t>::max()), Result::kStgMediumFull);
    ASSERT_EQ(stream->Seek(std::numeric_limits<std::int64_t>::max(), ESeekOrigin::Set, nullptr), Result::kOk);
    EXPECT_EQ(stream->Write("1", 1, nullptr), Result::kStgMediumFull);
    EXPECT_EQ(stream->Bytes(), "abc12345");
}

TEST(StreamHelpers, ReadToEndStopsAtTheLimitAndWriteAllWritesEverything)
{
    auto stream = AMemoryStream::Create();
    const std::string text(200000, 'z');
    ASSERT_EQ(WriteAll(*stream, text), Result::kOk);
    ASSERT_EQ(stream->Seek(0, ESeekOrigin::Set, nullptr), Result::kOk);
    std::string back;
    EXPECT_EQ(ReadToEnd(*stream, &back, text.size()), Result::kOk);
    EXPECT_EQ(back, text);
    ASSERT_EQ(stream->Seek(0, ESeekOrigin::Set, nullptr), Result::kOk);
    EXPECT_EQ(ReadToEnd(*stream, &back, text.size() - 1), Result::kOutOfMemory);
}

TEST(RefPtr, CopiesShareMovesTransferAndTheLastReleaseDestroys)
{
    ACounted object;
    {
        auto adopted = ARefPtr<ACounted>::Adopt(&object);
        EXPECT_EQ(object.references, 1);
        ARefPtr<ACounted> shared(adopted);
        EXPECT_EQ(object.references, 2);
        ARefPtr<ACounted> moved(std::move(shared));
        EXPECT_FALSE(shared);
        EXPECT_EQ(object.references, 2);
        moved = adopted;
        EXPECT_EQ(object.references, 2);
        moved = nullptr;
        EXPECT_EQ(object.references, 1);
        ACounted* raw = adopted.Detach();
        EXPECT_EQ(raw, &object);
        EXPECT_EQ(object.references, 1);
        *adopted.Out() = raw;  // as an interface call would hand a reference back
    }
    EXPECT_EQ(object.references, 0);
    EXPECT_EQ(object.destroyed, 1);
}

TEST(RefPtr, KeepsAStreamAliveWhileAnyHolderHasIt)
{
    AStreamPtr first;
    {
        auto memory = AMemoryStream::Create("data");
        first = memory;
        EXPECT_EQ(memory->AddRef(), 3u);
        EXPECT_EQ(memory->Release(), 2u);
    }
    std::string back;
    EXPECT_EQ(ReadToEnd(*first, &back, 100), Result::kOk);
    EXPECT_EQ(back, "data");
}
