// The first page of both exchange wizards: the module list, the file with its browse button,
// the module's settings button.
#pragma once
#include "win32api/AWizard.h"

#include "ui/exchange/ExchangeModel.h"

#include <functional>
#include <memory>

namespace UserInterface {
struct AProgramContext;
class APageMode;
}  // namespace UserInterface

namespace UserInterface::Exchange {

template <class Interface>
class AWizardStepInterface final : public AWizard::AWizardStep {
public:
    // `exporting`: the file is one to write (the save dialog, the note on passwords).
    AWizardStepInterface(const AProgramContext& context, ExportImport::Wizards::AModuleChoice<Interface>& modules,
                         int titleId, int subtitleId, bool exporting);
    ~AWizardStepInterface() override;

    // Fills the page once the wizard has made it.
    void Build(AWizard& wizard);
    // Shows the settings of a built-in module whose window is the program's own; answers
    // false for the other modules, whose ShowSettings the button then calls.
    void SetSettingsWindow(std::function<bool(AWizard&)> show) { settingsWindow_ = std::move(show); }
    void OnEnter(AWizard& wizard) override;
    bool OnLeave(AWizard& wizard, bool forward) override;

private:
    void ShowModule();
    void Browse(AWizard& wizard);

    const AProgramContext& context_;
    ExportImport::Wizards::AModuleChoice<Interface>& modules_;
    bool exporting_;
    std::unique_ptr<APageMode> mode_;
    bool showing_ = false;
    std::function<bool(AWizard&)> settingsWindow_;
};

extern template class AWizardStepInterface<ExportImport::AExportInterface>;
extern template class AWizardStepInterface<ExportImport::AImportInterface>;

}  // namespace UserInterface::Exchange
