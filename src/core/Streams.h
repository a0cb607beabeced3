// Byte streams in the shape of the platform's COM IStream: the one way data crosses
// module boundaries (interchange text, workbook parts, plug-in data).
#pragma once
#include "core/RefPtr.h"
#include "core/Result.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace UtilityClasses::Streams {

// Same values as STREAM_SEEK_SET, STREAM_SEEK_CUR and STREAM_SEEK_END.
enum class ESeekOrigin : std::uint32_t { Set = 0, Cur = 1, End = 2 };

struct AStreamStat {
    std::uint64_t size = 0;
};

// Plug-ins are built against this table, so the slot order is fixed: AddRef, Release,
// Read, Write, Seek, SetSize, Commit, Stat. Objects delete themselves on the last
// Release; the destructor is not part of the interface.
class IStream {
public:
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

    // Reads up to size bytes at the current position; fewer (even none) at the end of
    // the stream is still success. read may be null.
    virtual HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) = 0;
    // Writes all bytes or fails; a failure writes nothing the caller can rely on.
    virtual HRESULT Write(const void* buffer, std::uint32_t size, std::uint32_t* written) = 0;
    // Moving before the start is kStgInvalidFunction and leaves the position alone.
    virtual HRESULT Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition) = 0;
    // Grows (with zero bytes) or cuts the stream; the position does not move.
    virtual HRESULT SetSize(std::uint64_t size) = 0;
    // Makes written data durable; an atomic file stream replaces its target here.
    virtual HRESULT Commit() = 0;
    virtual HRESULT Stat(AStreamStat* stat) = 0;

protected:
    ~IStream() = default;
};

using AStreamPtr = ARefPtr<IStream>;

namespace Implementation {

// AddRef/Release for a concrete stream; the last Release deletes the object.
template <class Base>
class ARefCounted : public Base {
public:
    std::uint32_t AddRef() final { return ++m_references; }
    std::uint32_t Release() final
    {
        const std::uint32_t left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ARefCounted() = default;
    virtual ~ARefCounted() = default;
    ARefCounted(const ARefCounted&) = delete;
    ARefCounted& operator=(const ARefCounted&) = delete;

private:
    std::atomic<std::uint32_t> m_references{1};
};

// Position arithmetic shared by the streams: the new position or a failure code.
HRESULT ComputeSeek(std::uint64_t current, std::uint64_t size, std::int64_t move, ESeekOrigin origin,
                    std::uint64_t* result);

}  // namespace Implementation

// Size of the stream, from Stat.
HRESULT GetSize(IStream& stream, std::uint64_t* size);

// Reads until size bytes arrived or the stream ended; read gets the count.
HRESULT ReadFully(IStream& stream, void* buffer, std::size_t size, std::size_t* read);

// Writes a byte string of any length (split into 32-bit sized calls).
HRESULT WriteAll(IStream& stream, std::string_view bytes);

// Reads from the current position to the end, stopping with kOutOfMemory past limit bytes.
HRESULT ReadToEnd(IStream& stream, std::string* bytes, std::uint64_t limit);

}  // namespace UtilityClasses::Streams
