// The export wizard's own pages: replacing an existing file, what to export, the period,
// the accounts and the summary before the run.
#pragma once
#include "win32api/AWizard.h"

#include "ui/exchange/ExchangeModel.h"

#include <memory>

namespace UserInterface {
struct AProgramContext;
class APageMode;
namespace Filters {
class AAccountTicks;
}
}  // namespace UserInterface

namespace UserInterface::Exchange {

using ExportImport::Wizards::AExportWizardModel;

// Shown only when the chosen file exists: string 758 with the path cut to the page's width.
class AExportStepConfirmOverwrite final : public AWizard::AWizardStep {
public:
    AExportStepConfirmOverwrite(const AProgramContext& context, AExportWizardModel& model);
    bool IsSkipped(const AWizard& wizard) const override;
    void OnEnter(AWizard& wizard) override;

private:
    const AProgramContext& context_;
    AExportWizardModel& model_;
};

// The kinds, and the classifiers to export as a ticked list.
class AExportStepEntities final : public AWizard::AWizardStep {
public:
    AExportStepEntities(const AProgramContext& context, AExportWizardModel& model);
    ~AExportStepEntities() override;
    void Build(AWizard& wizard);
    void OnEnter(AWizard& wizard) override;
    bool OnLeave(AWizard& wizard, bool forward) override;

private:
    const AProgramContext& context_;
    AExportWizardModel& model_;
    std::unique_ptr<APageMode> mode_;
};

// "Все операции", or a period with the dates and the period presets of the pages.
class AExportStepDates final : public AWizard::AWizardStep {
public:
    AExportStepDates(const AProgramContext& context, Database::ADatabase& db, AExportWizardModel& model);
    ~AExportStepDates() override;
    void Build(AWizard& wizard);
    bool IsSkipped(const AWizard& wizard) const override;
    void OnEnter(AWizard& wizard) override;
    bool OnLeave(AWizard& wizard, bool forward) override;

private:
    void Show();

    const AProgramContext& context_;
    Database::ADatabase& db_;
    AExportWizardModel& model_;
    std::unique_ptr<APageMode> kindMode_;
    Filters::ADatePeriod period_;
    bool showing_ = false;
};

// The accounts whose transactions go out, all ticked at first.
class AExportStepAccounts final : public AWizard::AWizardStep {
public:
    AExportStepAccounts(const AProgramContext& context, Database::ADatabase& db, AExportWizardModel& model);
    ~AExportStepAccounts() override;
    void Build(AWizard& wizard);
    bool IsSkipped(const AWizard& wizard) const override;
    bool OnLeave(AWizard& wizard, bool forward) override;

private:
    const AProgramContext& context_;
    Database::ADatabase& db_;
    AExportWizardModel& model_;
    std::unique_ptr<Filters::AAccountTicks> ticks_;
};

// "Все готово к выгрузке!": the module and the file once more.
class AExportStepReady final : public AWizard::AWizardStep {
public:
    AExportStepReady(const AProgramContext& context, AExportWizardModel& model);
    void OnEnter(AWizard& wizard) override;

private:
    const AProgramContext& context_;
    AExportWizardModel& model_;
};

}  // namespace UserInterface::Exchange
