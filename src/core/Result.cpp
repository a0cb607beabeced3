#include "core/Result.h"

#include <cerrno>

namespace Result {

namespace {
constexpr HRESULT FromWin32(std::uint32_t code) { return Code(0x80070000u | (code & 0xFFFFu)); }
}  // namespace

HRESULT FromErrno(int error)
{
    switch (error) {
    case 0: return kOk;
    case ENOENT: return FromWin32(2);        // ERROR_FILE_NOT_FOUND
    case ENOTDIR: return FromWin32(3);       // ERROR_PATH_NOT_FOUND
    case EMFILE:
    case ENFILE: return FromWin32(4);        // ERROR_TOO_MANY_OPEN_FILES
    case EACCES:
    case EPERM: return FromWin32(5);         // ERROR_ACCESS_DENIED
    case EROFS: return FromWin32(19);        // ERROR_WRITE_PROTECT
    case EBADF: return FromWin32(6);         // ERROR_INVALID_HANDLE
    case ENOMEM: return FromWin32(8);        // ERROR_NOT_ENOUGH_MEMORY
    case EXDEV: return FromWin32(17);        // ERROR_NOT_SAME_DEVICE
    case EIO: return FromWin32(30);          // ERROR_READ_FAULT
    case EBUSY:
    case EWOULDBLOCK: return FromWin32(32);  // ERROR_SHARING_VIOLATION
    case EEXIST: return FromWin32(80);       // ERROR_FILE_EXISTS
    case EINVAL: return FromWin32(87);       // ERROR_INVALID_PARAMETER
    case ENOSPC: return FromWin32(112);      // ERROR_DISK_FULL
    case ENAMETOOLONG: return FromWin32(206);// ERROR_FILENAME_EXCED_RANGE
    case EISDIR: return FromWin32(267);      // ERROR_DIRECTORY
    default: return FromWin32(31);           // ERROR_GEN_FAILURE
    }
}

}  // namespace Result
