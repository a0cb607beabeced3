// A stream over a file, with atomic replacement for saving.
#pragma once
#include "core/AtomicFile.h"
#include "core/Streams.h"

#include <memory>
#include <string>

namespace UtilityClasses::Streams {

enum class EFileMode {
    Read,          // an existing file, read only
    Create,        // created or truncated, read and write
    CreateAtomic,  // written beside the target; Commit replaces the target, Release without
                   // Commit leaves the target as it was
};

class AFileStream final : public Implementation::ARefCounted<IStream> {
public:
    // path is UTF-8. Failures carry the system error as 0x8007xxxx.
    static HRESULT Open(const std::string& path, EFileMode mode, AStreamPtr* stream);

    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) override;
    HRESULT Write(const void* buffer, std::uint32_t size, std::uint32_t* written) override;
    HRESULT Seek(std::int64_t move, ESeekOrigin origin, std::uint64_t* newPosition) override;
    HRESULT SetSize(std::uint64_t size) override;
    // Flushes to disk; an atomic stream then renames its temporary file over the target
    // and accepts no more writes.
    HRESULT Commit() override;
    HRESULT Stat(AStreamStat* stat) override;

private:
    AFileStream(int descriptor, EFileMode mode, std::unique_ptr<Files::AAtomicFile> atomic);
    ~AFileStream() override;

    HRESULT CheckWritable() const;

    int m_descriptor;
    EFileMode m_mode;
    std::unique_ptr<Files::AAtomicFile> m_atomic;  // the replacement of an atomic stream; owns m_descriptor
    std::uint64_t m_position = 0;
};

}  // namespace UtilityClasses::Streams
