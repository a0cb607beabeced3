#include "ui/WindowTitle.h"

#include "database/DataFileSession.h"
#include "ui/InterfaceTexts.h"

namespace UserInterface {

std::u16string WindowTitle(const UtilityClasses::Strings::AStrings& strings, std::u16string_view fileName,
                           bool unsavedChanges, bool readOnly)
{
    std::u16string title = unsavedChanges ? u"* " : u"";
    title += fileName.empty() ? strings.Text(MainText::kUntitledName) : fileName;
    if (readOnly) {
        title += u' ';
        title += strings.Text(Database::FileMessage::kReadOnly);
    }
    return title + u" - Fendral";
}

}  // namespace UserInterface
