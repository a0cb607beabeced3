#include "ui/MenuText.h"

#include "core/CodePage.h"

namespace UserInterface {

using UtilityClasses::Strings::AStrings;

namespace {

using A = AAccelerator;

constexpr AAccelerator kMainAccelerators[] = {
    {A::kVirtualKey | A::kControl, 'N', Command::kNew},
    {A::kVirtualKey | A::kControl, 'O', Command::kOpen},
    {A::kVirtualKey | A::kControl, 'S', Command::kSave},
    {A::kVirtualKey | A::kControl, 'P', Command::kPrint},
    {A::kVirtualKey | A::kAlt, VirtualKey::kF1 + 3, Command::kExit},
    {A::kVirtualKey | A::kControl, 'Z', Command::kUndo},
    {A::kVirtualKey | A::kControl, 'Y', Command::kRedo},
    {A::kVirtualKey, VirtualKey::kInsert, Command::kAdd},
    {A::kVirtualKey, VirtualKey::kReturn, Command::kChange},
    {A::kVirtualKey, VirtualKey::kDelete, Command::kDelete},
    {A::kVirtualKey | A::kControl, 'G', Command::kHideClosedAccounts},
    // The keys a desktop user tries first for searching a list.
    {A::kVirtualKey | A::kControl, 'F', 180},
    {A::kVirtualKey, VirtualKey::kF1 + 2, 181},
    {A::kVirtualKey, VirtualKey::kF1, Command::kHelpContents},
    {A::kVirtualKey | A::kShift, VirtualKey::kF1, Command::kHelpPane},
    {A::kVirtualKey | A::kAlt, '1', Command::kFirstPage + 0},
    {A::kVirtualKey | A::kAlt, '2', Command::kFirstPage + 1},
    {A::kVirtualKey | A::kAlt, '3', Command::kFirstPage + 2},
    {A::kVirtualKey | A::kAlt, '4', Command::kFirstPage + 3},
    {A::kVirtualKey | A::kAlt, '5', Command::kFirstPage + 4},
    {A::kVirtualKey | A::kAlt, '6', Command::kFirstPage + 5},
    {A::kVirtualKey | A::kAlt, '7', Command::kFirstPage + 6},
    {A::kVirtualKey | A::kAlt, '8', Command::kFirstPage + 7},
    {A::kVirtualKey | A::kAlt, '9', Command::kFirstPage + 8},
};

// A name shown in a menu keeps its "&": doubled, it is not taken for a mnemonic.
std::u16string EscapeMnemonics(std::u16string_view text)
{
    std::u16string escaped;
    for (char16_t c : text) {
        escaped += c;
        if (c == u'&')
            escaped += u'&';
    }
    return escaped;
}

std::u16string KeyName(std::uint16_t key)
{
    if (key >= VirtualKey::kF1 && key <= VirtualKey::kF12) {
        const std::string number = std::to_string(key - VirtualKey::kF1 + 1);
        return u"F" + std::u16string(number.begin(), number.end());
    }
    switch (key) {
    case VirtualKey::kReturn: return u"Enter";
    case VirtualKey::kSpace: return u"Space";
    case VirtualKey::kHome: return u"Home";
    case VirtualKey::kUp: return u"Up";
    case VirtualKey::kDown: return u"Down";
    case VirtualKey::kInsert: return u"Insert";
    case VirtualKey::kDelete: return u"Delete";
    default: return std::u16string(1, static_cast<char16_t>(key));
    }
}

int QtKey(std::uint16_t key)
{
    if (key >= VirtualKey::kF1 && key <= VirtualKey::kF12)
        return Qt::Key_F1 + (key - VirtualKey::kF1);
    switch (key) {
    case VirtualKey::kReturn: return Qt::Key_Return;
    case VirtualKey::kSpace: return Qt::Key_Space;
    case VirtualKey::kHome: return Qt::Key_Home;
    case VirtualKey::kUp: return Qt::Key_Up;
    case VirtualKey::kDown: return Qt::Key_Down;
    case VirtualKey::kInsert: return Qt::Key_Insert;
    case VirtualKey::kDelete: return Qt::Key_Delete;
    default: return key;  // letters and digits share their codes
    }
}

}  // namespace

std::span<const AAccelerator> MainAccelerators()
{
    return kMainAccelerators;
}

const AAccelerator* FindAccelerator(std::span<const AAccelerator> table, int command)
{
    for (const AAccelerator& entry : table)
        if (entry.command == command)
            return &entry;
    return nullptr;
}

std::u16string AcceleratorText(const AAccelerator& accelerator)
{
    std::u16string text = u"\t";
    if ((accelerator.flags & A::kControl) && accelerator.key != VirtualKey::kReturn)
        text += u"Ctrl+";
    if (accelerator.flags & A::kAlt)
        text += u"Alt+";
    if (accelerator.flags & A::kShift)
        text += u"Shift+";
    return text + KeyName(accelerator.key);
}

QKeySequence KeySequenceOf(const AAccelerator& accelerator)
{
    int modifiers = 0;
    if (accelerator.flags & A::kControl)
        modifiers |= Qt::ControlModifier;
    if (accelerator.flags & A::kAlt)
        modifiers |= Qt::AltModifier;
    if (accelerator.flags & A::kShift)
        modifiers |= Qt::ShiftModifier;
    return QKeySequence(modifiers | QtKey(accelerator.key));
}

std::u16string MenuItemText(const AStrings& strings, int id, std::span<const AAccelerator> accelerators)
{
    std::u16string text(strings.Text(id));
    if (const AAccelerator* accelerator = FindAccelerator(accelerators, id))
        text += AcceleratorText(*accelerator);
    return text;
}

std::u16string UndoRedoItemText(const AStrings& strings, int id, const std::optional<std::u16string>& stepName,
                                std::span<const AAccelerator> accelerators)
{
    if (!stepName)
        return MenuItemText(strings, id, accelerators);
    std::u16string text = strings.Format(id + 1, {*stepName});
    if (const AAccelerator* accelerator = FindAccelerator(accelerators, id))
        text += AcceleratorText(*accelerator);
    return text;
}

std::u16string PageMenuItemText(const AStrings& strings, int n, int recordPosition, std::u16string_view name)
{
    const std::u16string shown = EscapeMnemonics(name);
    if (recordPosition < 9)
        return UtilityClasses::Strings::FormatText(strings.Locale(), u"&#1 #s\tAlt+#1", {n, shown, n});
    return shown;
}

std::string PathShownRelativeTo(std::string_view path, std::string_view folder)
{
    if (folder.empty())
        return std::string(path);
    std::string prefix(folder);
    if (prefix.back() != '/')
        prefix += '/';
    if (path.size() > prefix.size() && path.substr(0, prefix.size()) == prefix)
        return std::string(path.substr(prefix.size()));
    return std::string(path);
}

std::u16string RecentFileItemText(const AStrings& strings, int index, std::string_view path,
                                  std::string_view currentFolder)
{
    const std::u16string shown =
        EscapeMnemonics(UtilityClasses::Strings::Utf8ToUtf16(PathShownRelativeTo(path, currentFolder)));
    return UtilityClasses::Strings::FormatText(strings.Locale(), u"&#d. #s", {index + 1, shown});
}

}  // namespace UserInterface
