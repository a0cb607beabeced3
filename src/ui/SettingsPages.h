// The pages of the settings dialog. Each is a form of its own layout that fills its controls
// from the settings (Load) and stores them back (Store); storing without applying only checks.
#pragma once
#include "core/SettingsBlobs.h"
#include "win32api/DynaForm.h"

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Settings {

class ASettingsPage : public Win32API::VelvixForms::ADialogForm {
    Q_OBJECT
public:
    ASettingsPage(const AProgramContext& context, std::string layout);
    virtual void Load() = 0;
    // False keeps the dialog open, after the page told the user why.
    virtual bool Store(bool apply) = 0;

protected:
    bool IsChecked(int id);
    void SetChecked(int id, bool checked);
    void Enable(int id, bool enabled);
    int ShowMessage(int id);
    const AProgramContext& context_;
};

ASettingsPage* CreateGeneralPage(const AProgramContext& context);
ASettingsPage* CreateBackupPage(const AProgramContext& context);
ASettingsPage* CreateInterfacePage(const AProgramContext& context);
ASettingsPage* CreateTransactionsPage(const AProgramContext& context);

}  // namespace UserInterface::Settings
