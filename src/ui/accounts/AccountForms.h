// What the accounts page and its dialogs share: messages titled by the command they belong to,
// and the folder rows of the folder choosers.
#pragma once
#pragma push_macro("slots")
#undef slots
#include "analysis/AccountPageTree.h"
#pragma pop_macro("slots")
#include "core/FormatText.h"
#include "ui/accounts/RecordPicker.h"
#include "win32api/MessageBox.h"

#include <initializer_list>

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Accounts {

// The longest name or comment an edit takes; the model reads no more either.
constexpr int kMaxTypedLength = 1024;

// Message `textId` filled with `args` (or `text` as it stands), titled by string `titleId`
// without its mnemonic mark and dots; the button pressed.
int ShowTitledMessage(const AProgramContext& context, QWidget* parent, int titleId, std::u16string text,
                      Win32API::VelvixForms::AMessageButtons buttons = Win32API::VelvixForms::AMessageButtons::Ok,
                      Win32API::VelvixForms::AMessageIcon icon = Win32API::VelvixForms::AMessageIcon::Warning,
                      int defaultButton = 0);
int ShowTitledMessage(const AProgramContext& context, QWidget* parent, int titleId, int textId,
                      std::initializer_list<UtilityClasses::Strings::FormatArg> args = {});

// The folders of the nodes as picker rows, plans bold.
std::vector<ARecordPicker::ARow> FolderRows(Database::ADatabase& db, const std::vector<ATreeNode>& nodes);

}  // namespace UserInterface::Accounts
