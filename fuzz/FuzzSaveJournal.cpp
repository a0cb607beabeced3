// The journal of a save in place: any bytes give nothing to roll back or pieces that all
// lie within the old length of the file they name, and rolling them back into a file of
// that length writes nothing outside it.
#include "FuzzSupport.h"

#include "database/engine/CompoundFileFormat.h"
#include "database/engine/SaveJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

const std::string& JournalPath()
{
    static const std::string path = "/tmp/fendral-fuzz-journal-" + std::to_string(getpid());
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace Database::Engine::Implementation;
    const int fd = open(JournalPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || (size != 0 && write(fd, data, size) != static_cast<ssize_t>(size))) {
        if (fd >= 0)
            close(fd);
        return 0;
    }
    close(fd);
    // The file it would belong to is the one it names, so that whole journals are reachable.
    const std::uint64_t device = size >= 16 ? Load64(data + 8) : 0;
    const std::uint64_t inode = size >= 24 ? Load64(data + 16) : 0;
    AJournal journal;
    AJournalFound found = AJournalFound::None;
    if (Result::Failed(ReadJournal(JournalPath(), device, inode, journal, found)) || found != AJournalFound::Whole)
        return 0;
    for (const AJournalPiece& piece : journal.pieces)
        if (piece.offset > journal.fileSize || piece.bytes.size() > journal.fileSize - piece.offset)
            Fuzz::Broken("a piece outside the file's old length");
    return 0;
}
