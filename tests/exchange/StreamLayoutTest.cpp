// Plug-ins see the program's streams through the copy of the stream table in the public
// header; the program's own declaration must keep the same layout, slot for slot.
#include "core/MemoryStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

// The public header as a plug-in compiles it, under a namespace of its own so that both
// declarations can stand side by side here. Its own includes are already in.
namespace PluginView {
#include "fendral/eximport.h"
}

namespace {

namespace Host = UtilityClasses::Streams;
namespace Plugin = PluginView::UtilityClasses::Streams;

static_assert(std::is_same_v<HRESULT, PluginView::HRESULT>);
static_assert(sizeof(Host::IStream) == sizeof(Plugin::IStream));
static_assert(alignof(Host::IStream) == alignof(Plugin::IStream));
static_assert(std::is_polymorphic_v<Host::IStream> && std::is_polymorphic_v<Plugin::IStream>);
static_assert(sizeof(Host::AStreamStat) == sizeof(Plugin::AStreamStat));
static_assert(offsetof(Host::AStreamStat, size) == offsetof(Plugin::AStreamStat, size));
static_assert(std::is_same_v<std::underlying_type_t<Host::ESeekOrigin>, std::underlying_type_t<Plugin::ESeekOrigin>>);
constexpr bool SameValue(Host::ESeekOrigin host, Plugin::ESeekOrigin plugin)
{
    return static_cast<std::uint32_t>(host) == static_cast<std::uint32_t>(plugin);
}
static_assert(SameValue(Host::ESeekOrigin::Set, Plugin::ESeekOrigin::Set));
static_assert(SameValue(Host::ESeekOrigin::Cur, Plugin::ESeekOrigin::Cur));
static_assert(SameValue(Host::ESeekOrigin::End, Plugin::ESeekOrigin::End));

// A pointer to a virtual member holds the function's place in the table (Itanium ABI),
// so equal bytes mean the same slot.
template <class Member>
std::array<unsigned char, sizeof(Member)> SlotBytes(Member member)
{
    std::array<unsigned char, sizeof(Member)> bytes{};
    std::memcpy(bytes.data(), &member, sizeof(Member));
    return bytes;
}

TEST(StreamLayout, EveryOperationHasTheSameSlot)
{
    EXPECT_EQ(SlotBytes(&Host::IStream::AddRef), SlotBytes(&Plugin::IStream::AddRef));
    EXPECT_EQ(SlotBytes(&Host::IStream::Release), SlotBytes(&Plugin::IStream::Release));
    EXPECT_EQ(SlotBytes(&Host::IStream::Read), SlotBytes(&Plugin::IStream::Read));
    EXPECT_EQ(SlotBytes(&Host::IStream::Write), SlotBytes(&Plugin::IStream::Write));
    EXPECT_EQ(SlotBytes(&Host::IStream::Seek), SlotBytes(&Plugin::IStream::Seek));
    EXPECT_EQ(SlotBytes(&Host::IStream::SetSize), SlotBytes(&Plugin::IStream::SetSize));
    EXPECT_EQ(SlotBytes(&Host::IStream::Commit), SlotBytes(&Plugin::IStream::Commit));
    EXPECT_EQ(SlotBytes(&Host::IStream::Stat), SlotBytes(&Plugin::IStream::Stat));
    // Distinct slots, so the comparison above could tell a swap.
    EXPECT_NE(SlotBytes(&Host::IStream::Read), SlotBytes(&Host::IStream::Write));
}

// The pointer as the other side of the library boundary gets it: through memory the
// optimiser cannot see into, so it cannot assume the object's type from where it came.
template <class To, class From>
To* AcrossTheBoundary(From* object)
{
    void* volatile address = object;
    return static_cast<To*>(address);
}

// The calls across the views are what a plug-in and the program do from separately
// built code; the sanitizer's type check would take them for a mistaken cast.
#define FENDRAL_ACROSS_VIEWS __attribute__((no_sanitize("vptr")))

// What a plug-in does with a stream the program hands it.
FENDRAL_ACROSS_VIEWS void UseAsAPlugin(Plugin::IStream* plugin)
{
    EXPECT_EQ(plugin->AddRef(), 2u);
    char buffer[16] = {};
    std::uint32_t read = 0;
    ASSERT_EQ(plugin->Read(buffer, 5, &read), 0);
    EXPECT_EQ(std::string(buffer, read), "inter");

    std::uint64_t position = 0;
    ASSERT_EQ(plugin->Seek(-6, Plugin::ESeekOrigin::End, &position), 0);
    EXPECT_EQ(position, 5u);
    std::uint32_t written = 0;
    ASSERT_EQ(plugin->Write("-", 1, &written), 0);
    EXPECT_EQ(written, 1u);
    ASSERT_EQ(plugin->SetSize(8), 0);
    ASSERT_EQ(plugin->Commit(), 0);
    Plugin::AStreamStat stat;
    ASSERT_EQ(plugin->Stat(&stat), 0);
    EXPECT_EQ(stat.size, 8u);
    EXPECT_EQ(plugin->Release(), 1u);
}

TEST(StreamLayout, APluginUsesTheProgramsMemoryStream)
{
    const auto host = Host::AMemoryStream::Create("interchange");
    UseAsAPlugin(AcrossTheBoundary<Plugin::IStream>(static_cast<Host::IStream*>(host.get())));
    EXPECT_EQ(host->Bytes(), "inter-ha");
}

// A plug-in's own stream, as the program reads it.
class TPluginStream final : public Plugin::IStream {
public:
    std::uint32_t AddRef() override { return ++references; }
    std::uint32_t Release() override { return --references; }
    PluginView::HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) override
    {
        const std::size_t count = std::min<std::size_t>(size, text.size() - position);
        std::memcpy(buffer, text.data() + position, count);
        position += count;
        if (read)
            *read = static_cast<std::uint32_t>(count);
        return 0;
    }
    PluginView::HRESULT Write(const void*, std::uint32_t, std::uint32_t*) override { return Result::kNotImplemented; }
    PluginView::HRESULT Seek(std::int64_t, Plugin::ESeekOrigin, std::uint64_t*) override
    {
        return Result::kNotImplemented;
    }
    PluginView::HRESULT SetSize(std::uint64_t) override { return Result::kNotImplemented; }
    PluginView::HRESULT Commit() override { return Result::kNotImplemented; }
    PluginView::HRESULT Stat(Plugin::AStreamStat* stat) override
    {
        stat->size = text.size();
        return 0;
    }

    std::uint32_t references = 1;
    std::string text = "a plug-in's bytes";
    std::size_t position = 0;
};

// The program's side: its own calls on the stream, as the stream helpers make them.
FENDRAL_ACROSS_VIEWS void ReadAsTheProgram(Host::IStream& host, const std::string& expected)
{
    EXPECT_EQ(host.AddRef(), 2u);
    Host::AStreamStat stat;
    ASSERT_EQ(host.Stat(&stat), Result::kOk);
    EXPECT_EQ(stat.size, expected.size());
    std::string bytes(expected.size() + 4, '\0');
    std::uint32_t read = 0;
    ASSERT_EQ(host.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &read), Result::kOk);
    bytes.resize(read);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(host.Seek(0, Host::ESeekOrigin::Set, nullptr), Result::kNotImplemented);
    EXPECT_EQ(host.Release(), 1u);
}

TEST(StreamLayout, TheProgramReadsAPluginsStream)
{
    TPluginStream plugin;
    ReadAsTheProgram(*AcrossTheBoundary<Host::IStream>(static_cast<Plugin::IStream*>(&plugin)), plugin.text);
    EXPECT_EQ(plugin.references, 1u);
}

}  // namespace
