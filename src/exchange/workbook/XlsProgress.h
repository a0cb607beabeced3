// Progress of the workbook modules: a bar split into weighted steps when someone watches
// it, and the tools' progress as a notifier.
#pragma once
#include "exchange/modules/ModuleInterface.h"
#include "exchange/xml/xmlProgress.h"

#include <optional>
#include <vector>

namespace ExportImport::FileTypeExcel {

class AProgressSteps {
public:
    // No steps (and no reports) without a target.
    AProgressSteps(UtilityClasses::XML::AUserProgressNotifier* target, std::vector<unsigned> weights)
    {
        if (target)
            steps_.emplace(*target, std::move(weights));
    }
    // Where the current step reports; null without a target.
    UtilityClasses::XML::AUserProgressNotifier* Get() { return steps_ ? &*steps_ : nullptr; }
    // The share of the current step done.
    void Notify(unsigned percent)
    {
        if (steps_)
            steps_->Notify(percent);
    }
    void Next()
    {
        if (steps_)
            steps_->NextStep();
    }
    // Carries the bar to its end, whatever steps are left.
    void Finish()
    {
        if (!steps_)
            return;
        while (steps_->CurrentStep() + 1 < steps_->StepCount())
            steps_->NextStep();
        steps_->NextStep();
    }

private:
    std::optional<UtilityClasses::XML::AUserMultiStepNotifier> steps_;
};

// Passes on only percentages above the last one, for work that may start over.
class AForwardOnly final : public UtilityClasses::XML::AUserProgressNotifier {
public:
    explicit AForwardOnly(UtilityClasses::XML::AUserProgressNotifier& target) : target_(target) {}
    void Notify(unsigned percent) override
    {
        if (static_cast<int>(percent) > last_)
            target_.Notify(static_cast<unsigned>(last_ = static_cast<int>(percent)));
    }

private:
    UtilityClasses::XML::AUserProgressNotifier& target_;
    int last_ = -1;
};

// Percentages passed on to the tools, which show them in the wizard or the terminal.
class AToolsProgress final : public UtilityClasses::XML::AUserProgressNotifier {
public:
    explicit AToolsProgress(APluginTools* tools) : tools_(tools) {}
    void Notify(unsigned percent) override
    {
        if (tools_)
            tools_->SetProgress(percent);
    }

private:
    APluginTools* tools_;
};

}  // namespace ExportImport::FileTypeExcel
