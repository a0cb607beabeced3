#include "database/engine/SaveJournal.h"

#include "core/AtomicFile.h"
#include "core/FileSystem.h"
#include "database/engine/CompoundFileFormat.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace Database::Engine::Implementation {

namespace {

constexpr std::uint8_t kMagic[8] = {'F', 'e', 'n', 'd', 'J', 'r', 'n', '1'};
constexpr std::size_t kHeadSize = 8 + 8 * 3 + 4;
constexpr std::uint64_t kLargestJournal = 1ull << 31;

std::uint64_t Checksum(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 0x100000001b3ull;
    return hash;
}

// The folder of the journal, so that its coming and going survive a crash.
HRESULT FlushFolder(const std::string& journalPath)
{
    const std::string folder = Files::ParentFolder(journalPath);
    return Files::SystemFileCalls().FlushFolder(folder.empty() ? "." : folder) == 0 ? Result::kOk
                                                                                    : Result::FromErrno(errno);
}

HRESULT WriteAll(ASaveCalls& calls, int fd, const std::uint8_t* data, std::size_t size, std::uint64_t offset)
{
    while (size > 0) {
        const ssize_t n = calls.WriteAt(fd, data, size, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Result::FromErrno(errno);
        }
        if (n == 0) return Result::kStgWriteFault;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return Result::kOk;
}

void Put64(std::vector<std::uint8_t>& out, std::uint64_t value)
{
    out.resize(out.size() + 8);
    Store64(out.data() + out.size() - 8, value);
}

}  // namespace

ssize_t ASaveCalls::WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset)
{
    return ::pwrite(fd, data, size, static_cast<off_t>(offset));
}

int ASaveCalls::Flush(int fd) { return ::fsync(fd); }

int ASaveCalls::Truncate(int fd, std::uint64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)); }

ASaveCalls& SystemSaveCalls()
{
    static ASaveCalls calls;
    return calls;
}

std::string JournalPathOf(const std::string& path)
{
    char resolved[PATH_MAX];
    const std::string target = ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos) return "." + target + ".journal";
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".journal";
}

HRESULT WriteJournal(const std::string& journalPath, const AJournal& journal, ASaveCalls& calls)
{
    std::vector<std::uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
    Put64(bytes, journal.device);
    Put64(bytes, journal.inode);
    Put64(bytes, journal.fileSize);
    bytes.resize(bytes.size() + 4);
    Store32(bytes.data() + bytes.size() - 4, static_cast<std::uint32_t>(journal.pieces.size()));
    for (const AJournalPiece& piece : journal.pieces) {
        Put64(bytes, piece.offset);
        bytes.resize(bytes.size() + 4);
        Store32(bytes.data() + bytes.size() - 4, static_cast<std::uint32_t>(piece.bytes.size()));
        bytes.insert(bytes.end(), piece.bytes.begin(), piece.bytes.end());
    }
    Put64(bytes, Checksum(bytes.data(), bytes.size()));

    const int fd = ::open(journalPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Result::FromErrno(errno);
    HRESULT hr = WriteAll(calls, fd, bytes.data(), bytes.size(), 0);
    if (Result::Succeeded(hr) && calls.Flush(fd) != 0) hr = Result::FromErrno(errno);
    ::close(fd);
    if (Result::Succeeded(hr)) hr = FlushFolder(journalPath);
    if (Result::Failed(hr)) ::unlink(journalPath.c_str());
    return hr;
}

HRESULT ReadJournal(const std::string& journalPath, std::uint64_t device, std::uint64_t inode, AJournal& journal,
                    AJournalFound& found)
{
    found = AJournalFound::None;
    journal = AJournal();
    const int fd = ::open(journalPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? Result::kOk : Result::FromErrno(errno);
    struct stat info {};
    std::vector<std::uint8_t> bytes;
    HRESULT hr = ::fstat(fd, &info) == 0 ? Result::kOk : Result::FromErrno(errno);
    if (Result::Succeeded(hr) && S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) <= kLargestJournal) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
    }
    ::close(fd);
    if (Result::Failed(hr)) return hr;

    found = AJournalFound::Torn;
    if (bytes.size() < kHeadSize + 8 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 ||
        Load64(bytes.data() + bytes.size() - 8) != Checksum(bytes.data(), bytes.size() - 8))
        return Result::kOk;
    const std::uint8_t* at = bytes.data() + sizeof kMagic;
    journal.device = Load64(at);
    journal.inode = Load64(at + 8);
    journal.fileSize = Load64(at + 16);
    const std::uint32_t count = Load32(at + 24);
    std::size_t position = kHeadSize;
    const std::size_t end = bytes.size() - 8;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (end - position < 12) return Result::kOk;
        AJournalPiece piece;
        piece.offset = Load64(bytes.data() + position);
        const std::uint32_t size = Load32(bytes.data() + position + 8);
        position += 12;
        if (end - position < size || piece.offset > journal.fileSize || size > journal.fileSize - piece.offset)
            return Result::kOk;
        piece.bytes.assign(bytes.data() + position, bytes.data() + position + size);
        position += size;
        journal.pieces.push_back(std::move(piece));
    }
    if (position != end) return Result::kOk;
    found = journal.device == device && journal.inode == inode ? AJournalFound::Whole : AJournalFound::OtherFile;
    return Result::kOk;
}

HRESULT RollBack(int fd, const AJournal& journal, ASaveCalls& calls)
{
    for (const AJournalPiece& piece : journal.pieces) {
        const HRESULT hr = WriteAll(calls, fd, piece.bytes.data(), piece.bytes.size(), piece.offset);
        if (Result::Failed(hr)) return hr;
    }
    if (calls.Truncate(fd, journal.fileSize) != 0 || calls.Flush(fd) != 0) return Result::FromErrno(errno);
    return Result::kOk;
}

HRESULT RemoveJournal(const std::string& journalPath)
{
    if (::unlink(journalPath.c_str()) != 0) return errno == ENOENT ? Result::kOk : Result::FromErrno(errno);
    return FlushFolder(journalPath);
}

}  // namespace Database::Engine::Implementation
