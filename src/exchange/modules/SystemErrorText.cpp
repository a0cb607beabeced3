#include "exchange/modules/SystemErrorText.h"

#include "core/CodePage.h"

#include <cerrno>
#include <cstring>

namespace ExportImport {

namespace {

// The Win32 codes that errno values travel as (see Result::FromErrno), back to errno.
struct AWin32Errno {
    std::uint16_t win32;
    int error;
};
constexpr AWin32Errno kWin32Errno[] = {
    {2, ENOENT},   {3, ENOTDIR}, {4, EMFILE},  {5, EACCES},  {6, EBADF},   {8, ENOMEM},
    {17, EXDEV},   {19, EROFS},  {30, EIO},    {32, EBUSY},  {80, EEXIST}, {87, EINVAL},
    {112, ENOSPC}, {206, ENAMETOOLONG},        {267, EISDIR},
};

struct AKnownText {
    HRESULT code;
    const char* text;
};
constexpr AKnownText kKnownTexts[] = {
    {Result::kFail, "Unspecified error"},
    {Result::kUnexpected, "Catastrophic failure"},
    {Result::kNotImplemented, "Not implemented"},
    {Result::kStgMediumFull, "There is insufficient disk space to complete operation."},
    {Result::kStgWriteFault, "A disk error occurred during a write operation."},
    {Result::kStgAccessDenied, "Access Denied."},
    {Result::kSaveInterrupted, "A save of this file was cut short. Open it where the file and its folder may be "
                               "written, so that the save can be undone."},
};

std::u16string ErrnoText(int error)
{
    char buffer[256];
    return UtilityClasses::Strings::Utf8ToUtf16(strerror_r(error, buffer, sizeof buffer));
}

}  // namespace

std::u16string SystemErrorText(HRESULT code)
{
    const auto word = static_cast<std::uint32_t>(code);
    if (code == Result::kOutOfMemory)
        return ErrnoText(ENOMEM);
    if ((word & 0xFFFF0000u) == 0x80070000u) {
        for (const AWin32Errno& known : kWin32Errno)
            if (known.win32 == (word & 0xFFFFu))
                return ErrnoText(known.error);
        return {};
    }
    for (const AKnownText& known : kKnownTexts)
        if (known.code == code)
            return UtilityClasses::Strings::Utf8ToUtf16(known.text);
    return {};
}

}  // namespace ExportImport
