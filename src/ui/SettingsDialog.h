// The program settings dialog: four tabbed pages (general, backup copies, interface,
// transactions), each loading its controls from the settings and storing them back. OK asks
// every page to check itself first; only when all agree are the settings applied, saved and
// announced to the other running copies.
#pragma once
#include "ui/StandardDialog.h"

#include <array>
#include <cstdint>

namespace Win32API::VelvixForms {
class ADialogForm;
}

namespace UserInterface::Settings {

class ASettingsPage;

class ASettingsForm final : public UtilityForms::AStandardDialog {
    Q_OBJECT
public:
    enum APage { kGeneral, kBackup, kInterface, kTransactions, kPageCount };

    ASettingsForm(const AProgramContext& context, QWidget* parent);
    ~ASettingsForm() override;

    Win32API::VelvixForms::ADialogForm* Page(int index) const;
    void ShowPage(int index);
    void ApplyTexts() override;

protected:
    bool Validate() override;
    void Apply() override;

private:
    std::array<ASettingsPage*, kPageCount> pages_{};
};

}  // namespace UserInterface::Settings
