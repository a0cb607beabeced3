// The file operations the settings and backup code need, behind an interface so tests can
// point them at temporary folders and make any single operation fail.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Files {

enum class AFileKind { None, File, Folder, Other };

// Every operation returns 0 on success or the errno value of the failure.
class AFileSystem {
public:
    virtual ~AFileSystem() = default;

    // Reads a whole file; a file larger than `limit` fails with EFBIG and leaves `out` empty.
    virtual int ReadFile(const std::string& path, std::string& out, std::size_t limit) = 0;
    // Replaces the file: the new content is written beside it, flushed and renamed over it,
    // so a failure leaves the old content in place.
    virtual int WriteFileAtomic(const std::string& path, std::string_view data) = 0;
    // Creates a file that must not exist yet (EEXIST otherwise).
    virtual int CreateNewFile(const std::string& path, std::string_view data) = 0;
    // Creates an empty file with a unique name in `folder`; its path goes to `created`.
    virtual int CreateTempFile(const std::string& folder, std::string& created) = 0;
    // Copies `from` over `to`. A copy that fails half-way leaves no partial file behind.
    virtual int CopyFile(const std::string& from, const std::string& to) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int RemoveFile(const std::string& path) = 0;
    // Creates one folder level; EEXIST when something of that name exists.
    virtual int MakeFolder(const std::string& path) = 0;
    // Names of the regular files in `folder`, in no particular order.
    virtual int ListFiles(const std::string& folder, std::vector<std::string>& names) = 0;
    virtual AFileKind Kind(const std::string& path) = 0;
    // Whether an existing file can be opened for reading (and writing when asked).
    virtual int CheckOpen(const std::string& path, bool forWriting) = 0;
};

// The real file system of the machine.
class ALocalFileSystem final : public AFileSystem {
public:
    int ReadFile(const std::string& path, std::string& out, std::size_t limit) override;
    int WriteFileAtomic(const std::string& path, std::string_view data) override;
    int CreateNewFile(const std::string& path, std::string_view data) override;
    int CreateTempFile(const std::string& folder, std::string& created) override;
    int CopyFile(const std::string& from, const std::string& to) override;
    int Rename(const std::string& from, const std::string& to) override;
    int RemoveFile(const std::string& path) override;
    int MakeFolder(const std::string& path) override;
    int ListFiles(const std::string& folder, std::vector<std::string>& names) override;
    AFileKind Kind(const std::string& path) override;
    int CheckOpen(const std::string& path, bool forWriting) override;
};

// Creates every missing level of `path` in turn; 0 when the folder exists afterwards.
int MakeFolders(AFileSystem& fs, const std::string& path);

// Path text helpers ('/' separated, no file system access).
std::string ParentFolder(std::string_view path);   // "" when there is no '/'
std::string FileNameOf(std::string_view path);
std::string JoinPath(std::string_view folder, std::string_view name);
bool IsAbsolutePath(std::string_view path);
// Whether two paths name one file: exactly, letter case kept, after links and ".." are resolved.
bool SamePath(std::string_view a, std::string_view b);
// A relative path is taken relative to `base`; an absolute one is kept.
std::string ResolvePath(std::string_view base, std::string_view path);

}  // namespace Files
