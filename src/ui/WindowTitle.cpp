#include "ui/WindowTitle.h"

namespace UserInterface {

namespace {
constexpr int kUntitledTitle = 200;
constexpr HRESULT kPathNotFound = Result::Code(0x80070003);
}  // namespace

std::u16string WindowTitle(const UtilityClasses::Strings::AStrings& strings, std::u16string_view fileName,
                           bool unsavedChanges, bool readOnly)
{
    std::u16string title = unsavedChanges ? u"* " : u"";
    title += fileName.empty() ? strings.Text(kUntitledTitle) : fileName;
    if (readOnly) {
        title += u' ';
        title += strings.Text(OpenMessage::kReadOnly);
    }
    return title + u" - Fendral";
}

int OpenResultMessage(HRESULT result)
{
    switch (result) {
    case Result::kOpenedWithErrors: return OpenMessage::kOpenedWithErrors;
    case Result::kPasswordCancelled: return 0;
    case Result::kNewerVersion: return OpenMessage::kNewerVersion;
    case Result::kFileNotFound:
    case kPathNotFound: return OpenMessage::kFileNotFound;
    default: break;
    }
    return Result::Succeeded(result) ? 0 : OpenMessage::kUnreadable;
}

}  // namespace UserInterface
