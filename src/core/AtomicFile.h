// Replacing a file so that it holds either its old content or the whole new one, whatever
// happens on the way: the new content is written to a file beside the target, flushed,
// renamed over the target, and the folder is flushed so that the rename survives a crash.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace Files {

// The system calls the writer makes, so that tests can make any one of them fail. Each
// returns what the system call returns and leaves errno set on failure.
class AAtomicFileCalls {
public:
    virtual ~AAtomicFileCalls() = default;
    virtual int CreateExclusive(const std::string& path, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Flush(int fd);
    virtual int Rename(const std::string& from, const std::string& to);
    virtual int FlushFolder(const std::string& folder);
};

AAtomicFileCalls& SystemFileCalls();

// Every operation returns 0 or the errno value of the failure. Until Commit has renamed the
// new file over the target, destroying the writer removes the new file and the target stays
// as it was.
class AAtomicFile {
public:
    explicit AAtomicFile(AAtomicFileCalls& calls = SystemFileCalls()) : calls_(calls) {}
    ~AAtomicFile();
    AAtomicFile(const AAtomicFile&) = delete;
    AAtomicFile& operator=(const AAtomicFile&) = delete;

    // Creates the new file beside `path`. A symbolic link is followed, so that the file it
    // names is replaced and the link stays. The new file gets the mode of the existing target,
    // or `newFileMode` (less the umask) when there is none.
    int Begin(const std::string& path, mode_t newFileMode = 0666);
    // The descriptor of the new file, for writers that seek or buffer themselves.
    int Fd() const { return fd_; }
    const std::string& Target() const { return target_; }
    const std::string& TempPath() const { return tempPath_; }

    // Appends to the new file, riding out short writes and interruptions.
    int Write(const void* data, std::size_t size);
    // Flushes the new file, renames it over the target and flushes the folder. Once the
    // rename has happened the target is the new file even if the folder flush fails (the
    // result still says so).
    int Commit();
    bool Committed() const { return committed_; }
    // After Commit: the still open descriptor, which now names the target; the caller closes it.
    int TakeFd();

private:
    AAtomicFileCalls& calls_;
    std::string target_;
    std::string tempPath_;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace Files
