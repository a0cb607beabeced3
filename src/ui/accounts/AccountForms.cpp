#include "ui/accounts/AccountForms.h"

#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"

namespace UserInterface::Accounts {

int ShowTitledMessage(const AProgramContext& context, QWidget* parent, int titleId, std::u16string text,
                      Win32API::VelvixForms::AMessageButtons buttons, Win32API::VelvixForms::AMessageIcon icon,
                      int defaultButton)
{
    Win32API::VelvixForms::AMessageBoxOptions options;
    options.text = std::move(text);
    options.title = ToU16(TableText(context.Strings(), titleId).remove(u'&').remove(QStringLiteral("...")));
    options.buttons = buttons;
    options.icon = icon;
    options.defaultButton = defaultButton;
    return context.Dialogs().ShowMessage(parent, options);
}

int ShowTitledMessage(const AProgramContext& context, QWidget* parent, int titleId, int textId,
                      std::initializer_list<UtilityClasses::Strings::FormatArg> args)
{
    return ShowTitledMessage(context, parent, titleId, context.Strings().Format(textId, args));
}

std::vector<ARecordPicker::ARow> FolderRows(Database::ADatabase& db, const std::vector<ATreeNode>& nodes)
{
    std::vector<ARecordPicker::ARow> rows;
    for (const ATreeNode& node : nodes)
        if (node.kind == ATreeNode::AKind::Folder)
            if (const auto* slot = db.Folders().Find(node.id))
                rows.push_back({node.id, db.Text(slot->Record().name), node.depth, node.depth == 0});
    return rows;
}

}  // namespace UserInterface::Accounts
