#include "ui/exchange/WizardTexts.h"

#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QStyle>

namespace UserInterface::Exchange {

void ShowWizardMessage(const AProgramContext& context, QWidget* parent, int textId,
                       Win32API::VelvixForms::AMessageIcon icon,
                       std::initializer_list<UtilityClasses::Strings::FormatArg> args)
{
    ShowWizardText(context, parent, context.Strings().Format(textId, args), icon);
}

void ShowWizardText(const AProgramContext& context, QWidget* parent, std::u16string text,
                    Win32API::VelvixForms::AMessageIcon icon)
{
    Win32API::VelvixForms::AMessageBoxOptions options;
    options.text = std::move(text);
    options.title = u"Fendral";
    options.icon = icon;
    context.Dialogs().ShowMessage(parent, options);
}

QPixmap ResultIcon(bool clean, int size)
{
    const auto icon = clean ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning;
    return QApplication::style()->standardIcon(icon).pixmap(size, size);
}

}  // namespace UserInterface::Exchange
