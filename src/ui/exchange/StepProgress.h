// The page of a running export, read or save: "Выполняется:" with the current operation, the
// bar, and at the end the result's icon and text. The engine runs on this thread (it is not
// made for others), so the page paints itself whenever the bar moves.
#pragma once
#include "win32api/AWizard.h"

#include "ui/exchange/ExchangeModel.h"

#include <QElapsedTimer>

#include <functional>

namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Exchange {

class AWizardStepProgress final : public AWizard::AWizardStep, public ExportImport::AProgressDisplay {
public:
    // `run` does the work when the page is entered and says what the result page shows;
    // `after` then sets the buttons.
    using ARun = std::function<ExportImport::Wizards::ARunResult()>;
    using AAfter = std::function<void(AWizard&)>;

    AWizardStepProgress(const AProgramContext& context, int titleId, int subtitleId, ARun run, AAfter after);

    // The page is passed by while `skipped` answers true (always shown without one).
    void SetSkipped(std::function<bool()> skipped) { skipped_ = std::move(skipped); }
    bool IsSkipped(const AWizard&) const override { return skipped_ && skipped_(); }
    void OnEnter(AWizard& wizard) override;

    void ShowCaption(std::u16string_view caption) override;
    void ShowPercent(unsigned percent) override;
    void KeepAlive() override { Pump(false); }

    int Percent() const;
    // How many times the page painted its bar during the last run; the longest wait between two.
    int Repaints() const { return repaints_; }
    qint64 LongestPaintGapMs() const { return longestGap_; }

private:
    void Pump(bool force);

    const AProgramContext& context_;
    ARun run_;
    AAfter after_;
    std::function<bool()> skipped_;
    QElapsedTimer sincePaint_;
    int repaints_ = 0;
    qint64 longestGap_ = 0;
};

// Where a wizard's session reports: the progress page of the run under way. The session is
// made before the pages, so it is handed this.
class AProgressRelay final : public ExportImport::AProgressDisplay {
public:
    void ShowCaption(std::u16string_view caption) override
    {
        if (target)
            target->ShowCaption(caption);
    }
    void ShowPercent(unsigned percent) override
    {
        if (target)
            target->ShowPercent(percent);
    }
    void KeepAlive() override
    {
        if (target)
            target->KeepAlive();
    }
    AWizardStepProgress* target = nullptr;
};

}  // namespace UserInterface::Exchange
