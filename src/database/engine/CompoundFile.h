// A compound file (MS-CFB) holding named streams at its root storage.
//
// Only what the data file needs: one root storage with streams, no sub-storages.
// Reading accepts versions 3 and 4 (512- and 4096-byte sectors) with the mini
// stream; writing produces version 3 with 512-byte sectors.
//
// Stream content that was written lives in memory (whole pages of what changed,
// over the stored sectors of what did not) until Commit. Commit writes only the
// sectors that change, in place, after their old bytes are safe in a journal
// beside the file; where that would not pay (most of the file changes, much of it
// would lie unused) or is not safe (another program is reading the file), it
// writes a complete new container beside the file and renames it over the old
// one. Either way, after a crash the path holds the old or the new content: a
// journal left behind is rolled back when the file is next opened.
#pragma once

#include "core/Result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Database::Engine {

namespace Implementation {
class ASaveCalls;
}

class ACompoundFile;

// A handle to one stream of an open compound file. Valid while its file lives and
// the stream is not deleted; CreateStream over the same name, Commit and Revert
// keep it valid (Revert drops handles of streams created since the last Commit).
class ACompoundStream {
public:
    virtual ~ACompoundStream() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads up to count bytes at position; *read receives how many were available.
    [[nodiscard]] virtual HRESULT ReadAt(std::uint64_t position, void* buffer, std::size_t count,
                                         std::size_t* read) = 0;
    // Writes count bytes at position, growing the stream when it ends before them
    // (a gap is zero-filled). Fails with kUnexpected on a read-only file, and with
    // kStgMediumFull beyond 2 GiB (the most a version-3 container holds).
    [[nodiscard]] virtual HRESULT WriteAt(std::uint64_t position, const void* buffer, std::size_t count) = 0;
    [[nodiscard]] virtual HRESULT SetSize(std::uint64_t size) = 0;
};

class ACompoundFile {
public:
    virtual ~ACompoundFile() = default;

    // Opens an existing file. Not a compound file at all: kStgInvalidHeader. A
    // damaged container (bad sector chains, cycles, out-of-range sectors, broken
    // directory): kStgDocFileCorrupt. Missing file: the errno mapped to 0x8007xxxx.
    // With writable = true the file is locked (advisory, exclusive); when it can't
    // be written or is locked by another program, the result is kStgAccessDenied
    // and the caller may open it again with writable = false.
    // A journal of a save that was cut short is rolled back first; where it cannot be
    // (the file is opened read-only), the result is kSaveInterrupted and nothing is read.
    // calls: the system calls of saves in place, for tests.
    [[nodiscard]] static HRESULT Open(const std::string& path, bool writable, std::unique_ptr<ACompoundFile>& file,
                                      Implementation::ASaveCalls* calls = nullptr);

    // Starts a new, empty container that Commit will write to path (replacing any
    // file there). Nothing is written before Commit.
    [[nodiscard]] static HRESULT Create(const std::string& path, std::unique_ptr<ACompoundFile>& file);

    virtual const std::string& Path() const = 0;
    virtual bool Writable() const = 0;

    // Names of the streams at the root, in the container's name order: shorter
    // names first, then case-blind. Names are found case-blind too.
    virtual std::vector<std::u16string> StreamNames() const = 0;
    virtual bool HasStream(const std::u16string& name) const = 0;

    // kStgFileNotFound when there is no such stream.
    [[nodiscard]] virtual HRESULT OpenStream(const std::u16string& name, ACompoundStream** stream) = 0;
    // Creates an empty stream, replacing an existing one of that name. A name
    // holds 1..31 UTF-16 units, none of them NUL, '/', '\', ':' or '!'
    // (otherwise kStgInvalidName). Changing the streams of a read-only file
    // (CreateStream, DeleteStream, Commit) gives kUnexpected.
    [[nodiscard]] virtual HRESULT CreateStream(const std::u16string& name, ACompoundStream** stream) = 0;
    [[nodiscard]] virtual HRESULT DeleteStream(const std::u16string& name) = 0;

    // Writes the whole container atomically to Path(); afterwards the file is
    // open on the new content (still locked when writable). A created file's
    // Commit fails with kStgAccessDenied while another holder locks the file at
    // Path(). On failure the old file and everything in memory are unchanged,
    // except when only flushing the folder failed after the rename: then the
    // file is already open on the new content.
    [[nodiscard]] virtual HRESULT Commit() = 0;

    // Drops every change made since the last Commit (or since Open/Create), so
    // that a save that failed half-way can be tried again from a clean state.
    virtual void Revert() = 0;
};

}  // namespace Database::Engine
