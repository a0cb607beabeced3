// "Импорт данных в Fendral": the module and file, the read phase with its progress, the
// messages it collected, the page before saving, and the save as one undoable step.
#pragma once
#include "ui/DatabaseModel.h"

#include "win32api/AWizard.h"

#include <memory>

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Exchange {

class AWizardStepProgress;

class AImportWizard final : public AWizard {
    Q_OBJECT
public:
    // Modules are looked for in `pluginFolder` beside the built-in ones.
    AImportWizard(const AProgramContext& context, Database::ADatabase& db, const std::string& pluginFolder,
                  QWidget* parent = nullptr);
    ~AImportWizard() override;

    // The bars of the read and the save phase, for whoever watches them (the benchmark).
    AWizardStepProgress& ReadStep() const;
    AWizardStepProgress& SaveStep() const;

private:
    class AImpl;
    std::unique_ptr<AImpl> impl_;
};

// Runs the wizard over the plug-in folder; a file that can't be changed is refused first,
// before anything is read.
void RunImportWizard(const AProgramContext& context, Database::ADatabase& db, QWidget* parent);

}  // namespace UserInterface::Exchange
