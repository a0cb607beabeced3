// "Экспорт данных из Fendral": the module and file, the overwrite question, what to export,
// the period and accounts, the run with its progress, and the run's messages.
#pragma once
#include "ui/DatabaseModel.h"

#include "win32api/AWizard.h"

#include <memory>

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Exchange {

class AExportWizard final : public AWizard {
    Q_OBJECT
public:
    // Modules are looked for in `pluginFolder` beside the built-in ones.
    AExportWizard(const AProgramContext& context, Database::ADatabase& db, const std::string& pluginFolder,
                  QWidget* parent = nullptr);
    ~AExportWizard() override;

    // The bar of the run, for whoever watches it (the benchmark).
    class AWizardStepProgress& ProgressStep() const;

private:
    class AImpl;
    std::unique_ptr<AImpl> impl_;
};

// Runs the wizard over the plug-in folder.
void RunExportWizard(const AProgramContext& context, Database::ADatabase& db, QWidget* parent);

}  // namespace UserInterface::Exchange
