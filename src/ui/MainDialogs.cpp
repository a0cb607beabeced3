// The program settings dialog and the password dialog, run from the main window.
#include "ui/MainForm.h"

#include "ui/Passwords.h"
#include "ui/ProgramContext.h"
#include "ui/SettingsDialog.h"
#include "ui/UserDialogs.h"

namespace UserInterface {

void AMainWindow::RunSettingsDialog()
{
    Settings::ASettingsForm dialog(context_, this);
    if (context_.Dialogs().RunModal(dialog) == QDialog::Accepted)
        ApplySettings();
}

void AMainWindow::ChangePassword()
{
    if (!db_ || db_->StepOpen())
        return;
    APasswords dialog(context_, *db_, this);
    context_.Dialogs().RunModal(dialog);
}

}  // namespace UserInterface
