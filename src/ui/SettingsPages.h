// The pages of the settings dialog. Each is a form of its own layout that fills its controls
// from the settings (Load) and stores them back (Store); storing without applying only checks.
#pragma once
#include "core/SettingsBlobs.h"
#include "win32api/DynaForm.h"

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Settings {

// The "Обзор..." button beside a folder or file field; its id is its caption's.
constexpr int kBrowseButton = 702;

class ASettingsPage : public Win32API::VelvixForms::ADialogForm {
    Q_OBJECT
public:
    // Made inside the dialog's form: a form made without a parent would be sized as a window.
    ASettingsPage(const AProgramContext& context, std::string layout, QWidget* parent);
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

ASettingsPage* CreateGeneralPage(const AProgramContext& context, QWidget* parent);
ASettingsPage* CreateBackupPage(const AProgramContext& context, QWidget* parent);
ASettingsPage* CreateInterfacePage(const AProgramContext& context, QWidget* parent);
ASettingsPage* CreateTransactionsPage(const AProgramContext& context, QWidget* parent);

}  // namespace UserInterface::Settings
