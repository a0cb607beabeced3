// What the exchange wizards' pages share besides their steps: adding a step of a known type,
// a message from the string table in a box over the wizard, and the icon of a result.
#pragma once
#include "core/FormatText.h"
#include "win32api/AWizard.h"
#include "win32api/MessageBox.h"

#include <QPixmap>

#include <initializer_list>
#include <memory>

class QWidget;

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Exchange {

template <class Step, class... Args>
Step* AddWizardStep(AWizard& wizard, Args&&... args)
{
    return static_cast<Step*>(wizard.AddStep(std::make_unique<Step>(std::forward<Args>(args)...)));
}

void ShowWizardMessage(const AProgramContext& context, QWidget* parent, int textId,
                       Win32API::VelvixForms::AMessageIcon icon,
                       std::initializer_list<UtilityClasses::Strings::FormatArg> args = {});
// The same with a text of its own (a module's message).
void ShowWizardText(const AProgramContext& context, QWidget* parent, std::u16string text,
                    Win32API::VelvixForms::AMessageIcon icon);

// The system's information or warning icon at `size` pixels.
QPixmap ResultIcon(bool clean, int size = 32);

}  // namespace UserInterface::Exchange
