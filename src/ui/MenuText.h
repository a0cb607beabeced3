// The texts of the main window's menu items: the string of the item's id followed by its
// accelerator, the undo and redo items with the step's name, the page items with their Alt
// numbers and the recently-used files.
#pragma once
#include "core/AStrings.h"

#include <QKeySequence>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace UserInterface {

// An entry of the main window's accelerator table, in the platform's terms: flags, a virtual
// key code and the command it gives.
struct AAccelerator {
    enum AFlags : std::uint8_t { kVirtualKey = 0x01, kShift = 0x04, kControl = 0x08, kAlt = 0x10 };
    std::uint8_t flags;
    std::uint16_t key;
    std::uint16_t command;
};

namespace VirtualKey {
constexpr std::uint16_t kReturn = 0x0D, kSpace = 0x20, kHome = 0x24, kUp = 0x26, kDown = 0x28, kInsert = 0x2D,
                        kDelete = 0x2E, kF1 = 0x70, kF12 = 0x7B;
}

// The accelerators of the main window (the table the program loads at start-up).
std::span<const AAccelerator> MainAccelerators();
const AAccelerator* FindAccelerator(std::span<const AAccelerator> table, int command);

// A tab, then "Ctrl+" (not for Enter), "Alt+", "Shift+" and the key's name.
std::u16string AcceleratorText(const AAccelerator& accelerator);
QKeySequence KeySequenceOf(const AAccelerator& accelerator);

// The string of `id` followed by the text of its accelerator, if it has one.
std::u16string MenuItemText(const UtilityClasses::Strings::AStrings& strings, int id,
                            std::span<const AAccelerator> accelerators);
// Undo (220) or redo (222): strings 221 or 223 with the step's name when there is one.
std::u16string UndoRedoItemText(const UtilityClasses::Strings::AStrings& strings, int id,
                                const std::optional<std::u16string>& stepName,
                                std::span<const AAccelerator> accelerators);

// Item n (from 1) of the page menu for the page at `recordPosition` among all page records.
std::u16string PageMenuItemText(const UtilityClasses::Strings::AStrings& strings, int n, int recordPosition,
                                std::u16string_view name);
// Entry `index` (from 0) of the recently-used files.
std::u16string RecentFileItemText(const UtilityClasses::Strings::AStrings& strings, int index,
                                  std::string_view path, std::string_view currentFolder);
// The path relative to `folder` when it lies inside it, else the path itself.
std::string PathShownRelativeTo(std::string_view path, std::string_view folder);

// Command ids of the main window.
namespace Command {
constexpr int kNew = 207, kOpen = 208, kSave = 209, kSaveAs = 210, kPassword = 211, kFileSettings = 212,
              kImport = 213, kExport = 214, kPageSetup = 215, kPrint = 216, kRecentFiles = 217, kExit = 218,
              kUndo = 220, kRedo = 222, kAdd = 224, kChange = 225, kDelete = 226, kStorePageSettings = 227,
              kCalculator = 229, kSettings = 230, kFont = 231, kPageOrder = 233, kHelpContents = 235,
              kHelpSearch = 236, kHelpIndex = 237, kHelpPane = 238, kWebSite = 239, kAbout = 240,
              kRereadPageSettings = 645, kHideClosedAccounts = 652, kFirstRecentFile = 791, kFirstPage = 796,
              kBuiltInLanguage = 0xFE00, kFirstLanguageFile = 0xFFFF;
// A page's menu item whose text has a "#s" names what it is filled with in this property.
constexpr const char* kMenuTextArgument = "fendralTextArgument";
// Menu items from this id on carry texts of their own and are left alone by translation.
constexpr int kFirstUntranslated = 791;
// The top-level menus: File, Actions, Service, View, Help.
constexpr int kTopMenus[] = {206, 219, 228, 232, 234};
constexpr int kLanguageCommand(int index) { return kFirstLanguageFile - index; }
constexpr bool IsLanguageFileCommand(int id) { return id > kBuiltInLanguage && id <= kFirstLanguageFile; }
}  // namespace Command

}  // namespace UserInterface
