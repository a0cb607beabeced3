// File access under the compound file: descriptors, exact positioned reads, a
// buffered sequential writer, the advisory lock and the replace-by-rename of a
// committed file.
#pragma once

#include "core/AtomicFile.h"
#include "core/Result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Database::Engine::Implementation {

// An open descriptor, closed when the last owner lets go. Streams share the
// descriptor of the file their stored content lives in.
class AFileHandle {
public:
    explicit AFileHandle(int fd) : fd_(fd) {}
    ~AFileHandle();
    AFileHandle(const AFileHandle&) = delete;
    AFileHandle& operator=(const AFileHandle&) = delete;

    int Fd() const { return fd_; }

private:
    int fd_;
};

// Opens an existing regular file. With writable = true it is opened for writing
// and locked exclusively; a file we may not write or that another holder has
// locked gives kStgAccessDenied. Other failures are the errno as 0x8007xxxx.
[[nodiscard]] HRESULT OpenContainerFile(const std::string& path, bool writable, std::shared_ptr<AFileHandle>& handle,
                                        std::uint64_t& fileSize);

// Readers hold a shared lock on one byte far past any content for as long as they
// have the file open, and a save in place holds it exclusively while it writes: a
// save never changes bytes under a reader (with a reader about, it writes a new file
// instead, which the reader does not see). Waits up to a few seconds for a save in
// place to end; kStgAccessDenied if it does not. Where the file system has no such
// locks, readers go on without and saves write new files.
[[nodiscard]] HRESULT HoldReaderLock(int fd);
bool TryLockForUpdate(int fd);
void UnlockForUpdate(int fd);

// Reads up to count bytes at offset; *got tells how many there were before the
// end of the file. Only I/O errors fail.
[[nodiscard]] HRESULT ReadUpTo(int fd, std::uint64_t offset, void* buffer, std::size_t count, std::size_t* got);

// Writes sequentially from the start of a file through a buffer, so that many
// small pieces cost few system calls.
class ASequentialWriter {
public:
    explicit ASequentialWriter(int fd, std::size_t bufferSize = 1 << 20);

    [[nodiscard]] HRESULT Write(const void* data, std::size_t count);
    [[nodiscard]] HRESULT WriteZeros(std::uint64_t count);
    [[nodiscard]] HRESULT Flush();
    std::uint64_t Position() const { return written_ + used_; }

private:
    HRESULT WriteDirect(const std::uint8_t* data, std::size_t count);

    int fd_;
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
};

// A new file beside the target that becomes the target by rename. Until Install
// succeeds, destroying it removes the half-written file and the target is untouched.
class AReplacementFile {
public:
    // Creates the temporary file (with the mode of an existing target) and locks
    // it, so the lock is in place the moment the name points at it. When the
    // target exists and another holder has it locked: kStgAccessDenied.
    [[nodiscard]] HRESULT Begin(const std::string& target, bool targetLockedByUs);
    int Fd() const { return file_.Fd(); }

    // Flushes the content, renames it over the target and flushes the folder.
    // The handle is given up once the rename has happened, even when the folder
    // flush fails after it (then the result says so, but the target is new).
    [[nodiscard]] HRESULT Install(std::shared_ptr<AFileHandle>& installed);

private:
    Files::AAtomicFile file_;
};

}  // namespace Database::Engine::Implementation
