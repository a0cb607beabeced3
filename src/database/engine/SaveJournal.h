// The journal of a save in place: before any byte of the file is overwritten, the
// original bytes of every piece about to change are written to a file beside it and
// flushed. A journal found later means a save was cut short: writing the pieces back
// and cutting the file to its old length gives the old content again.
#pragma once

#include "core/Result.h"

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Database::Engine::Implementation {

// The system calls a save in place makes, so that tests can make any of them fail.
// Each returns what the system call returns and leaves errno set on failure.
class ASaveCalls {
public:
    virtual ~ASaveCalls() = default;
    virtual ssize_t WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset);
    virtual int Flush(int fd);
    virtual int Truncate(int fd, std::uint64_t size);
};
ASaveCalls& SystemSaveCalls();

struct AJournalPiece {
    std::uint64_t offset;
    std::vector<std::uint8_t> bytes;
};

struct AJournal {
    std::uint64_t device = 0, inode = 0;  // the file it belongs to
    std::uint64_t fileSize = 0;           // the file's length before the save
    std::vector<AJournalPiece> pieces;
};

// ".NAME.journal" beside the file that a symbolic link at path names.
std::string JournalPathOf(const std::string& path);

// Writes and flushes the journal, and flushes the folder so that it is found after a crash.
[[nodiscard]] HRESULT WriteJournal(const std::string& journalPath, const AJournal& journal, ASaveCalls& calls);

enum class AJournalFound { None, Torn, OtherFile, Whole };
// Reads the journal beside a file. Torn: cut short or damaged, so the save it was made
// for never touched the file. OtherFile: made for a file since replaced at that path.
[[nodiscard]] HRESULT ReadJournal(const std::string& journalPath, std::uint64_t device, std::uint64_t inode,
                                  AJournal& journal, AJournalFound& found);

// Writes the original pieces back, cuts the file to its old length and flushes it.
[[nodiscard]] HRESULT RollBack(int fd, const AJournal& journal, ASaveCalls& calls);

// Removes the journal (there being none is fine) and flushes the folder.
[[nodiscard]] HRESULT RemoveJournal(const std::string& journalPath);

}  // namespace Database::Engine::Implementation
